// The program's life: start-up, the game's main function, and shutdown.
//
// RunApplication loads the optional test harness, reads the engine's switches from the
// command line, keeps the game to one instance per installation, builds the platform, opens
// the main window, starts sound and display, fills the settings map, runs the game's main
// function and tears everything down in order. The command line is the program's arguments
// joined by single blanks; every switch is found by a plain substring search.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/platform/dialog/TMessageBox.h"

class TPlatform;

// The game's main function: runs the whole game; its answer is not used.
using TGameMain = int (*)(TPlatform* platform, const char* commandLine);

// argv[1..] joined by single blanks.
TString MakeCommandLine(int argc, char** argv);

// Runs the program; answers the process exit status: 0 after a normal run and when another
// instance was running (it was asked to raise its window), kExitStartupFailed when the
// program cannot start. `allowSeveral` lets every start run, as the switches "--multiple",
// "-wnd=" and "screensaver" do.
int RunApplication(const char* commandLine, TGameMain gameMain, bool allowSeveral);
