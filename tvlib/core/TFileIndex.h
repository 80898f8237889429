// Virtual file names and the file index that resolves them.
//
// Game code names files virtually: package or assets names ("images/x.png", also written
// "assets/images/x.png"), "user:" and "common:" names in the data folders, and "::" followed
// by a plain disk path. The index maps lower-cased virtual names to a disk path or a package
// handle ("@..."); names are case-insensitive, disk paths are not. Loose files in the assets
// folder override package entries of the same name. Names listed in "final.txt" beside the
// program are never indexed. UI thread only.
#pragma once

#include "tvlib/core/TPackageReader.h"
#include "tvlib/core/TString.h"

// The folder holding "assets" and "final.txt"; the working directory until set.
void SetProgramFolder(const TString& folder);
TString GetProgramFolder();
// The folders of "user:" and "common:" names, without a trailing separator.
void SetDataFolders(const TString& user, const TString& common);

void ClearFileIndex();
// Reads "final.txt", mounts the packages, then indexes the loose files of the assets, user
// and common folders, each overriding the names of the steps before.
void MountFileSystem();
// Adds every file below `folder`; `prefix` starts the keys of the files directly in it.
void IndexDirectory(const TString& folder, const TString& prefix);

// A disk path or package handle for a virtual name; empty when it names nothing.
TString ResolvePath(const TString& name);
// True when the name resolves; "user:" and "common:" names always do.
bool FileExists(const TString& name);

// The index itself, for diagnostics and tests.
const TFileIndexMap& GetFileIndex();
