// The collector: stop-the-world mark and sweep, run when the bytes in use reach the threshold
// at the points where the runtime calls CheckGC (never inside an allocation, so objects being
// built need no anchoring). Weak tables by "__mode" ('k', 'v'); userdata with "__gc" are
// finalised after the sweep, then freed by the next collection.
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

void FullGC(lua_State* L);
inline void CheckGC(lua_State* L) {
  if (G(L)->nblocks >= G(L)->gcThreshold) FullGC(L);
}
// Test hook: with `on', every CheckGC point runs a full collection.
void SetGcStress(lua_State* L, bool on);
// Runs pending finalisers; with `all', finalises every userdata (state close).
void CallGCTM(lua_State* L);
void SeparateAllUdata(lua_State* L);
// Frees every object (state close).
void FreeAll(lua_State* L);

}  // namespace tvs
