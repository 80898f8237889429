// Full paths and the per-user and shared data folders.
#include "tvlib/core/TDataFolders.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr char kMakerFolder[] = "Tarvolen";

// The XDG base folder for application data; empty when neither variable gives one.
fs::path DataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && *home == '/') return fs::path(home) / ".local" / "share";
  return {};
}

}  // namespace

TString GetFullPath(const TString& path) {
  if (path.Length() == 0) return TString();
  std::error_code error;
  fs::path full = fs::absolute(fs::path(path.c_str()), error);
  if (error) return TString();
  return full.lexically_normal().string().c_str();
}

int GetAppDataFolder(bool common, const char* productName, TString* out) {
  // Both kinds live in the same per-user folder; `common` only names the caller's intent.
  (void)common;
  if (!productName || !*productName || !out) return -1;
  fs::path base = DataHome();
  if (base.empty()) return -1;
  fs::path folder = base / kMakerFolder / productName;
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder, error)) return -1;
  *out = GetFullPath(folder.string().c_str()) + "/";
  return 0;
}

bool MakeAppDataFolder(bool common, TString* out, const char* productName) {
  return GetAppDataFolder(common, productName, out) == 0;
}
