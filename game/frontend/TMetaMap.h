// The venue map (window type "MetaMap"), built by a map layout script inside a modal
// window: "assets/scripts/album.lua" for the story, "assets/scripts/arcadeMetamap.lua" for
// the endless reception. It shows the picture of every venue reached so far over the layout's
// background, the level dots (TCakeLevelDots) with the selected level's texts
// ("current_level", "best_score"), and a pair of eyes that peek out now and then; story
// levels start from the selected dot (PlayButton), endless levels from the layout's venue
// buttons "button1".."button5", shown up to the current venue.
//
// The layout's globals read: the table `config` (`gameMode` "arcade" for the endless map,
// `album` "yes"), the string `showAll` ("yes": every venue and level open) and the tables
// `levelMarker%d_%d` (venue, level) with the keys "x" and "y": a marker's corner, whose dot
// lies 10 pixels right of and below it. Windows named "button%d.%d" (venue, level) anywhere
// below the map are lifted to be its direct children, above the venues and the dots.
//
// Its update task (every 16 ms, only while its modal window is on top) shows the map's
// screen again after a level, starts a deferred restart, blinks the eyes and writes the
// selection's texts. In cheat mode the keys r, w and 1 to 5 set the player's progress and
// open the map afresh.
//
// Script functions (globals of the window script while the map lives; they stand in for
// the main menu's functions of the same names): ToLevel, GetCurrentMap, RestartLevel and
// PlayButton. Reads the player's "lastMap", "lastLevel" and "Score%d.%d"; writes
// "inPauseMenu", "totalScore", and in cheat mode "lastMap" and "lastLevel". UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "game/frontend/LevelProgress.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TCakeLevelDots;
class TFestraStateAnim;
class TImage;

inline constexpr char kAlbumScript[] = "assets/scripts/album.lua";
inline constexpr char kEyesAnimation[] = "assets/images/metamap/eyes.xml";

class TMetaMap : public TWindow {
 public:
  static constexpr uint32_t kUpdatePeriodMs = 16;
  static constexpr int kEyesX = 597;
  static constexpr int kEyesY = 169;
  static constexpr int kEyesFrameDelay = 55;  // ms
  static constexpr int kBlinkChance = 200;    // one update in this many starts a blink
  static constexpr float kMarkerToDot = 10.0f;

  // Binds the script functions and gives the update task to the modal window being built
  // around the map.
  TMetaMap();
  ~TMetaMap() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  void PostCreate() override;
  // Draws the eyes while they show.
  void Draw() override;
  // Every press on the map is its own.
  bool OnMouseDown(TPoint* /*point*/) override { return true; }
  bool OnKeyDown(int key, uint32_t modifiers) override;

  // The update task's step; true keeps the task.
  bool Update();

  // --- Script functions ----------------------------------------------------------------
  void ToLevel(int venue, int level);
  int GetCurrentMap() { return mCurrentVenue; }
  // Starts (venue, level) on the next update.
  void RestartLevel(int level, int venue);
  // Starts the selected level, when one is selected.
  void PlayButton();

  int GetLastLevel() const { return mLastLevel; }
  bool IsEndless() const { return mEndless; }
  bool IsAlbum() const { return mAlbum; }
  TCakeLevelDots* GetDots() const { return mDots; }
  // The picture of venue 2 to 5, null while the venue is not shown.
  TImage* GetVenueImage(int venue) const;

 private:
  // The script functions' registration (MetaMapBind.cpp).
  void BindScriptFunctions();
  void ReadLayout();
  void BuildVenues();
  void GatherLevelButtons();
  void ReadDotPositions();
  void ShowEndlessButtons();
  void BlinkEyes();
  void WriteSelectionTexts();
  void Launch(int venue, int level);
  // Stores the player's progress and opens the map afresh in place of this one.
  void Reopen(int lastMap, int lastLevel);

  int mPlayer = -1;
  int mCurrentVenue = 1;
  int mLastLevel = 0;
  bool mEndless = false;
  bool mAlbum = false;
  std::array<TImage*, kVenueCount - 1> mVenueImages{};  // venues 2 to 5; children
  TCakeLevelDots* mDots = nullptr;                      // a child once built
  std::shared_ptr<TFestraStateAnim> mEyes;
  TLevelRef mPendingRestart{-1, -1};
  bool mRestartPending = false;
  // Cleared when the map goes, so that its task, owned by the modal window, stops.
  std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
  TLuaBindings mBindings;
};
