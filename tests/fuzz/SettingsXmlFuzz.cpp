// Fuzz target: bytes read as "settings.xml" into the settings map.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("settings_xml");
  TSettings settings;
  settings.ReadSettingsDocument(reinterpret_cast<const char*>(data), size);
  settings.GetSetting("encryptionkey");
  return 0;
}
