// GUIDs from the kernel's random bytes.
#include "tvlib/core/TGuid.h"

#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/SystemRandom.h"

bool MakeGuid(uint8_t out[16]) {
  if (FillSystemRandom(out, 16)) return true;
  std::memset(out, 0, 16);
  DebugLog("MakeGuid failed! No random bytes from the system.");
  return false;
}

TString MakeGuidString() {
  uint8_t bytes[16];
  MakeGuid(bytes);
  uint32_t words[4];
  for (int i = 0; i < 4; ++i) {
    const uint8_t* b = bytes + 4 * i;
    words[i] = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  }
  return TString::Format("%08x%08x%08x%08x", words[0], words[1], words[2], words[3]);
}
