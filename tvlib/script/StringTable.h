// Interning of narrow and wide strings in the state's one string table (a string and a wide
// string with equal bytes are distinct objects), and creation of full userdata.
#pragma once

#include <cstring>

#include "tvlib/script/State.h"

namespace tvs {

TStr* NewStr(lua_State* L, const char* s, size_t len);
inline TStr* NewStr(lua_State* L, const char* s) {
  return NewStr(L, s, strlen(s));
}
TStr* NewWStr(lua_State* L, const char16_t* s, size_t len);
// Rebuilds the table with `newsize' buckets (a power of two), moving every string by its hash.
void ResizeStrings(lua_State* L, int newsize);
// Bytes an interned string occupies.
size_t StrSize(const TStr* s);
void FreeStr(lua_State* L, TStr* s);
// Full userdata of `size' bytes (stored rounded up to an even length).
TUdata* NewUdata(lua_State* L, size_t size);
size_t UdataSize(const TUdata* u);
uint32_t HashBytes(const char* s, size_t len);
uint32_t HashUnits(const char16_t* s, size_t len);

}  // namespace tvs

#include <cstdarg>

namespace tvs {

// Formats with %s %d %f (number as "%.14g") %c %p %% and pushes the result as a string.
const char* PushVFString(lua_State* L, const char* fmt, va_list args);
const char* PushFString(lua_State* L, const char* fmt, ...);

}  // namespace tvs
