// Shared by the script fuzz targets: loads bytes in a state of at most 64 MB and runs what
// loads for at most a few thousand instructions, so the machine meets what the front ends
// accept.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <string>

#include "tvlib/script/AuxLib.h"

namespace tvfuzz {

constexpr int kInstructionBudget = 5000;
constexpr size_t kMemoryBudget = 64u << 20;

struct Budget {
  size_t used = 0;
};

inline void* LimitedAlloc(void* ud, void* block, size_t osize, size_t nsize, int, int) {
  Budget* b = static_cast<Budget*>(ud);
  if (nsize == 0) {
    b->used -= osize;
    std::free(block);
    return nullptr;
  }
  if (nsize > osize && b->used + (nsize - osize) > kMemoryBudget) return nullptr;
  void* p = std::realloc(block, nsize);
  if (p != nullptr) b->used = b->used - osize + nsize;
  return p;
}

inline void StopRunning(lua_State* L, lua_Debug*) {
  lua_pushstring(L, "instruction budget spent");
  lua_error(L);
}

inline void LoadAndRun(const std::string& bytes) {
  Budget budget;
  lua_State* L = lua_newstate(LimitedAlloc, &budget);
  if (L == nullptr) return;
  if (luaL_loadbuffer(L, bytes.data(), bytes.size(), "=fuzz") == 0) {
    lua_sethook(L, StopRunning, LUA_MASKCOUNT, kInstructionBudget);
    lua_pcall(L, 0, 0, 0);
  }
  lua_close(L);
}

}  // namespace tvfuzz
