// Locked, atomic saves of a player's files, rejected files kept aside, stale temporaries.
#include "tvlib/core/TSafeSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "tvlib/core/DebugLog.h"

namespace {

// Rejected files kept aside at most, as "<name>.bad", "<name>.bad.1" and so on.
constexpr int kMaxKeptFiles = 100;
constexpr char kTemporaryInfix[] = ".tmp.";
// mkostemp's six random characters.
constexpr size_t kTemporarySuffix = 6;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const void* bytes, size_t size) {
  const char* at = static_cast<const char*>(bytes);
  while (size > 0) {
    const ssize_t n = write(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

TFolderLock::TFolderLock(const std::string& path) {
  const std::string folder = FolderOf(path);
  mFolder = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (mFolder < 0) return;
  while (flock(mFolder, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    DebugLog("TFolderLock: cannot lock %s", folder.c_str());
    break;
  }
}

TFolderLock::~TFolderLock() {
  if (mFolder >= 0) close(mFolder);  // and the lock with it
}

bool ReplaceFileSafely(const std::string& path, const void* bytes, size_t size, mode_t mode,
                       const TFolderLock& lock) {
  std::string temporary = path + kTemporaryInfix + std::string(kTemporarySuffix, 'X');
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fchmod(fd, mode) == 0;
  ok = ok && WriteAll(fd, bytes, size);
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) {
    if (lock.Folder() >= 0) fsync(lock.Folder());
    return true;
  }
  unlink(temporary.c_str());
  return false;
}

bool SaveFileSafely(const std::string& path, const void* bytes, size_t size, mode_t mode) {
  TFolderLock lock(path);
  return ReplaceFileSafely(path, bytes, size, mode, lock);
}

void KeepRejectedFile(const std::string& path, const char* what) {
  if (access(path.c_str(), F_OK) != 0) return;
  for (int n = 0; n < kMaxKeptFiles; n++) {
    const std::string kept = path + ".bad" + (n ? "." + std::to_string(n) : std::string());
    if (link(path.c_str(), kept.c_str()) == 0 ||
        (errno != EEXIST && access(kept.c_str(), F_OK) != 0 &&
         std::rename(path.c_str(), kept.c_str()) == 0)) {
      chmod(kept.c_str(), kPrivateFileMode);  // it may hold what the file held: a password
      DebugLog("The unreadable %s are kept as %s", what, kept.c_str());
      return;
    }
  }
  DebugLog("KeepRejectedFile: no free name to keep the unreadable %s aside", path.c_str());
}

void RemoveStaleSaveFiles(const std::string& path) {
  TFolderLock lock(path);
  if (lock.Folder() < 0) return;
  const std::string prefix = NameOf(path) + kTemporaryInfix;
  DIR* folder = opendir(FolderOf(path).c_str());
  if (!folder) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + kTemporarySuffix &&
        name.compare(0, prefix.size(), prefix) == 0)
      stale.push_back(name);
  }
  closedir(folder);
  for (const std::string& name : stale) {
    if (unlinkat(lock.Folder(), name.c_str(), 0) == 0)
      DebugLog("Removed %s, left by a save that did not finish", name.c_str());
  }
}
