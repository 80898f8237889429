// Loads arbitrary bytes as "user:prefs.dat", plain or enciphered (the first byte chooses),
// then reads and saves the store.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPrefs.h"

namespace {

std::string Folder() {
  static std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/tvfuzz-prefs_loader/store";
    std::filesystem::create_directories(path);
    SetProgramFolder(path.c_str());
    SetDataFolders(path.c_str(), path.c_str());
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("prefs_loader");
  std::string path = Folder() + "/prefs.dat";
  bool enciphered = size > 0 && (data[0] & 1);
  if (size > 0) ++data, --size;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  TSettings settings;
  settings.SetSetting("installkey", "fuzz");
  if (enciphered) settings.SetSetting("encryptionkey", "c2VjcmV0a2V5");
  TPrefs prefs(settings, true);
  prefs.GetString("name", "", 0);
  unsigned char buffer[64];
  prefs.GetBinary("blob", buffer, sizeof buffer, 1);
  prefs.SetInt("level", prefs.GetInt("level", 0, -1) + 1, 2, true);
  return 0;
}
