// Fuzz target: bytes read as the program's command line: the "options=" pairs and the cheat
// code into the settings map.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("command_line");
  const TString line(reinterpret_cast<const char*>(data), static_cast<int>(size));
  TSettings settings;
  settings.ParseOptions(line);
  settings.SetCheatCode(line);
  return 0;
}
