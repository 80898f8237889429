// Reading tvlua's bounds from its options.
#include "tools/tvlua/ScriptOptions.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseCount(const char* text, uint64_t* value) {
  if (*text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || n == 0) return false;
  *value = n;
  return true;
}

}  // namespace

bool ParseScriptLimit(const char* argument, TScriptBudget* budget) {
  constexpr char kInstructions[] = "--instructions=";
  constexpr char kMemory[] = "--memory=";
  if (std::strncmp(argument, kInstructions, sizeof kInstructions - 1) == 0)
    return ParseCount(argument + sizeof kInstructions - 1, &budget->instructions);
  uint64_t bytes = 0;
  if (std::strncmp(argument, kMemory, sizeof kMemory - 1) != 0 ||
      !ParseCount(argument + sizeof kMemory - 1, &bytes) || bytes > SIZE_MAX)
    return false;
  budget->memoryBytes = static_cast<size_t>(bytes);
  return true;
}
