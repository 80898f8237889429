// Every allocation of a script state goes through its allocation hook, counted in the bytes
// in use that drive the collector. Failures raise "not enough memory"; requests of
// kMaxBlockSize bytes or more raise "memory allocation error: block too big".
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

void* Realloc(lua_State* L, void* block, size_t osize, size_t nsize, bool scratch = false);
inline void Free(lua_State* L, void* block, size_t size) {
  Realloc(L, block, size, 0);
}

template <typename T>
T* NewVector(lua_State* L, int n) {
  return static_cast<T*>(Realloc(L, nullptr, 0, sizeof(T) * static_cast<size_t>(n)));
}
template <typename T>
void ResizeVector(lua_State* L, T*& v, int oldn, int newn) {
  v = static_cast<T*>(
      Realloc(L, v, sizeof(T) * static_cast<size_t>(oldn), sizeof(T) * static_cast<size_t>(newn)));
}
// Resizes a vector to exactly n elements and records the size.
template <typename T>
void ShrinkVector(lua_State* L, T*& v, int& size, int n) {
  ResizeVector(L, v, size, n);
  size = n;
}
template <typename T>
void FreeVector(lua_State* L, T* v, int n) {
  Realloc(L, v, sizeof(T) * static_cast<size_t>(n), 0);
}

// Grows a vector that must hold at least n+1 elements, doubling, up to `limit' elements
// (the message `what' beyond it, as a run-time error).
int GrowSize(lua_State* L, int n, int size, int limit, const char* what);
template <typename T>
void GrowVector(lua_State* L, T*& v, int n, int& size, int limit, const char* what) {
  if (n + 1 <= size) return;
  const int newsize = GrowSize(L, n, size, limit, what);
  ResizeVector(L, v, size, newsize);
  size = newsize;
}

}  // namespace tvs
