// The allocation gate of a state: size checks, the hook call, the byte count, memory errors.
#include "tvlib/script/Memory.h"

#include <cstdlib>

#include "tvlib/script/Call.h"
#include "tvlib/script/Debug.h"

namespace tvs {

// Vectors start with this many elements.
constexpr int kMinVectorSize = 4;

void* DefaultAlloc(void*, void* block, size_t, size_t nsize, int, int) {
  if (nsize == 0) {
    std::free(block);
    return nullptr;
  }
  return std::realloc(block, nsize);
}

void* Realloc(lua_State* L, void* block, size_t osize, size_t nsize, bool scratch) {
  GlobalState* g = G(L);
  if (nsize >= kMaxBlockSize) RunError(L, "memory allocation error: block too big");
  void* result = g->alloc(g->allocUd, block, osize, nsize, 0, scratch ? 1 : 0);
  if (nsize == 0) {
    result = nullptr;
  } else if (result == nullptr) {
    Throw(L, kErrMem);
  }
  g->nblocks = g->nblocks - osize + nsize;
  return result;
}

int GrowSize(lua_State* L, int n, int size, int limit, const char* what) {
  if (size >= limit / 2) {
    if (size >= limit || n + 1 > limit) RunError(L, "%s", what);
    return limit;
  }
  int newsize = size * 2;
  if (newsize < kMinVectorSize) newsize = kMinVectorSize;
  if (newsize < n + 1) newsize = n + 1;
  return newsize;
}

}  // namespace tvs
