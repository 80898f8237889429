// Lists the entries of one disk folder, one at a time.
//
// The whole folder is read when the iterator opens and the names are sorted byte-wise, so
// every walk of the same folder gives the same order (the mount order of packages depends on
// it). "." and ".." are never given. A pattern names the folder; a trailing "/" or "\" is
// optional, so "assets" and "assets/" list the same entries. Needs POSIX opendir/readdir.
#pragma once

#include <string>
#include <vector>

#include "tvlib/core/TString.h"

class TDirectoryIterator {
 public:
  explicit TDirectoryIterator(const TString& pattern = TString());
  ~TDirectoryIterator() = default;

  // Starts a new listing of `pattern`'s folder; an empty pattern or a folder that cannot be
  // read gives an empty listing.
  void Open(const TString& pattern);

  // Gives the next entry's name. When `isDirectory` is null, folders are skipped; otherwise
  // it receives whether the entry is a folder. False when the listing is exhausted.
  bool Next(TString* name, bool* isDirectory = nullptr);

 private:
  struct TEntry {
    std::string name;
    bool isDirectory;
  };
  std::vector<TEntry> mEntries;
  size_t mNext = 0;
};
