// The front-end screens on the headless display: the game's packed content (art, fonts,
// compiled layouts, strings) mounted beside the test's own loose files, an 800 x 600 root
// screen, the window script with the screens' window types and the profile service's
// functions, the profile service over a private preferences store, and a sound manager on
// the hand-stepped null output. Screens open as the game opens them (a layout run in a
// modal window, or a dialog); input and ticks go through the window manager.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "game/frontend/TMainMenu.h"
#include "game/frontend/TMetaMap.h"
#include "game/shell/MenuMusic.h"
#include "game/shell/ScriptModal.h"
#include "game/shell/TGameSettings.h"
#include "tests/render/DisplayFixture.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/audio/TAudioDevice.h"
#include "tvlib/platform/audio/TManualAudioOutput.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class ScreenTest : public DisplayTest {
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
    auto* screen = new TScreen;
    Manager().SetRootWindow(screen);
    platform->InitDisplay(kWidth, kHeight, false);
    screen->SetSize(kWidth, kHeight);  // as the start-up leaves it: dialogs centre on it
    platform->GetStringTable()->Load("strings.xml");
    Manager().AttachScript(new TWindowScript());
    Manager().SetLocalizeLabels(true);
    Script().RegisterWindowType("MainMenu", &TMainMenu::Create);
    Script().RegisterWindowType("MetaMap", &TMetaMap::Create);
    TGameSettings::Recreate();
  }
  void TearDown() override {
    // Windows holding script values go before the script, the music before the sounds.
    while (Manager().GetModalStack().size() > 1) Manager().PopModal();
    Manager().DeletePending();
    Manager().AttachScript(nullptr);
    TGameSettings::Destroy();
    ReleaseMenuMusic();
    DisplayTest::TearDown();
  }

  TWindowManager& Manager() { return *data->windowManager; }
  TWindowScript& Script() { return *Manager().GetWindowScript(); }
  TPrefs& Prefs() { return *TGameSettings::Get()->GetPrefs(); }
  int Player() { return TGameSettings::Get()->GetCurrentUserIndex(); }
  void SetPlayerInt(const char* key, int value) { Prefs().SetInt(key, value, Player(), false); }
  void SetCheatMode(bool on) { platform->SetSetting("cheatmode", on ? "1" : "0"); }

  // Writes a loose file below the assets folder (found before the package's) and indexes it.
  void PutAsset(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::path(dir / "assets") / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    Mount();
  }

  // A layout run in a modal window of its own, as the main script opens the menu.
  TModalWindow* OpenScreen(const char* script) {
    OpenScriptModal(script);
    return Manager().GetTopModal();
  }
  // A layout opened as a dialog, as screens open maps and levels.
  TModalWindow* OpenDialog(const char* script) {
    return Manager().PushDialog(script, "", "", script);
  }
  TString TopName() {
    TModalWindow* top = Manager().GetTopModal();
    return top ? top->GetName() : TString();
  }
  template <class T>
  T* Find(const char* name) {
    TModalWindow* top = Manager().GetTopModal();
    return top ? dynamic_cast<T*>(top->FindChild(name, -1)) : nullptr;
  }
  // Runs a line in the window script; its global `result` read back as a number or text.
  double LuaNumber(const std::string& expression) {
    Script().DoLuaString(("result = " + expression).c_str());
    return Script().GetGlobalNumber("result");
  }
  TString LuaString(const std::string& expression) {
    Script().DoLuaString(("result = " + expression).c_str());
    return Script().GetGlobalString("result");
  }

  // Moves the clock and runs one tick of the window manager: the top window's tasks, its
  // messages and a frame.
  void Tick(uint32_t ms = 16) {
    clock.now += ms;
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);
  }
  void Key(int key, uint32_t modifiers) {
    TPlatformEvent down{kEventKeyDown, static_cast<uint32_t>(key), 0, 0, modifiers};
    Manager().HandleEvent(&down);
  }
  void Click(int x, int y) {
    TPlatformEvent down{kEventLeftDown, 0, x, y, 0};
    Manager().HandleEvent(&down);
    TPlatformEvent up{kEventLeftUp, 0, x, y, 0};
    Manager().HandleEvent(&up);
  }
  // The frame shown, 0xRRGGBB at (x, y).
  uint32_t Shown(int x, int y) { return presenter->Pixel(x, y) & 0xFFFFFFu; }
};
