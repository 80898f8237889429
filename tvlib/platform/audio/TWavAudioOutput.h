// An output that writes what is mixed, in real time, to a 44100 Hz stereo 16-bit WAV file,
// for listening and measuring on machines without a sound card. The header's sizes are
// written when the output stops; a file that cannot be created fails Start.
#pragma once

#include <cstdio>
#include <string>

#include "tvlib/platform/audio/TPacedAudioOutput.h"

class TWavAudioOutput : public TPacedAudioOutput {
 public:
  explicit TWavAudioOutput(std::string path) : mPath(std::move(path)) {}
  ~TWavAudioOutput() override;
  bool Start(TAudioMixer* mixer) override;
  void Stop() override;

 protected:
  void Consume(const int16_t* samples, int frames) override;

 private:
  void WriteHeader();

  std::string mPath;
  std::FILE* mFile = nullptr;
  uint32_t mDataBytes = 0;
};
