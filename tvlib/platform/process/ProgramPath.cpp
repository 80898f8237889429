// The program's own path and its installation's name.
#include "tvlib/platform/process/ProgramPath.h"

#include <cctype>
#include <filesystem>
#include <string>

TString GetProgramPath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::canonical("/proc/self/exe", error);
  return error ? TString() : TString(path.c_str());
}

TString MakeInstanceName(const TString& programPath) {
  std::string name;
  for (const char* p = programPath.c_str(); *p; ++p)
    if (*p != '\\' && *p != ':')
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  return TString(name.c_str());
}
