// Starting a level by its script: the screens and the level itself open a level script as a
// modal dialog, which builds the level window ("GameWindow"). A script that is missing, or that
// ran without building a level window (it failed), leaves no blank screen: the dialog goes and
// the screen under it (the venue map) stays, with a log line.
#pragma once

#include "tvlib/core/TString.h"

// The level script of a story level ("assets/scripts/game%d.%d.lua") or of an endless
// reception ("assets/scripts/arcade%d.lua").
TString StoryLevelScript(int venue, int level);
TString EndlessLevelScript(int level);
// Opens the level script; false (logged) when it is missing or built no level window.
bool OpenLevelScript(const TString& file);
