// Text from the system's input method: every code point decoded is a Unicode scalar value,
// and well-formed text comes back whole.
#include <cstdlib>
#include <string>

#include "tvlib/platform/window/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint32_t> points = DecodeUtf8(reinterpret_cast<const char*>(data), size);
  if (points.size() > size) std::abort();
  for (uint32_t c : points) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) std::abort();
  }
  return 0;
}
