// Builds one special effect from an entry of an effect file's `sfx_list`: the entry's
// "type" picks the kind, its keys set the fields, and values marked "fromgame" come from
// the caller's parameters (kept as they are when there are none).
//
// The entry is the table at `entryIndex` of the state (an absolute index); fields are read
// raw, never through metamethods. Reads may raise script errors (out of memory), so the
// caller runs this under a protected call.
#pragma once

#include <memory>

#include "tvlib/script/Api.h"

class TSpecialEffect;
struct TEffectParams;

// The effect the entry describes, or null for an entry whose type is none of "particles",
// "sprite", "text" and "sound".
std::unique_ptr<TSpecialEffect> BuildSpecialEffect(lua_State* L, int entryIndex,
                                                   const TEffectParams* params);
