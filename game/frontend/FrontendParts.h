// Small parts the front-end screens share: the profile's store and current player, the
// string table, the window script the screens bind their functions in, children found by
// name and class (a missing or wrong child is skipped), a drawing bracket for a screen's own
// pictures, and the start of a level by its script. UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/core/TVec.h"

class TButton;
class TPrefs;
class TText;
class TWindow;
class TWindowScript;
struct lua_State;

// The screen every front-end window fills.
inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;
// The global node of the preferences store.
inline constexpr int kGlobalPrefs = -1;

// The profile service's preferences store; null without the service.
TPrefs* FrontendPrefs();
// The current player (the global "curuser"); -1 without a player or a profile service.
int FrontendPlayer();
// A player's stored integer, or the default without a store.
int ReadPlayerInt(const char* key, int defaultValue, int player);
// Stores and saves a player's integer; nothing without a store.
void WritePlayerInt(const char* key, int value, int player);
// The string table's text of `label`; empty without a string table.
TString FrontendString(const char* label);
// The window manager's window script; null without one.
TWindowScript* FrontendScript();
// The state to bind the functions of `owner` in; null (and a log line) without a script.
lua_State* FrontendBindingState(const char* owner);

// The text or button named `name` at any depth below `root`; null when none is there or it
// is of another class.
TText* FindText(TWindow* root, const char* name);
TButton* FindButtonNamed(TWindow* root, const char* name);

// The 2-D drawing state for a window's Draw: positions given in the window's own
// co-ordinates land on its pixels. Ends the state it began.
class TWindowDrawing {
 public:
  explicit TWindowDrawing(const TWindow* window);
  ~TWindowDrawing();
  TWindowDrawing(const TWindowDrawing&) = delete;
  TWindowDrawing& operator=(const TWindowDrawing&) = delete;

  bool IsDrawing() const { return mDrawing; }
  // Where the window's local point lies in the drawing co-ordinates.
  TVec2 At(const TVec2& local) const { return TVec2(local.x + mOrigin.x, local.y + mOrigin.y); }

 private:
  bool mDrawing = false;
  bool mBegan = false;
  TVec2 mOrigin;
};

// The level script of (venue, level) (LevelProgress.h) when the package holds it; empty,
// with a log line, when it does not, so that no empty screen is opened in its place.
TString FindLevelScript(bool endless, int venue, int level);
// Starts a found level script: in the endless reception the venue is stored first as the
// global "arcadeLevel"; then the script opens as a modal dialog named after it, which
// builds the level.
void OpenLevelScript(const TString& script, bool endless, int venue);
