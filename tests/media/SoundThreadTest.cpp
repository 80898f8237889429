// The sound manager with its real thread: starting after a failed start makes no second
// thread, shutdown joins it, and a 1 s tone played through the WAV output comes out at its
// level and length.
#include <gtest/gtest.h>

#include <dirent.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <thread>

#include "tests/media/SoundFixture.h"
#include "tests/support/TempDir.h"
#include "tvlib/platform/audio/TWavAudioOutput.h"

namespace {

int ThreadCount() {
  int count = 0;
  DIR* tasks = opendir("/proc/self/task");
  while (dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
  closedir(tasks);
  return count;
}

TEST(SoundThread, StartingAgainAfterAFailedStartMakesNoSecondThread) {
  // A thread made and joined first, so that helper threads a sanitizer starts with the first
  // thread are already counted.
  std::thread([] {}).join();
  const int before = ThreadCount();
  int opened = 0;
  {
    TSoundManager manager([&opened]() -> std::unique_ptr<TAudioDevice> {
      ++opened;
      return nullptr;
    });
    EXPECT_FALSE(manager.Init());
    EXPECT_EQ(ThreadCount(), before + 1);
    EXPECT_FALSE(manager.Init());
    EXPECT_FALSE(manager.Init());
    EXPECT_EQ(ThreadCount(), before + 1);
    EXPECT_EQ(opened, 3);
  }
  // The destructor joined the thread.
  EXPECT_EQ(ThreadCount(), before);
}

TEST(SoundThread, AToneThroughTheWavOutputHasItsLevelAndLength) {
  TTempDir dir;
  const std::string path = dir / "out.wav";
  const float level = 0.5f;
  const std::string ogg = ToneOgg(1.0, 44100, 1, level);
  {
    TAssetManager assets;
    TPlatformData data;
    TAppPlatform platform(&data);
    data.soundManager = std::make_unique<TSoundManager>(
        [&path] { return TAudioDevice::Open(std::make_unique<TWavAudioOutput>(path)); });
    TSoundManager* manager = data.soundManager.get();
    ASSERT_TRUE(manager->Init());
    auto sound = std::make_shared<TSound>();
    ASSERT_TRUE(
        sound->GetData().OpenMemory(reinterpret_cast<const uint8_t*>(ogg.data()), ogg.size()));
    ASSERT_EQ(sound->Play(false), 0);
    // The UI thread's part until the sound thread has handed the finished stream back.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!sound->GetData().mHandles.empty() && std::chrono::steady_clock::now() < give_up) {
      manager->Update();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(sound->GetData().mHandles.empty());
    sound.reset();
    data.soundManager.reset();
  }
  std::ifstream in(path, std::ios::binary);
  std::string wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(wav.size(), 44u);
  uint32_t dataBytes;
  std::memcpy(&dataBytes, wav.data() + 40, 4);
  ASSERT_EQ(dataBytes, wav.size() - 44);
  std::vector<int16_t> samples((wav.size() - 44) / 2);
  std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
  // The tone's frames: from the first to the last loud enough to be it.
  size_t first = samples.size();
  size_t last = 0;
  for (size_t i = 0; i < samples.size(); i += 2) {
    if (std::abs(samples[i]) > 200) {
      first = std::min(first, i / 2);
      last = i / 2;
    }
  }
  ASSERT_LT(first, last);
  EXPECT_NEAR(double(last - first + 1), 44100.0, 20.0);
  double power = 0;
  for (size_t f = first; f <= last; ++f) power += double(samples[2 * f]) * samples[2 * f];
  const double rms = std::sqrt(power / double(last - first + 1)) / 32768.0;
  EXPECT_NEAR(rms, level / std::sqrt(2.0), 0.02);
}

}  // namespace
