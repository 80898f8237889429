// Test set-up for special effects: the platform's data block (assets, string table) without a
// display, assets and the log in a temporary folder, an engine clock that stands still until a
// test runs it, and an effect list that the clock drives as a level does: every frame the list
// is updated with the seconds the engine clock moved.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/fx/TEffectParams.h"
#include "game/fx/TSpecialEffect.h"
#include "game/fx/TSpecialEffectList.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPlatformData.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"

class EffectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.Path() / "assets" / "fx");
    SetLogDirectory(dir.Path().c_str());
    SetProgramFolder(dir.Path().c_str());
    Mount();
    mLastFrame = ClockMilliseconds();
  }
  void Mount() {
    ClearFileIndex();
    MountFileSystem();
  }
  // Writes a file below the assets folder and indexes it.
  void PutFile(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = dir.Path() / "assets" / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    Mount();
  }
  int Load(const std::string& text, const TEffectParams* params = nullptr) {
    return list.LoadFromMemory(text.data(), text.size(), params);
  }
  // The one effect a file of one entry made.
  TSpecialEffect* LoadOne(const std::string& entry, const TEffectParams* params = nullptr) {
    return list.Find(Load("sfx_list = { " + entry + " }", params));
  }
  // Runs the engine clock for `ms`, one frame every `frameMs`, updating the list each frame
  // with the seconds the clock moved since the last one.
  void Run(int ms, int frameMs = 10) {
    for (int t = 0; t < ms; t += frameMs) {
      clock.now += static_cast<uint32_t>(frameMs);
      const uint32_t now = ClockMilliseconds();
      list.Update(static_cast<float>(now - mLastFrame) / 1000.0f);
      mLastFrame = now;
    }
  }
  bool Logged(const std::string& text) {
    return ReadWholeFile(dir / "logfile.txt").find(text) != std::string::npos;
  }

  TTempDir dir;
  TFakeClock clock{70000};
  TPlatformData data;
  TAppPlatform platform{&data};
  TSpecialEffectList list;

 private:
  uint32_t mLastFrame = 0;
};
