// Fuzz target: bytes read as "xsell/xsell.xml" into a more-games panel without windows.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/ui/TXSellWindow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("xsell_xml");
  TXSellWindow panel;
  panel.ReadXSellDocument(reinterpret_cast<const char*>(data), size);
  return 0;
}
