// The folder the launcher unpacks the game into: made fresh and private for each start, under
// the user's temporary folder, and removed again without ever following a link.
#pragma once

#include <string>

// The folder's name, the start of each folder's name (a unique ending follows).
inline constexpr char kGameFolderName[] = "tv_FestraVask.1.0.0.48";

// $TMPDIR when it is set, else the system's temporary folder.
std::string GetTemporaryFolder();

// Makes a new folder "<temporary folder>/tv_FestraVask.1.0.0.48XXXXXX" that only the user may
// enter, and returns its absolute path without links; empty when it cannot be made.
std::string MakeGameFolder();

// Removes the folder with everything in it. A link inside is removed, never what it points
// to. A removal that fails (a file still being written) is tried again 20 ms later, 100 times
// in all; false when the folder is still there then.
bool RemoveGameFolder(const std::string& path);
