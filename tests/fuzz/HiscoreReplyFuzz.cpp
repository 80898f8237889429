// Reads arbitrary bytes as a reply of the online hiscore service, as the HTTP worker does; the
// first byte chooses the kind: tables, scores or submit.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/hiscore/THiscoreProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("hiscore_reply");
  if (size == 0) return 0;
  const auto kind = static_cast<THiscoreRequestKind>(data[0] % 3);
  const THiscoreReading reading =
      ReadHiscoreReply(kind, reinterpret_cast<const char*>(data + 1), size - 1);
  if (reading.ownIndex >= static_cast<int>(reading.table.entries.size())) __builtin_trap();
  return 0;
}
