// The game shell's process-wide state: the command line the game was started with (its
// switches are found anywhere in it by a plain substring search) and three flags, all false
// at start: the splash screen is up and the quit question is up (both set by the scripts),
// and a level window exists (set by the level while it lives). UI thread only.
#pragma once

#include "tvlib/core/TString.h"

struct TShellState {
  TString commandLine;
  bool inSplashScreen = false;
  bool inQuitConfirm = false;
  bool inGame = false;

  // Whether the command line holds `text` anywhere.
  bool HasSwitch(const char* text) const;
};

// The program's one shell state.
TShellState& GetShellState();
