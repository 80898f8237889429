// Where the game keeps its files on disk: full paths and the per-user data folders.
//
// The user folder is $XDG_DATA_HOME/Tarvolen/<product> ($HOME/.local/share when
// XDG_DATA_HOME is unset or not absolute). There is no all-users folder a game may write
// without root, so the common folder is the same folder. Tests point both at a temporary
// folder by setting XDG_DATA_HOME.
#pragma once

#include "tvlib/core/TString.h"

// The absolute, normalised form of `path` (it need not exist); empty on failure.
TString GetFullPath(const TString& path);

// Makes (when missing) and gives the data folder of `productName`, ending in "/".
// 0 on success; -1 when productName or out is null or the folder cannot be had or made
// (out is then untouched).
int GetAppDataFolder(bool common, const char* productName, TString* out);

// True when GetAppDataFolder answers 0.
bool MakeAppDataFolder(bool common, TString* out, const char* productName);
