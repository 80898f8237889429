// The debug log's file, its time stamps and its wrap-around.
#include "tvlib/core/DebugLog.h"

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

std::string FallbackPath() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/wrenfold.log";
}

FILE* OpenForUpdate(const char* path) {
  FILE* file = std::fopen(path, "r+");
  return file ? file : std::fopen(path, "w");
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
  if (!file) file = OpenForUpdate(FallbackPath().c_str());
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
