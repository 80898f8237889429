// The headless level harness, shared by every test of the level:
//   - the display: the headless presenter (no window system) under the real display handler,
//     so textures load from the game's packed art with their real pixel sizes and hit tests
//     and bounds work as in the game;
//   - the sound: a sound manager on the hand-stepped null output; Plays(file) reads how often
//     a sound was started, the level's log of what played;
//   - the clock: the platform clock stands still until the test moves it; RunTicks(n) moves it
//     by 20 ms n times and runs the window manager's tick each time (the top modal window's
//     tasks, so the level's task, then its messages and a frame);
//   - input: Click, Press, Move and Release send engine events through the window manager, as
//     the game loop does; Key sends a key press;
//   - frames: Frame(name) draws the screen and writes it as a PNG beside the test's output;
//   - content: the game's packed art, fonts, strings and scripts, with the test's own loose
//     files over them: level scripts from tests/data/level (PutFixture) or written inline
//     (PutAsset), the profile service on a private preferences store.
// StartLevel opens a level script as the game does and answers its level window.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/level/LevelAssets.h"
#include "game/level/TGameLevel.h"
#include "game/level/TSelectionDialog.h"
#include "game/level/TUpgradeDialog.h"
#include "game/shell/LevelLaunch.h"
#include "game/shell/TGameSettings.h"
#include "tests/render/DisplayFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/audio/TAudioDevice.h"
#include "tvlib/platform/audio/TManualAudioOutput.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class LevelTest : public DisplayTest {
 protected:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  void SetUp() override {
    DisplayTest::SetUp();
    std::filesystem::create_directories(dir / "user");
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
    for (const char* package : {"festravask.tvp", "fonts.tvp"}) {
      std::filesystem::create_symlink(std::string(TV_GAME_DIR) + "/assets/" + package,
                                      std::filesystem::path(dir / "assets") / package);
    }
    Mount();
    MakeHandler();
    data->soundManager = std::make_unique<TSoundManager>(
        [] { return TAudioDevice::Open(std::make_unique<TManualAudioOutput>()); }, false);
    data->soundManager->Init();
    screen = new TScreen;
    Manager().SetRootWindow(screen);
    platform->InitDisplay(kWidth, kHeight, false);
    screen->SetSize(kWidth, kHeight);
    platform->GetStringTable()->Load("strings.xml");
    Manager().AttachScript(new TWindowScript());
    Manager().SetLocalizeLabels(true);
    Script().RegisterWindowType("GameWindow", &TGameLevel::Create);
    Script().RegisterWindowType("SelectionDialog", &TSelectionDialog::Create);
    Script().RegisterWindowType("UpgradeDialog", &TUpgradeDialog::Create);
    TGameSettings::Recreate();
    platform->SetSetting(TGameLevel::kSeedSetting, "1");
  }
  void TearDown() override {
    while (Manager().GetModalStack().size() > 1) Manager().PopModal();
    Manager().DeletePending();
    Manager().AttachScript(nullptr);
    TGameSettings::Destroy();
    DisplayTest::TearDown();
  }

  TWindowManager& Manager() { return *data->windowManager; }
  TWindowScript& Script() { return *Manager().GetWindowScript(); }
  TPrefs& Prefs() { return *TGameSettings::Get()->GetPrefs(); }

  // Writes a loose file below the assets folder (found before the package's) and indexes it.
  void PutAsset(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::path(dir / "assets") / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    Mount();
  }
  // A committed fixture of tests/data/level as a loose asset.
  void PutFixture(const std::string& fixture, const std::string& name) {
    PutAsset(name, ReadWholeFile(std::string(TV_TEST_DATA) + "/level/" + fixture));
  }

  // Opens the level script as the venue map does; the level window it built, or null.
  TGameLevel* StartLevel(const std::string& script) {
    if (!OpenLevelScript(script.c_str())) return nullptr;
    TModalWindow* top = Manager().GetTopModal();
    return top ? dynamic_cast<TGameLevel*>(top->FindChild("GameWindow", -1)) : nullptr;
  }
  // A fixture level script under its game name, opened and loaded through its ten steps.
  TGameLevel* StartLoaded(const std::string& fixture, const std::string& name) {
    PutFixture(fixture, name);
    TGameLevel* level = StartLevel(name);
    if (level) RunTicks(TGameLevel::kLastLoadStep + 1);
    return level;
  }

  // One tick of the window manager after moving the clock by `ms`.
  void Tick(uint32_t ms) {
    clock.now += ms;
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);
  }
  // n level ticks of 20 ms.
  void RunTicks(int n) {
    for (int i = 0; i < n; ++i) Tick(TGameLevel::kTickMs);
  }

  void Send(uint32_t type, int x, int y, uint32_t param = 0) {
    TPlatformEvent event{type, param, x, y, 0};
    Manager().HandleEvent(&event);
  }
  void Press(int x, int y) { Send(kEventLeftDown, x, y); }
  void Move(int x, int y) { Send(kEventMouseMove, x, y); }
  void Release(int x, int y) { Send(kEventLeftUp, x, y); }
  void Click(int x, int y) {
    Move(x, y);
    Press(x, y);
    Release(x, y);
  }
  // A press at one point, a move and a release at another.
  void Drag(int fromX, int fromY, int toX, int toY) {
    Move(fromX, fromY);
    Press(fromX, fromY);
    Move(toX, toY);
    Release(toX, toY);
  }
  // Runs the window script's message loop, so that button commands run as in the game.
  void WaitForCommands() {
    Script().DoLuaString("return function() while true do WaitForMessage() end end");
  }
  void Key(int key) { Send(kEventKeyDown, 0, 0, static_cast<uint32_t>(key)); }

  // How often the sound was started so far (the level keeps its sounds while it lives).
  int Plays(const char* sound, bool inMemory = true) {
    const TString file = ResolveAssetName(sound, TAssetKind::kSound);
    std::shared_ptr<TSound> effect =
        TSound::Get(file.c_str(), inMemory,
                    inMemory ? TSoundManager::kGroupEffects : TSoundManager::kGroupMusic);
    return effect ? effect->GetData().mNextHandle : -1;
  }

  // Draws a whole frame and writes it as `name` in the test's folder, for looking at.
  void Frame(const std::string& name) {
    Manager().RequestFullRedraw();
    Manager().DrawAll();
    ASSERT_TRUE(WriteFramePng(name, kWidth, kHeight, [this](int x, int y) {
      return presenter->Pixel(x, y) & 0xFFFFFFu;
    })) << name;
  }

  TScreen* screen = nullptr;
};
