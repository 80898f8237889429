// The parser: one pass from tokens to a function prototype, driving the code generator.
#pragma once

#include "tvlib/script/State.h"
#include "tvlib/script/Zio.h"

namespace tvs {

// Parses a whole chunk from z; syntax errors are raised through the state (status 3).
TProto* Parse(lua_State* L, Zio* z, TStr* source);

}  // namespace tvs
