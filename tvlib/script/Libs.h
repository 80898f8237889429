// The script libraries. Each opener registers its functions in the globals of a state:
// base (with the coroutine table, `_LOADED' and the registry's per-type tables), string
// (which becomes the per-type table of strings), table and math (which sets the global
// `__pow' that the power operator calls).
#pragma once

#include "tvlib/script/Api.h"

void luaopen_base(lua_State* L);
void luaopen_string(lua_State* L);
void luaopen_table(lua_State* L);
void luaopen_math(lua_State* L);
// Opens all four.
void luaopen_all(lua_State* L);

// The generator `math.random' and `math.randomseed' draw from, installed by the runtime's
// user (the engine's generator); without one they raise "no random source". `next' answers
// 0 to `max'.
struct luaL_RandomSource {
  int (*next)();
  void (*seed)(unsigned seed);
  int max;
};
// Installs the source (null: none); returns the one it replaces.
const luaL_RandomSource* luaL_setrandomsource(const luaL_RandomSource* source);
