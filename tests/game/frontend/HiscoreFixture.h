// The hiscore screens on the headless display: the game's packed content (art, fonts,
// compiled scripts, strings) mounted from the build's game folder, an 800 x 600 root screen,
// the window script with the "HiscoreWindow" type, the profile service over a private
// preferences store with the player "Velka", and a hiscore service whose online answers the
// test scripts (ScriptedHiscores.h).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "game/frontend/THiscore.h"
#include "game/frontend/THiscoreSubmit.h"
#include "game/shell/TGameSettings.h"
#include "tests/game/frontend/ScriptedHiscores.h"
#include "tests/render/DisplayFixture.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextEdit.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class HiscoreTest : public DisplayTest {
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
    Prepare();
  }
  // The display and the screen's services, once the folders are in place.
  void Prepare() {
    if (!handler) MakeHandler();
    screen = new TScreen;
    const float cream[4] = {0.93f, 0.89f, 0.82f, 1.0f};
    screen->SetFill(true, cream);
    Manager().SetRootWindow(screen);
    platform->InitDisplay(kWidth, kHeight, false);
    platform->GetStringTable()->Load("strings.xml");
    Manager().AttachScript(new TWindowScript());
    Manager().SetLocalizeLabels(true);
    Manager().AddWindowType("HiscoreWindow", &THiscore::Create);
    TGameSettings::Recreate();
    Settings().CreateNewUser("Velka");
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
  TGameSettings& Settings() { return *TGameSettings::Get(); }

  // Puts the scripted service in place of the real one; it is the profile service's.
  TScriptedHiscores& Scripted() {
    auto owned = std::make_unique<TScriptedHiscores>(data->settings);
    service = owned.get();
    Settings().UseHiscores(std::move(owned));
    return *service;
  }
  // Local scores of the current player in the current game mode.
  void AddLocalScores(std::initializer_list<int> scores) {
    for (int score : scores) Settings().GetHiscores()->AddLocalScore(score, false, "", nullptr);
  }

  // Opens the hiscore screen as the menu does: a modal window running its script.
  THiscore* Open() {
    auto* modal = new TModalWindow;
    modal->SetName("scripts/hiscore.lua");
    Manager().PushModal(modal);
    Manager().RunWindowScript(modal, "scripts/hiscore.lua");
    hiscore = dynamic_cast<THiscore*>(modal->FindChild("hiscore", -1));
    return hiscore;
  }
  template <class T>
  T* Find(const char* name) {
    TModalWindow* top = Manager().GetTopModal();
    return top ? dynamic_cast<T*>(top->FindChild(name, -1)) : nullptr;
  }
  TText* Text(const char* name) { return Find<TText>(name); }
  TString TextOf(const char* name) {
    TText* text = Text(name);
    return text ? text->GetText() : TString("(none)");
  }
  // Whether the named window of the top screen is there and shows.
  bool Shows(const char* name) {
    TWindow* window = Find<TWindow>(name);
    return window && window->IsVisible();
  }
  // Presses the named button of the top screen as a click does, and delivers its message.
  void Click(const char* name) {
    TButton* button = Find<TButton>(name);
    ASSERT_NE(button, nullptr) << name;
    button->Fire();
    Manager().DrainQueue();
  }
  // Clicks the middle of the named window of the top screen with the mouse.
  void MouseClick(const char* name) {
    TWindow* window = Find<TWindow>(name);
    ASSERT_NE(window, nullptr) << name;
    const TRect rect = window->GetScreenRect();
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    for (uint32_t type : {kEventMouseMove, kEventLeftDown, kEventLeftUp}) {
      TPlatformEvent event{type, 0, x, y, 0};
      Manager().HandleEvent(&event);
    }
    Manager().DrainQueue();
  }
  // Types into the named edit of the top screen and delivers its change messages.
  void Type(const char* name, const std::string& text) {
    TTextEdit* edit = Find<TTextEdit>(name);
    ASSERT_NE(edit, nullptr) << name;
    Manager().SetFocus(edit);
    for (char c : text) edit->OnChar(static_cast<unsigned char>(c));
    Manager().DrainQueue();
  }
  void Backspace(const char* name, int times) {
    TTextEdit* edit = Find<TTextEdit>(name);
    ASSERT_NE(edit, nullptr) << name;
    for (int i = 0; i < times; ++i) edit->OnChar(8);
    Manager().DrainQueue();
  }
  // Runs the window script's message loop, so that button commands run as in the game.
  void WaitForCommands() {
    Script().DoLuaString("return function() while true do WaitForMessage() end end");
  }
  // Moves the clock and runs one tick: the top window's tasks, its messages and a frame.
  void Tick(uint32_t ms = 20) {
    clock.now += ms;
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) Tick();
  }

  TScreen* screen = nullptr;
  TScriptedHiscores* service = nullptr;
  THiscore* hiscore = nullptr;
};
