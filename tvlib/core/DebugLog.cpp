// The debug log's file, its time stamps and its wrap-around.
#include "tvlib/core/DebugLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>

namespace {

constexpr long kWrapThreshold = 102400;
constexpr long kWrapRestart = 51200;
constexpr size_t kMaxMessage = 19999;
constexpr char kWrapMarker[] =
    "\n\n\n\n ****************** LOG WRAP AROUND ******************\n\n\n\n";

std::mutex gLogLock;
TString gLogPath;
long gWritePosition = 0;

constexpr char kFallbackName[] = "wrenfold";

// A folder only this user can enter, and not a link to one.
bool IsPrivateFolder(const std::string& folder) {
  struct stat info {};
  return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 077) == 0;
}

// The folder of the log before SetLogDirectory and when running embedded: private to this
// user, since anyone may plant a link under a fixed name in the shared temporary folder.
// "$XDG_RUNTIME_DIR/wrenfold" when that folder is usable, else a fresh folder this process
// makes in the temporary folder (once per temporary folder). Empty when neither can be had.
// Called with gLogLock held.
std::string FallbackFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') {
    std::string folder = std::string(runtime) + "/" + kFallbackName;
    mkdir(folder.c_str(), 0700);
    if (IsPrivateFolder(folder)) return folder;
  }
  static std::string madeIn, made;
  const char* tmp = std::getenv("TMPDIR");
  const std::string temporary = tmp && *tmp ? tmp : "/tmp";
  if (madeIn != temporary || !IsPrivateFolder(made)) {
    std::string pattern = temporary + "/" + kFallbackName + "-XXXXXX";
    made = mkdtemp(pattern.data()) ? pattern : std::string();
    madeIn = temporary;
  }
  return made;
}

std::string FallbackPath() {
  const std::string folder = FallbackFolder();
  return folder.empty() ? std::string() : folder + "/" + kFallbackName + ".log";
}

// Opens the log for writing at any position, creating it; never through a link.
FILE* OpenForUpdate(const std::string& path) {
  if (path.empty()) return nullptr;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "r+");
  if (!file) close(fd);
  return file;
}

// The local time as ctime writes it, without its line feed: "Thu Dec 10 13:30:19 2026".
std::string TimeStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  size_t n = std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y", &local);
  return std::string(text, n);
}

}  // namespace

void SetLogDirectory(const char* folder) {
  std::lock_guard lock(gLogLock);
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  gLogPath = TString::Format("%s/logfile.txt", folder);
  std::remove(gLogPath.c_str());
  gWritePosition = 0;
}

TString GetLogPath() {
  std::lock_guard lock(gLogLock);
  return gLogPath;
}

void DebugLog(const char* format, ...) {
  char message[kMaxMessage + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  std::string line = TimeStamp() + ": " + message + "\n";

  std::lock_guard lock(gLogLock);
  FILE* file = gLogPath.Length() ? OpenForUpdate(gLogPath.c_str()) : nullptr;
  if (!file) file = OpenForUpdate(FallbackPath());
  if (!file) return;
  if (gWritePosition > kWrapThreshold) {
    std::fseek(file, kWrapRestart, SEEK_SET);
    std::fputs(kWrapMarker, file);
  } else {
    std::fseek(file, gWritePosition, SEEK_SET);
  }
  std::fwrite(line.data(), 1, line.size(), file);
  gWritePosition = std::ftell(file);
  std::fclose(file);
}
