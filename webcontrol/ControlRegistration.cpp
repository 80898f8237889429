// The control's registration entries and its registration file.
#include "webcontrol/ControlRegistration.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "webcontrol/ControlLog.h"

namespace fs = std::filesystem;

namespace {

// Registration files are small; anything larger is not one of them.
constexpr std::uintmax_t kMaxRegistrationFileBytes = 64 * 1024;

// The class key as the registry spells it.
constexpr char kClassKey[] = "CLSID\\{EA6246B4-F380-443f-8727-9AEA3371146C}";

std::string ReadRegistrationFile(const fs::path& path) {
  std::error_code error;
  std::uintmax_t size = fs::file_size(path, error);
  if (error || size > kMaxRegistrationFileBytes) return {};
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TRegistryKeys ControlRegistrationKeys(const std::string& libraryPath) {
  const std::string classKey = kClassKey;
  const std::string typeLibKey = std::string("TypeLib\\") + kControlTypeLibId + "\\1.0";
  const std::string interfaceKey = std::string("Interface\\") + kControlInterfaceId;
  const std::string folder = fs::path(libraryPath).parent_path().string();
  return {
      {std::string("AppID\\") + kControlTypeLibId, {{"@", "activex"}}},
      {"AppID\\activex.DLL", {{"AppID", kControlTypeLibId}}},
      {kControlProgId, {{"@", kControlDescription}}},
      {std::string(kControlProgId) + "\\CLSID", {{"@", kControlClassId}}},
      {kControlVersionIndependentProgId, {{"@", kControlDescription}}},
      {std::string(kControlVersionIndependentProgId) + "\\CLSID", {{"@", kControlClassId}}},
      {std::string(kControlVersionIndependentProgId) + "\\CurVer", {{"@", kControlProgId}}},
      {classKey, {{"@", kControlDescription}, {"AppID", kControlTypeLibId}}},
      {classKey + "\\ProgID", {{"@", kControlProgId}}},
      {classKey + "\\VersionIndependentProgID", {{"@", kControlVersionIndependentProgId}}},
      {classKey + "\\InprocServer32", {{"@", libraryPath}, {"ThreadingModel", "apartment"}}},
      {classKey + "\\Control", {}},
      {classKey + "\\ToolboxBitmap32", {{"@", libraryPath + ", 1"}}},
      {classKey + "\\MiscStatus", {{"@", "0"}}},
      {classKey + "\\MiscStatus\\1", {{"@", "131473"}}},
      {classKey + "\\TypeLib", {{"@", kControlTypeLibId}}},
      {classKey + "\\Version", {{"@", "1.0"}}},
      {typeLibKey, {{"@", "activex 1.0 Type Library"}}},
      {typeLibKey + "\\HELPDIR", {{"@", folder}}},
      {interfaceKey, {{"@", kControlInterfaceName}}},
      {interfaceKey + "\\TypeLib", {{"@", kControlTypeLibId}, {"Version", "1.0"}}},
  };
}

std::string RegistrationFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  fs::path base;
  if (data && *data) {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return (base / "Tarvolen" / "classes").string();
}

namespace {

fs::path RegistrationFile() {
  std::string folder = RegistrationFolder();
  return folder.empty() ? fs::path() : fs::path(folder) / (std::string(kControlClassId) + ".reg");
}

}  // namespace

bool RegisterControl(const std::string& libraryPath) {
  fs::path file = RegistrationFile();
  std::string text;
  if (file.empty() || !FormatRegistryText(ControlRegistrationKeys(libraryPath), &text)) {
    ControlLog("RegisterControl: no registration folder, or a library path it cannot hold");
    return false;
  }
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  // Written beside the file and renamed over it, so a failure leaves the old one whole.
  fs::path temporary = file;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      ControlLog("RegisterControl: cannot write %s", temporary.c_str());
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, file, error);
  if (error) {
    ControlLog("RegisterControl: cannot replace %s", file.c_str());
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

bool UnregisterControl() {
  fs::path file = RegistrationFile();
  std::error_code error;
  if (file.empty()) return false;
  fs::remove(file, error);
  return !error;
}

std::string FindRegisteredLibrary(const std::string& progId) {
  std::string folder = RegistrationFolder();
  std::error_code error;
  if (folder.empty() || !fs::is_directory(folder, error)) return {};
  std::vector<fs::path> files;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error))
    if (entry->path().extension() == ".reg") files.push_back(entry->path());
  std::sort(files.begin(), files.end());  // a stable answer when two files claim the ProgID
  for (const fs::path& file : files) {
    std::string text = ReadRegistrationFile(file);
    TRegistryKeys keys = ParseRegistryText(text.data(), text.size());
    const std::string* classId = FindRegistryValue(keys, progId + "\\CLSID", kRegistryDefaultValue);
    if (!classId) continue;
    const std::string* library =
        FindRegistryValue(keys, "CLSID\\" + *classId + "\\InprocServer32", kRegistryDefaultValue);
    if (library && !library->empty()) return *library;
  }
  return {};
}
