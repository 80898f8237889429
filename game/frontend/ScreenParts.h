// Small parts the front-end screens share: their children found by name and class (a missing
// or wrong child is skipped, as every screen does), showing and hiding a child, and names
// shown as typed. The profile service's store
// and current player come with it (ProfilePrefs, CurrentPlayer). UI thread only.
#pragma once

#include "game/shell/TGameSettings.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

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

// Shows or hides the window named `name` below `root`, invalidating it when that changes;
// nothing when there is none. Answers the window.
TWindow* ShowChild(TWindow* root, const TString& name, bool shown);

// Plain text as mark-up that shows it as it stands ("<" and "\" escaped): a player's name
// is never read as tags.
TString LiteralMarkup(const TString& text);
