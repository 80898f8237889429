// Where the mixed sound goes: a sound card, nothing, or a WAV file. An output pulls frames
// from the mixer on its own thread (or, for the hand-stepped null output, on the test's).
#pragma once

class TAudioMixer;

class TAudioOutput {
 public:
  virtual ~TAudioOutput() = default;
  // Begins pulling from `mixer`; false when the output cannot run here.
  virtual bool Start(TAudioMixer* mixer) = 0;
  // Stops pulling; no Mix call runs after it returns.
  virtual void Stop() = 0;
};
