// The instruction count hook and the bounded allocator of tvlua's limits.
#include "tools/tvlua/ScriptLimits.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Instructions between two looks at the count: small enough to stop close to the bound.
constexpr int kCountStep = 1000;

// The state's hooks carry no user word: the limits of the one state tvlua runs.
TScriptLimits* gLimits = nullptr;

bool ParseCount(const char* text, uint64_t* value) {
  if (*text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || n == 0) return false;
  *value = n;
  return true;
}

void* BoundedAlloc(void* ud, void* block, size_t osize, size_t nsize, int, int) {
  auto* limits = static_cast<TScriptLimits*>(ud);
  if (nsize == 0) {
    limits->inUse -= osize;
    std::free(block);
    return nullptr;
  }
  if (limits->memoryBytes != 0 && nsize > osize &&
      nsize - osize > limits->memoryBytes - limits->inUse)
    return nullptr;
  void* fresh = std::realloc(block, nsize);
  if (fresh != nullptr) limits->inUse = limits->inUse - osize + nsize;
  return fresh;
}

void CountInstructions(lua_State* L, lua_Debug*) {
  if (gLimits == nullptr) return;
  gLimits->executed += static_cast<uint64_t>(lua_gethookcount(L));
  if (gLimits->executed < gLimits->instructions) return;
  // From now on every instruction stops the script, wherever it catches the error.
  lua_sethook(L, CountInstructions, LUA_MASKCOUNT, 1);
  luaL_error(L, "instruction limit reached");
}

}  // namespace

bool ParseScriptLimit(const char* argument, TScriptLimits* limits) {
  constexpr char kInstructions[] = "--instructions=";
  constexpr char kMemory[] = "--memory=";
  if (std::strncmp(argument, kInstructions, sizeof kInstructions - 1) == 0)
    return ParseCount(argument + sizeof kInstructions - 1, &limits->instructions);
  uint64_t bytes = 0;
  if (std::strncmp(argument, kMemory, sizeof kMemory - 1) != 0 ||
      !ParseCount(argument + sizeof kMemory - 1, &bytes) || bytes > SIZE_MAX)
    return false;
  limits->memoryBytes = static_cast<size_t>(bytes);
  return true;
}

lua_State* OpenLimitedState(TScriptLimits* limits) {
  return lua_newstate(BoundedAlloc, limits);
}

void StartInstructionLimit(lua_State* L, TScriptLimits* limits) {
  if (limits->instructions == 0) return;
  gLimits = limits;
  const int step =
      limits->instructions < kCountStep ? static_cast<int>(limits->instructions) : kCountStep;
  lua_sethook(L, CountInstructions, LUA_MASKCOUNT, step);
}
