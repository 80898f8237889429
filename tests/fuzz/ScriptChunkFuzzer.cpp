// Fuzz target: the precompiled chunk loader and its verifier. Inputs are loaded as chunks
// (the signature byte is put in front when missing) and never run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tvlib/script/Api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.empty() || bytes[0] != '\x1b') bytes.insert(0, 1, '\x1b');
  lua_State* L = lua_open();
  if (L == nullptr) return 0;
  luaL_loadbuffer(L, bytes.data(), bytes.size(), "=fuzz");
  lua_close(L);
  return 0;
}
