// The spooler of every sound: 16-bit PCM from the sound's decoded buffer (position in bytes)
// or from its shared decoder (position in frames, sought to before each read so that
// instances of one sound keep their own places). Wrapping for loops is a loop, not a
// recursion, so even a sound of a few samples fills a whole half at once.
#pragma once

#include "tvlib/media/TStreamSpooler.h"

class TSoundData;

class TMemSpooler : public TStreamSpooler {
 public:
  explicit TMemSpooler(TSoundData* data) : mData(data) {}
  bool Fill(int bytes, void* dest, int* got, bool loop) override;

 private:
  // Delivers up to `bytes` from the current position; true when the data ended first.
  bool Read(int bytes, char* dest, int* got);
  void Rewind();

  TSoundData* mData;
  long long mPosition = 0;
};
