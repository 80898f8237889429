// The root window of the window tree, made by the platform's display set-up.
//
// First cut: a plain modal window; the screen's own behaviour comes with the
// windows-and-text subsystem.
#pragma once

#include "tvlib/ui/TModalWindow.h"

class TScreen : public TModalWindow {};
