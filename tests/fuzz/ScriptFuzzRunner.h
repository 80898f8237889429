// Shared by the script fuzz targets: states under the engine's own script limits
// (TScriptLimits.h) with a small budget: at most 64 MB and a few thousand instructions a run,
// so the machine meets what the front ends accept and every input ends quickly.
#pragma once

#include <cstddef>
#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/TScriptLimits.h"

namespace tvfuzz {

inline constexpr TScriptBudget kFuzzScriptBudget{5000, 64u << 20};

inline void LoadAndRun(const std::string& bytes) {
  TScriptLimits limits(kFuzzScriptBudget);
  lua_State* L = limits.OpenState();
  if (L == nullptr) return;
  if (luaL_loadbuffer(L, bytes.data(), bytes.size(), "=fuzz") == 0) TScriptLimits::Call(L, 0, 0, 0);
  lua_close(L);
}

}  // namespace tvfuzz
