// The game folder the build packs (art, sounds, scripts, strings and the converted fonts),
// mounted the way the game mounts it, for tests that read what players get; the log goes to
// a private folder, and the file index is emptied again afterwards.
#pragma once

#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"

// The packed fonts other than "fonts/arial.mvec" (the built-in font's own file).
inline constexpr const char* kPackedFontNames[] = {"fonts/default.mvec",
                                                   "fonts/monotype_corsiva.mvec", "font.mvec"};

class TMountedGameFolder {
 public:
  TMountedGameFolder() {
    SetLogDirectory(mDir.Path().c_str());
    SetProgramFolder(TV_GAME_DIR);
    SetDataFolders(mDir.Path().c_str(), mDir.Path().c_str());
    ClearFileIndex();
    MountFileSystem();
  }
  ~TMountedGameFolder() { ClearFileIndex(); }
  TMountedGameFolder(const TMountedGameFolder&) = delete;
  TMountedGameFolder& operator=(const TMountedGameFolder&) = delete;

 private:
  TTempDir mDir;
};
