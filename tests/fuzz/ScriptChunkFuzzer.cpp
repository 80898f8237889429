// Fuzz target: the precompiled chunk loader and its verifier, and the machine running what
// passes it. Inputs are taken as chunks (the signature byte is put in front when missing).
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScriptFuzzRunner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.empty() || bytes[0] != '\x1b') bytes.insert(0, 1, '\x1b');
  tvfuzz::LoadAndRun(bytes);
  return 0;
}
