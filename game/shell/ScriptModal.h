// Opens a screen of the game's own: a new modal window on top of the stack, named for its
// script, with the script run inside it by the window script (the close question, the
// privacy text). Needs the platform's window manager and its window script.
#pragma once

#include "tvlib/core/TString.h"

// Pushes the modal window and runs "scripts/..." `file` in it; false when the script did not
// run (the window stays open, as the window manager's scripts leave a failed screen).
bool OpenScriptModal(const TString& file);
