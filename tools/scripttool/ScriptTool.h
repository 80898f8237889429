// What the script tools (tvlua, tvluac) share: reading the script file, making the state,
// loading with the file's chunk name, reporting errors, and the disk as the scripts' files.
#pragma once

#include <string>

#include "tvlib/script/AuxLib.h"

// Reads the whole file; reports "<tool>: cannot open <path>" and answers false when it cannot.
bool ReadScriptFile(const char* tool, const std::string& path, std::string* text);
// A new state, or null after reporting "<tool>: not enough memory".
lua_State* OpenScriptState(const char* tool);
// Loads the text as the chunk "@<path>"; answers the load status.
int LoadScript(lua_State* L, const std::string& text, const std::string& path);
// Reports the error message on the stack top as "<tool>: <message>".
void ReportScriptError(const char* tool, lua_State* L);
// Scripts' dofile and loadfile read disk files from now on.
void UseDiskFilesForScripts();
// Disk files and the engine's random generator, for a tool that runs scripts.
void UseToolServicesForScripts();
