// Lists one disk folder's entries in sorted order.
#include "tvlib/core/TDirectoryIterator.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

TDirectoryIterator::TDirectoryIterator(const TString& pattern) {
  Open(pattern);
}

void TDirectoryIterator::Open(const TString& pattern) {
  mEntries.clear();
  mNext = 0;
  std::string folder = pattern.c_str();
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  if (folder.empty()) return;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // d_type is unknown on some file systems, and a link to a folder is walked as a folder.
    struct stat info {};
    bool isDirectory = stat((folder + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    mEntries.push_back({std::move(name), isDirectory});
  }
  closedir(dir);
  std::sort(mEntries.begin(), mEntries.end(),
            [](const TEntry& a, const TEntry& b) { return a.name < b.name; });
}

bool TDirectoryIterator::Next(TString* name, bool* isDirectory) {
  while (mNext < mEntries.size()) {
    const TEntry& entry = mEntries[mNext++];
    if (!isDirectory && entry.isDirectory) continue;
    if (name) *name = entry.name.c_str();
    if (isDirectory) *isDirectory = entry.isDirectory;
    return true;
  }
  return false;
}
