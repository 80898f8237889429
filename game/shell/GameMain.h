// The game's main function, run by the framework after start-up.
#pragma once

class TPlatform;

// Titles the window, sets up the display and runs the event loop until the quit event.
int GameMain(TPlatform* platform, const char* commandLine);
