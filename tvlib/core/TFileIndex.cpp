// The file index: mounting, virtual names and their resolution.
#include "tvlib/core/TFileIndex.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TDirectoryIterator.h"
#include "tvlib/core/TFile.h"

namespace {

// "final.txt" of this size or more is ignored.
constexpr int kMaxExclusionFile = 99999;
// Folders nested deeper are not indexed.
constexpr int kMaxFolderDepth = 32;

// One walk of a folder tree: the folders already indexed (by device and inode) and the tree's
// real path. A folder reached through a link is walked only when it stays inside the tree and
// was not walked before, so links that loop (or fan out) add at most one walk each.
struct TFolderWalk {
  std::set<std::pair<dev_t, ino_t>> visited;
  std::string root;
};

// The canonical absolute path of `path`; empty when it cannot be resolved.
std::string RealPath(const TString& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

bool IsLink(const TString& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Whether a link to a folder leads inside the walked tree.
bool LinkStaysInTree(const TFolderWalk& walk, const TString& path) {
  const std::string target = RealPath(path);
  if (!target.empty() && !walk.root.empty() &&
      (target == walk.root || (target.compare(0, walk.root.size(), walk.root) == 0 &&
                               (walk.root == "/" || target[walk.root.size()] == '/'))))
    return true;
  DebugLog("IndexFolder: not following '%s', a link out of the folder", path.c_str());
  return false;
}

struct TFileSystem {
  TFileIndexMap index;
  std::set<TString> exclusions;
  TString programFolder = ".";
  TString userFolder;
  TString commonFolder;
};

TFileSystem& State() {
  static TFileSystem state;
  return state;
}

TString AssetsFolder() {
  return State().programFolder + "/assets";
}

bool StartsWith(const TString& text, const char* prefix) {
  return std::strncmp(text.c_str(), prefix, std::strlen(prefix)) == 0;
}

void ReadExclusions() {
  std::string text;
  if (!FileReadAll((TString("::") + State().programFolder + "/final.txt").c_str(), kFileReadBinary,
                   kMaxExclusionFile, &text))
    return;
  size_t start = 0;
  while ((start = text.find_first_not_of(" \t\n\r", start)) != std::string::npos) {
    size_t end = text.find_first_of(" \t\n\r", start);
    std::string token = text.substr(start, end - start);
    State().exclusions.insert(TString(token.c_str()));
    start = end;
  }
}

void IndexFolder(TFolderWalk& walk, const TString& folder, const TString& prefix, int depth,
                 bool viaLink) {
  if (depth > kMaxFolderDepth) return;
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) return;
  if (!walk.visited.insert({info.st_dev, info.st_ino}).second && viaLink) return;
  TString relative;
  if (prefix.Length() == 0) {
    TString assets = AssetsFolder();
    int n = assets.Length();
    if (StartsWith(folder, assets.c_str()) && (folder.Length() == n || folder.GetAt(n) == '/'))
      relative = folder.Substr(n + 1);
    else
      relative = folder;
    if (relative.Length()) relative += "/";
  }
  TDirectoryIterator entries(folder);
  TString name;
  bool isDirectory = false;
  while (entries.Next(&name, &isDirectory)) {
    if (State().exclusions.count(name)) continue;
    TString path = folder + "/" + name;
    if (isDirectory) {
      const bool link = IsLink(path);
      if (!link || LinkStaysInTree(walk, path)) IndexFolder(walk, path, TString(), depth + 1, link);
    } else {
      TString key = prefix + relative + name;
      key.ToLower();
      State().index[key] = path;
    }
  }
}

}  // namespace

void SetProgramFolder(const TString& folder) {
  State().programFolder = folder.Length() ? folder : TString(".");
}

TString GetProgramFolder() {
  return State().programFolder;
}

void SetDataFolders(const TString& user, const TString& common) {
  State().userFolder = user;
  State().commonFolder = common;
}

void ClearFileIndex() {
  State().index.clear();
}

void MountFileSystem() {
  TFileSystem& state = State();
  ReadExclusions();
  struct stat info {};
  if (stat(AssetsFolder().c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    DebugLog("MountFileSystem: no assets folder at '%s'", AssetsFolder().c_str());
  MountPackages(state.index, AssetsFolder());
  IndexDirectory(AssetsFolder(), TString());
  IndexDirectory(state.userFolder, "user:");
  IndexDirectory(state.commonFolder, "common:");
}

void IndexDirectory(const TString& folder, const TString& prefix) {
  TFolderWalk walk;
  walk.root = RealPath(folder);
  IndexFolder(walk, folder, prefix, 0, false);
}

TString ResolvePath(const TString& name) {
  TFileSystem& state = State();
  TString key = name;
  key.ToLower();
  auto found = state.index.find(key);
  if (found != state.index.end() && found->second.Length()) return found->second;
  if (StartsWith(key, "::")) {
    TString path = name.Substr(2);  // a disk path keeps its case
    return access(path.c_str(), R_OK) == 0 ? path : TString();
  }
  // Before the data folders are set, "user:" and "common:" name nothing (not the root).
  if (StartsWith(key, "user:"))
    return state.userFolder.Length() ? state.index[key] = state.userFolder + "/" + key.Substr(5)
                                     : TString();
  if (StartsWith(key, "common:"))
    return state.commonFolder.Length() ? state.index[key] = state.commonFolder + "/" + key.Substr(7)
                                       : TString();
  if (StartsWith(key, "assets") && (key.GetAt(6) == '/' || key.GetAt(6) == '\\'))
    return ResolvePath(key.Substr(7));
  return TString();
}

bool FileExists(const TString& name) {
  return ResolvePath(name).Length() != 0;
}

const TFileIndexMap& GetFileIndex() {
  return State().index;
}
