// The string library's functions that live in their own files, for the opener in LibString:
// the pattern functions (LibPattern) and the byte-level additions (LibStringPack).
#pragma once

#include "tvlib/script/Api.h"

int StrFind(lua_State* L);
int StrGfind(lua_State* L);
int StrGsub(lua_State* L);
int StrLualex(lua_State* L);
int StrPack(lua_State* L);
int StrUnpack(lua_State* L);
// A 1-based string position, negative counting from the end, made 0-based-inclusive-safe:
// -1 is the length, values below -len become 0.
inline int PosRelative(int pos, size_t len) {
  return pos >= 0 ? pos
                  : (static_cast<size_t>(-static_cast<long long>(pos)) > len
                         ? 0
                         : static_cast<int>(len) + pos + 1);
}
