// Fuzz target: bytes read as "hiscoreserver.txt", whose first line is the server address.
#include <cstddef>
#include <cstdint>

#include "tvlib/hiscore/TTvHiscores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TString line = HiscoreServerLine(reinterpret_cast<const char*>(data), size);
  if (line.Length() > 511 || line.FindChar('\n') >= 0 || line.FindChar('\r') >= 0) __builtin_trap();
  return 0;
}
