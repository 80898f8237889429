// The data source of one sound stream: 16-bit PCM in the sound's own format, delivered a
// buffer half at a time.
#pragma once

class TStreamSpooler {
 public:
  virtual ~TStreamSpooler() = default;
  // Zeroes `bytes` at `dest` and fills as much as the data gives, wrapping to the start when
  // `loop` is set; `*got` is the count delivered. False when the data ended without `loop`
  // (or the data is empty).
  virtual bool Fill(int bytes, void* dest, int* got, bool loop) = 0;
};
