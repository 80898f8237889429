// Fuzz target: the lexer, parser and code generator over source text (8-bit, or 16-bit after
// a byte-order mark), and the machine running what compiles.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScriptFuzzRunner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!bytes.empty() && bytes[0] == '\x1b') bytes[0] = ' ';  // text only
  tvfuzz::LoadAndRun(bytes);
  return 0;
}
