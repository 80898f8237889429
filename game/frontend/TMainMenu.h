// The main menu (window type "MainMenu"): the native side of the menu screen that the
// menu's layout script builds inside a modal window (its children "version", "mutebox" and
// "moregames" are looked for by name). It plays the menu music, keeps a layer of sparkles
// above the screen (TMainMenuOverlay), answers the menu's and the venue map's questions on
// the player's progress and starts story and endless levels by their scripts.
//
// Its update task (every 16 ms, only while its modal window is on top) shows the menu again
// with its music once a level or a screen above it has gone, and moves the sparkles on.
// Keys with Control alone: A opens the endless venue map ("assets/scripts/arcadeMetamap.lua");
// S, in cheat mode only, wipes the local hiscore tables. Every key counts as handled.
//
// Script functions (globals of the window script while the menu lives): SetWelcomeName,
// GetUser, GetCurrentUser, IsFirstTime, SetComicOff, GetLevelStatus, GetBestScore,
// GetCurrentVenue, GetCurrentLevel, HideMainMenu, ToLevel and RestartLevel. Reads the
// player's "isFirstTime", "Score%d.%d", "Expert%d.%d", "lastMap", "lastLevel", "soundoff";
// writes "inPauseMenu", "isFirstTime" and the global "arcadeLevel". UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "game/frontend/TMainMenuOverlay.h"
#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TWindowManager;

inline constexpr char kArcadeMapScript[] = "assets/scripts/arcadeMetamap.lua";
// The tables Control+S wipes, in this order.
inline constexpr char kEndlessTableId[] = "festravask_endlessreception";
inline constexpr char kCareerTableId[] = "festravask_career";

class TMainMenu : public TWindow {
 public:
  static constexpr uint32_t kUpdatePeriodMs = 16;

  // Loads the menu music and plays it, binds the script functions and gives the update
  // task to the modal window being built around the menu.
  TMainMenu();
  ~TMainMenu() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  void PostCreate() override;
  bool OnKeyDown(int key, uint32_t modifiers) override;
  void OnFocus(TWindow* /*previous*/) override {}
  // The whole 800 x 600 screen is always its dirty area.
  bool AddDirtyRect(TRect* area) override;

  // The update task's step; true keeps the task.
  bool Update();

  // --- Script functions ----------------------------------------------------------------
  void SetWelcomeName() {}
  // "currentUser" for -1, "user1" for any other index.
  TString GetUser(int index);
  int GetCurrentUser();
  int IsFirstTime();
  void SetComicOff();
  // 0 locked, 1 the next to play, 2 done, 3 done with the expert goal (LevelProgress.h).
  int GetLevelStatus(int venue, int level);
  int GetBestScore(int venue, int level);
  int GetCurrentVenue();
  int GetCurrentLevel();
  void HideMainMenu();
  // Starts (venue, level) of the story, or in the endless reception (game mode above 0) the
  // endless level of the venue.
  void ToLevel(int venue, int level);
  // ToLevel with the arguments the other way round.
  void RestartLevel(int level, int venue);

  TMainMenuOverlay& GetOverlay() { return mOverlay; }

 private:
  // The script functions' registration (MainMenuBind.cpp).
  void BindScriptFunctions();
  void RefreshMuteBox();
  void WipeLocalHiscores();

  TMainMenuOverlay mOverlay;
  TWindowManager* mOverlayOwner = nullptr;  // whose overlay list holds mOverlay
  uint32_t mLastUpdate = 0;
  // Cleared when the menu goes, so that its task, owned by the modal window, stops.
  std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
  TLuaBindings mBindings;
};
