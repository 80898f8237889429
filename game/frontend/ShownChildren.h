// Showing and hiding the children a screen script built, by the window's visible flag.
#pragma once

#include "tvlib/core/TString.h"

class TWindow;

// Sets or clears the visible flag; true when it changed (false for null).
bool SetShown(TWindow* window, bool show);
// The same for the descendant of `root` named `name`; false when there is none.
bool SetChildShown(TWindow* root, const TString& name, bool show);
