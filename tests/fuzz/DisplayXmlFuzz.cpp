// Fuzz target: bytes read as "common:display.xml", the display settings.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/render/TDxDisplayHandler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("display_xml");
  bool lowMemory = false;
  ReadDisplaySettings(reinterpret_cast<const char*>(data), size, &lowMemory);
  return 0;
}
