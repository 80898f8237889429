// Small parts the front-end screens share: their children found by name and class (a missing
// or wrong child is skipped, as every screen does), showing and hiding a child, names shown
// as typed, and the state their script functions are bound in. The profile service's store
// and current player come with it (ProfilePrefs, CurrentPlayer). UI thread only.
#pragma once

#include "game/shell/TGameSettings.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

struct lua_State;

// The volume groups the screens set: sound effects, the default group and the music.
inline constexpr int kEffectsVolumeGroup = 1000;
inline constexpr int kDefaultVolumeGroup = 0;
inline constexpr int kMusicVolumeGroup = 1001;

// The window named `name` below `root` (any depth, `root` itself included) when it is a `T`,
// else null.
template <class T>
T* FindChildOf(TWindow* root, const TString& name) {
  TWindow* child = root ? root->FindChild(name, -1) : nullptr;
  return child && child->IsKindOf(T::GetClassId()) ? static_cast<T*>(child) : nullptr;
}

// Shows or hides the window named `name` below `root` and invalidates it; nothing when there
// is none. Answers the window.
TWindow* ShowChild(TWindow* root, const TString& name, bool shown);

// The state to bind the script functions of `owner` in; null (and a log line) without a
// window script.
lua_State* ScreenBindingState(const char* owner);

// Plain text as mark-up that shows it as it stands ("<" and "\" escaped): a player's name
// is never read as tags.
TString LiteralMarkup(const TString& text);
