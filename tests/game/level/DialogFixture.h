// The level's dialogs on the headless display: the game's packed content (art, fonts,
// compiled scripts, strings) mounted from the build's game folder beside the test's own loose
// files, an 800 x 600 root screen with the text rasteriser, the window script with the
// dialogs' window types, the profile service over a private preferences store, and a sound
// manager on the hand-stepped null output, so that plays are counted. Until the level's own
// harness is there, a plain modal window stands in for the level under a dialog.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/level/TSelectionDialog.h"
#include "game/level/TUpgradeDialog.h"
#include "game/shell/TGameSettings.h"
#include "tests/render/DisplayFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/audio/TAudioDevice.h"
#include "tvlib/platform/audio/TManualAudioOutput.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class DialogTest : public DisplayTest {
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
    const float cream[4] = {0.93f, 0.89f, 0.82f, 1.0f};
    screen->SetFill(true, cream);
    Manager().SetRootWindow(screen);
    platform->InitDisplay(kWidth, kHeight, false);
    platform->GetStringTable()->Load("strings.xml");
    Manager().AttachScript(new TWindowScript());
    Manager().SetLocalizeLabels(true);  // as the start-up does once the strings load
    Script().RegisterWindowType("SelectionDialog", &TSelectionDialog::Create);
    Script().RegisterWindowType("UpgradeDialog", &TUpgradeDialog::Create);
    TGameSettings::Recreate();
  }
  void TearDown() override {
    // Windows holding script values go before the script.
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

  // A modal window standing for the level the dialogs open over.
  TModalWindow* PushLevel() {
    auto* level = new TModalWindow;
    level->SetName("level");
    level->SetSize(kWidth, kHeight);
    Manager().PushModal(level);
    return level;
  }
  // Opens a layout script as the level opens its dialogs: a modal dialog running it.
  TModalWindow* OpenDialog(const char* script) {
    return Manager().PushDialog(script, "", "", script);
  }
  template <class T>
  T* Find(const char* name) {
    TModalWindow* top = Manager().GetTopModal();
    return top ? dynamic_cast<T*>(top->FindChild(name, -1)) : nullptr;
  }
  TButton* Button(const char* name) { return Find<TButton>(name); }

  // Moves the clock and runs one tick of the window manager: the top window's tasks, its
  // messages and a frame.
  void Tick(uint32_t ms) {
    clock.now += ms;
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);
  }
  // Runs the window script's message loop, so that button commands run as in the game.
  void WaitForCommands() {
    Script().DoLuaString("return function() while true do WaitForMessage() end end");
  }

  // Successful plays of a sound effect so far (the dialogs keep their sounds while they live).
  int Plays(const char* sound) {
    std::shared_ptr<TSound> effect = TSound::Get(sound, true, TSoundManager::kGroupEffects);
    return effect ? effect->GetData().mNextHandle : -1;
  }
  // The frame shown, 0xRRGGBB.
  TFramePixel Shown() {
    return [this](int x, int y) { return presenter->Pixel(x, y) & 0xFFFFFFu; };
  }

  TScreen* screen = nullptr;
};
