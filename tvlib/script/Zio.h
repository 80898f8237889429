// Input streams of the loader: bytes pulled from a reader function in pieces, with a wide flag
// that makes the lexer read 16-bit little-endian units.
#pragma once

#include <cstddef>

struct lua_State;
// Returns the next piece of input and its size, or null / size 0 at the end.
using lua_Chunkreader = const char* (*)(lua_State* L, void* ud, size_t* size);

namespace tvs {

constexpr int kEndOfStream = -1;

struct Zio {
  size_t n = 0;  // bytes left in the current piece
  const char* p = nullptr;
  lua_Chunkreader reader = nullptr;
  void* data = nullptr;
  const char* name = nullptr;
  lua_State* L = nullptr;
  bool wide = false;
  int back[2] = {};  // bytes put back by a look-ahead, served first
  int nback = 0;
};

void ZInit(Zio* z, lua_State* L, lua_Chunkreader reader, void* data, const char* name);
int ZFill(Zio* z);
inline int ZGetc(Zio* z) {
  if (z->nback > 0) return z->back[--z->nback];
  if (z->n > 0) {
    z->n--;
    return static_cast<unsigned char>(*z->p++);
  }
  return ZFill(z);
}
// The next two bytes as one unit, low byte first, without consuming them; -1 at the end.
int ZLookWide(Zio* z);
// Reads n bytes; returns how many could not be read.
size_t ZRead(Zio* z, void* b, size_t n);

}  // namespace tvs
