// Fuzz target: the lexer, parser and code generator over source text (8-bit, or 16-bit after
// a byte-order mark). Inputs are compiled and never run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tvlib/script/Api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!bytes.empty() && bytes[0] == '\x1b') bytes[0] = ' ';  // text only
  lua_State* L = lua_open();
  if (L == nullptr) return 0;
  luaL_loadbuffer(L, bytes.data(), bytes.size(), "=fuzz");
  lua_close(L);
  return 0;
}
