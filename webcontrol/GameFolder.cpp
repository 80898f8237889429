// Making and removing the game's folder.
#include "webcontrol/GameFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "webcontrol/ControlLog.h"

namespace {

constexpr int kRemoveAttempts = 100;
constexpr auto kRemoveRetryDelay = std::chrono::milliseconds(20);

// Removes `name` in the folder `parentFd`: a file or link by unlinking it, a folder with what
// it holds. Folders are opened without following links, relative to their parent, so nothing
// outside the tree is reached even when the tree changes meanwhile.
bool RemoveTreeAt(int parentFd, const char* name) {
  if (unlinkat(parentFd, name, 0) == 0 || errno == ENOENT) return true;
  if (errno != EISDIR && errno != EPERM) return false;
  int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* folder = fdopendir(fd);
  if (!folder) {
    close(fd);
    return false;
  }
  bool emptied = true;
  while (dirent* entry = readdir(folder)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    emptied = RemoveTreeAt(dirfd(folder), entry->d_name) && emptied;
  }
  closedir(folder);
  return emptied && (unlinkat(parentFd, name, AT_REMOVEDIR) == 0 || errno == ENOENT);
}

}  // namespace

std::string GetTemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : P_tmpdir;
}

std::string MakeGameFolder() {
  std::string pattern = GetTemporaryFolder() + "/" + kGameFolderName + "XXXXXX";
  if (!mkdtemp(pattern.data())) {
    ControlLog("MakeGameFolder: %s: %s", pattern.c_str(), std::strerror(errno));
    return {};
  }
  char resolved[PATH_MAX];
  if (!realpath(pattern.c_str(), resolved)) {
    ControlLog("MakeGameFolder: %s: %s", pattern.c_str(), std::strerror(errno));
    rmdir(pattern.c_str());
    return {};
  }
  return resolved;
}

bool RemoveGameFolder(const std::string& path) {
  for (int attempt = 0; attempt < kRemoveAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kRemoveRetryDelay);
    if (RemoveTreeAt(AT_FDCWD, path.c_str())) return true;
  }
  ControlLog("RemoveGameFolder: %s is left behind: %s", path.c_str(), std::strerror(errno));
  return false;
}
