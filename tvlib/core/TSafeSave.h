// Saving the files that hold a player's data (preferences, hiscores, display settings) so that
// they are always whole and never lost.
//
// A save locks the file's folder (flock on the folder itself: another copy of the program
// saving there waits), writes the bytes to a temporary file of a unique name beside the file
// ("<name>.tmp.XXXXXX"), syncs it, renames it over the file and syncs the folder. Neither a
// crash nor two copies saving at once leave a file cut short or mixed, and each save lands.
// A file that was rejected on loading is kept aside under the first free numbered name
// ("<name>.bad", "<name>.bad.1", ...) before the first save replaces it. Temporary files of a
// save that was killed are removed at start. Disk paths; needs POSIX (flock, mkostemp).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// File modes: a player's own data (which may hold a password) and data every user reads.
inline constexpr mode_t kPrivateFileMode = 0600;
inline constexpr mode_t kSharedFileMode = 0644;

// The folder of a path, locked while the object lives.
class TFolderLock {
 public:
  explicit TFolderLock(const std::string& path);
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

  // The open folder, or -1 when it could not be opened (a save then fails on its own).
  int Folder() const { return mFolder; }

 private:
  int mFolder = -1;
};

// Writes the file as described above, under a lock the caller holds; false (the old file
// untouched, no temporary left) when a step fails.
bool ReplaceFileSafely(const std::string& path, const void* bytes, size_t size, mode_t mode,
                       const TFolderLock& lock);
// The same, taking the lock itself.
bool SaveFileSafely(const std::string& path, const void* bytes, size_t size, mode_t mode);
// Keeps the file at `path` (when there is one) under the first free numbered ".bad" name
// beside it, never replacing an earlier kept file, and logs the name, calling the file `what`.
// Call it under the folder's lock.
void KeepRejectedFile(const std::string& path, const char* what);
// Removes the temporary files of saves of `path` that never finished (the program was killed
// during one); takes the folder's lock, so a save in progress is never touched.
void RemoveStaleSaveFiles(const std::string& path);
