// The screens the menu opens (options, players, credits, pause) on the headless display: the game's
// packed content (art, fonts, compiled layout scripts, strings) mounted from the build's game
// folder, an 800 x 600 root screen with the text rasteriser, the window script with the screens'
// window types, the profile service over a private preferences store, and a sound manager on the
// hand-stepped null output, so that plays are counted and group volumes read back. Input goes
// through the window manager as the platform hands it.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <string>

#include "game/frontend/TChoosePlayer.h"
#include "game/frontend/TCredits.h"
#include "game/frontend/TEnterName.h"
#include "game/frontend/TOptions.h"
#include "game/frontend/TPauseMenu.h"
#include "game/frontend/TSlider.h"
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

class MenuScreenTest : public DisplayTest {
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
    MakeDisplay();
    data->soundManager = std::make_unique<TSoundManager>(
        [] { return TAudioDevice::Open(std::make_unique<TManualAudioOutput>()); }, false);
    data->soundManager->Init();
    screen = new TScreen;
    const float cream[4] = {0.93f, 0.89f, 0.82f, 1.0f};
    screen->SetFill(true, cream);
    Manager().SetRootWindow(screen);
    platform->InitDisplay(kWidth, kHeight, false);
    screen->SetSize(kWidth, kHeight);  // dialogs centre themselves in it
    platform->GetStringTable()->Load("strings.xml");
    Manager().AttachScript(new TWindowScript());
    Manager().SetLocalizeLabels(true);  // as the start-up does once the strings load
    for (auto [name, create] : {std::pair{"OptionsWindow", &TOptions::Create},
                                {"Slider", &TSlider::Create},
                                {"ChoosePlayerWindow", &TChoosePlayer::Create},
                                {"CreditsWindow", &TCredits::Create},
                                {"EnterNameWindow", &TEnterName::Create},
                                {"PauseMenu", &TPauseMenu::Create}}) {
      Script().RegisterWindowType(name, create);
    }
    TGameSettings::Recreate();
  }
  void TearDown() override {
    if (HasFailure()) std::cout << "The debug log:\n" << Log() << "\n";
    // Windows holding script values go before the script.
    while (Manager().GetModalStack().size() > 1) Manager().PopModal();
    Manager().DeletePending();
    Manager().AttachScript(nullptr);
    TGameSettings::Destroy();
    DisplayTest::TearDown();
  }

  // The display the screens draw on: the headless presenter.
  virtual void MakeDisplay() { MakeHandler(); }

  TWindowManager& Manager() { return *data->windowManager; }
  TWindowScript& Script() { return *Manager().GetWindowScript(); }
  TGameSettings& Settings() { return *TGameSettings::Get(); }
  TPrefs& Prefs() { return *Settings().GetPrefs(); }
  TSoundManager& Sound() { return *data->soundManager; }
  void Lua(const std::string& code) { Script().DoLuaString(code.c_str()); }

  // Opens a layout script as the menus open their screens: a modal window running it.
  TModalWindow* Open(const char* script) { return Manager().PushDialog(script, "", "", script); }
  template <class T>
  T* Find(const char* name) {
    TModalWindow* top = Manager().GetTopModal();
    return top ? dynamic_cast<T*>(top->FindChild(name, -1)) : nullptr;
  }
  TButton* Button(const char* name) { return Find<TButton>(name); }
  static bool Shows(TWindow* window) { return window && window->IsVisible(); }

  // One platform event through the window manager, at a point of the screen.
  void Send(uint32_t type, int x = 0, int y = 0, uint32_t param = 0, uint32_t param2 = 0) {
    TPlatformEvent event;
    MakePlatformEvent(&event, type, x, y, param, param2);
    Manager().HandleEvent(&event);
    Manager().DrainQueue();
  }
  // Characters as the platform hands them, one code point each.
  void Type(std::initializer_list<uint32_t> codes) {
    for (uint32_t code : codes) Send(kEventChar, 0, 0, code);
  }
  // A left click in the middle of the window.
  void Click(TWindow* window) {
    const TRect r = window->GetScreenRect();
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    Send(kEventMouseMove, x, y);
    Send(kEventLeftDown, x, y);
    Send(kEventLeftUp, x, y);
  }
  // Moves the clock and runs one tick of the window manager: the top window's tasks, its
  // messages and a frame.
  void Tick(uint32_t ms) {
    clock.now += ms;
    Send(kEventTick);
  }
  // Runs the window script's message loop, so that button commands run as in the game.
  void WaitForCommands() {
    Script().DoLuaString("return function() while true do WaitForMessage() end end");
  }
  // Successful plays of a sound effect so far.
  int Plays(const char* sound) {
    std::shared_ptr<TSound> effect = TSound::Get(sound, true, TSoundManager::kGroupEffects);
    return effect ? effect->GetData().mNextHandle : -1;
  }
  // Draws the whole frame and writes it as `name` in the test's folder.
  void Frame(const std::string& name) {
    Manager().RequestFullRedraw();
    Tick(16);
    ASSERT_TRUE(WriteFramePng(name, kWidth, kHeight, Shown())) << name;
  }
  // The frame shown, 0xRRGGBB.
  TFramePixel Shown() {
    return [this](int x, int y) { return presenter->Pixel(x, y) & 0xFFFFFFu; };
  }

  TScreen* screen = nullptr;
};
