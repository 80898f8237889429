// Every sound in the sound manifest is in the built asset package, decodes at 44.1 kHz, has
// its listed length, stays below full scale, and, where it loops, joins its end to its start
// without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/assets/ManifestRows.h"
#include "tests/support/MountedGameFolder.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/media/TMemSpooler.h"
#include "tvlib/media/TSoundData.h"

namespace {

struct ManifestEntry {
  std::string path;
  bool loops = false;
  double seconds = 0;
};

std::vector<ManifestEntry> ReadManifest() {
  std::vector<ManifestEntry> entries;
  for (const auto& f : ReadManifestRows(TV_SOURCE_DIR "/tools/sound/manifest.csv", 4))
    entries.push_back({f[0], f[2] == "loop", std::strtod(f[3].c_str(), nullptr)});
  return entries;
}

struct DecodedSound {
  long rate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved
  size_t Frames() const { return channels ? samples.size() / channels : 0; }
};

// Decodes through the engine's own path: the sound data opened from memory and its spooler.
bool Decode(const std::string& bytes, DecodedSound* out) {
  TSoundData data;
  if (!data.OpenMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return false;
  out->rate = data.mSampleRate;
  out->channels = data.mChannels;
  TMemSpooler spooler(&data);
  std::vector<int16_t> block(44100);
  int got = 0;
  bool more = true;
  while (more) {
    more = spooler.Fill(int(block.size() * 2), block.data(), &got, false);
    out->samples.insert(out->samples.end(), block.begin(), block.begin() + got / 2);
  }
  return true;
}

class SoundAssets : public ::testing::Test {
 protected:
  TMountedGameFolder mGame;
};

TEST_F(SoundAssets, EveryManifestEntryDecodesAtItsLengthBelowFullScale) {
  std::vector<ManifestEntry> entries = ReadManifest();
  ASSERT_GE(entries.size(), 25u);
  for (const ManifestEntry& entry : entries) {
    SCOPED_TRACE(entry.path);
    std::string bytes;
    ASSERT_TRUE(FileReadAll(("assets/" + entry.path).c_str(), 0, 16 << 20, &bytes));
    DecodedSound sound;
    ASSERT_TRUE(Decode(bytes, &sound));
    EXPECT_EQ(sound.rate, 44100);
    double seconds = double(sound.Frames()) / 44100;
    EXPECT_NEAR(seconds, entry.seconds, entry.seconds * 0.05);
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32767);
  }
}

TEST_F(SoundAssets, LoopsJoinWithoutAStepLargerThanTheirOrdinaryChange) {
  for (const ManifestEntry& entry : ReadManifest()) {
    if (!entry.loops) continue;
    SCOPED_TRACE(entry.path);
    std::string bytes;
    ASSERT_TRUE(FileReadAll(("assets/" + entry.path).c_str(), 0, 16 << 20, &bytes));
    DecodedSound sound;
    ASSERT_TRUE(Decode(bytes, &sound));
    const int c = sound.channels;
    ASSERT_GT(sound.Frames(), 2u);
    std::vector<int> steps;
    for (size_t i = c; i < sound.samples.size(); ++i)
      steps.push_back(std::abs(sound.samples[i] - sound.samples[i - c]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    const int ordinary = steps[steps.size() * 99 / 100];
    const size_t last = sound.samples.size() - c;
    for (int ch = 0; ch < c; ++ch)
      EXPECT_LE(std::abs(sound.samples[ch] - sound.samples[last + ch]), ordinary)
          << "channel " << ch;
  }
}

}  // namespace
