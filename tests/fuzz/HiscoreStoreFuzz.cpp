// Reads arbitrary bytes as a local hiscore file under the game's key, then writes back what
// it read.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/hiscore/THiscoreStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("hiscore_store");
  static const TCipher cipher("Hw7pKd2RtXbQ");
  THiscoreTables tables;
  THiscoreLogins logins;
  if (ParseHiscoreStore(data, size, cipher, &tables, &logins))
    BuildHiscoreStore(cipher, tables, logins);
  return 0;
}
