// The audio device: a mixer and the output it plays through. Buffers are made here and must
// be released before the device; the device stops its output before the mixer goes.
#pragma once

#include <memory>

#include "tvlib/platform/audio/TAudioMixer.h"
#include "tvlib/platform/audio/TAudioOutput.h"

class TAudioDevice {
 public:
  // Null when the output does not start.
  static std::unique_ptr<TAudioDevice> Open(std::unique_ptr<TAudioOutput> output);
  ~TAudioDevice();
  TAudioDevice(const TAudioDevice&) = delete;
  TAudioDevice& operator=(const TAudioDevice&) = delete;

  // See TAudioMixer::CreateBuffer; also null while a test's failure count lasts.
  std::unique_ptr<TAudioBuffer> CreateBuffer(int rate, int channels, int bytes);
  // Fault hook for tests: the next `count` CreateBuffer calls answer null.
  void FailNextBuffers(int count) { mFailures = count; }
  TAudioOutput* GetOutput() { return mOutput.get(); }

 private:
  explicit TAudioDevice(std::unique_ptr<TAudioOutput> output);

  TAudioMixer mMixer;
  std::unique_ptr<TAudioOutput> mOutput;
  int mFailures = 0;
};
