// Bounds for running a script nobody vouches for: at most so many instructions in all (counted
// across every coroutine of the state) and at most so many bytes of memory in use at once.
// Past the instruction bound every further instruction raises "instruction limit reached", so a
// script that catches the error still ends; past the memory bound allocations fail with the
// runtime's "not enough memory".
#pragma once

#include <cstddef>
#include <cstdint>

#include "tvlib/script/AuxLib.h"

struct TScriptLimits {
  uint64_t instructions = 0;  // 0: no bound
  size_t memoryBytes = 0;     // 0: no bound
  // Used while the state runs.
  uint64_t executed = 0;
  size_t inUse = 0;
};

// Reads "--instructions=N" or "--memory=BYTES" (decimal, above 0) into `limits`; false when the
// argument is neither or its value is no such number.
bool ParseScriptLimit(const char* argument, TScriptLimits* limits);
// A state whose allocations keep to the memory bound (when set), or null when it cannot be made.
// `limits` must outlive the state.
lua_State* OpenLimitedState(TScriptLimits* limits);
// Starts counting instructions on L (when the bound is set); coroutines L creates count too.
void StartInstructionLimit(lua_State* L, TScriptLimits* limits);
