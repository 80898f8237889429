// The WAV file output: a RIFF header, then the mixed frames as they come.
#include "tvlib/platform/audio/TWavAudioOutput.h"

#include <cstring>

#include "tvlib/platform/audio/TAudioMixer.h"

namespace {

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

void PutU16(uint8_t* at, uint16_t value) {
  at[0] = uint8_t(value);
  at[1] = uint8_t(value >> 8);
}

}  // namespace

TWavAudioOutput::~TWavAudioOutput() {
  Stop();
}

bool TWavAudioOutput::Start(TAudioMixer* mixer) {
  if (!mFile) {
    mFile = std::fopen(mPath.c_str(), "wb");
    if (!mFile) return false;
    mDataBytes = 0;
    WriteHeader();
  }
  return TPacedAudioOutput::Start(mixer);
}

void TWavAudioOutput::Stop() {
  TPacedAudioOutput::Stop();
  if (!mFile) return;
  WriteHeader();
  std::fclose(mFile);
  mFile = nullptr;
}

void TWavAudioOutput::Consume(const int16_t* samples, int frames) {
  // Samples are written little-endian, as the machines this runs on store them.
  size_t bytes = size_t(frames) * TAudioMixer::kChannels * 2;
  if (mDataBytes + bytes > 0xFFFFFF00u) return;
  mDataBytes += uint32_t(std::fwrite(samples, 1, bytes, mFile));
}

void TWavAudioOutput::WriteHeader() {
  const uint16_t block = TAudioMixer::kChannels * 2;
  uint8_t header[44];
  std::memcpy(header, "RIFF", 4);
  PutU32(header + 4, 36 + mDataBytes);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  PutU32(header + 16, 16);
  PutU16(header + 20, 1);
  PutU16(header + 22, TAudioMixer::kChannels);
  PutU32(header + 24, TAudioMixer::kRate);
  PutU32(header + 28, TAudioMixer::kRate * block);
  PutU16(header + 32, block);
  PutU16(header + 34, 16);
  std::memcpy(header + 36, "data", 4);
  PutU32(header + 40, mDataBytes);
  std::fseek(mFile, 0, SEEK_SET);
  std::fwrite(header, 1, sizeof header, mFile);
  std::fseek(mFile, 0, SEEK_END);
}
