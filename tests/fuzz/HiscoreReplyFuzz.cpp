// Reads arbitrary bytes as a reply of the online hiscore service; the first byte chooses the
// kind: tables, scores or submit.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/hiscore/THiscoreProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("hiscore_reply");
  if (size == 0) return 0;
  int kind = data[0] % 3;
  const char* text = reinterpret_cast<const char*>(data + 1);
  size_t length = size - 1;
  if (kind == 0) {
    std::vector<THiscoreCategory> categories;
    ReadTablesReply(text, length, &categories);
  } else if (kind == 1) {
    THiscoreTable table;
    int own = -1;
    ReadScoresReply(text, length, &table, &own);
    if (own >= static_cast<int>(table.entries.size())) __builtin_trap();
  } else {
    ReadSubmitReply(text, length);
  }
  return 0;
}
