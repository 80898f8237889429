// The coroutine table: create, resume, yield, status and wrap over the interface's threads.
// Opened by the base library.
#include "tvlib/script/AuxLib.h"

namespace {

// Moves narg arguments to the coroutine and resumes it; leaves its results (returning their
// count) or its error message (returning -1) on L.
int AuxResume(lua_State* L, lua_State* co, int narg) {
  if (!lua_checkstack(co, narg)) luaL_error(L, "too many arguments to resume");
  lua_xmove(L, co, narg);
  const int status = lua_resume(co, narg);
  if (status == 0) {
    const int nres = lua_gettop(co);
    if (!lua_checkstack(L, nres)) luaL_error(L, "too many results to resume");
    lua_xmove(co, L, nres);
    return nres;
  }
  lua_xmove(co, L, 1);
  return -1;
}

int Create(lua_State* L) {
  luaL_argcheck(L, lua_isfunction(L, 1) && !lua_iscfunction(L, 1), 1, "Lua function expected");
  lua_State* co = lua_newthread(L);
  lua_pushvalue(L, 1);
  lua_xmove(L, co, 1);
  return 1;
}

int Resume(lua_State* L) {
  lua_State* co = lua_tothread(L, 1);
  luaL_argcheck(L, co != nullptr, 1, "coroutine expected");
  const int r = AuxResume(L, co, lua_gettop(L) - 1);
  if (r < 0) {
    lua_pushboolean(L, 0);
    lua_insert(L, -2);
    return 2;
  }
  lua_pushboolean(L, 1);
  lua_insert(L, -(r + 1));
  return r + 1;
}

int WrapStep(lua_State* L) {
  const int r = AuxResume(L, lua_tothread(L, lua_upvalueindex(1)), lua_gettop(L));
  if (r < 0) {
    if (lua_isstring(L, -1)) {  // add the position of the caller
      luaL_where(L, 1);
      lua_insert(L, -2);
      lua_concat(L, 2);
    }
    lua_error(L);
  }
  return r;
}

int Wrap(lua_State* L) {
  Create(L);
  lua_pushcclosure(L, WrapStep, 1);
  return 1;
}

int YieldAll(lua_State* L) {
  return lua_yield(L, lua_gettop(L));
}

int Status(lua_State* L) {
  lua_State* co = lua_tothread(L, 1);
  luaL_argcheck(L, co != nullptr, 1, "coroutine expected");
  if (L == co) {
    lua_pushstring(L, "running");
    return 1;
  }
  lua_Debug ar;
  lua_pushstring(L, lua_getstack(co, 0, &ar) == 0 && lua_gettop(co) == 0 ? "dead" : "suspended");
  return 1;
}

const luaL_reg kCoroutineFunctions[] = {
    {"create", Create},  {"wrap", Wrap},     {"resume", Resume},
    {"yield", YieldAll}, {"status", Status}, {nullptr, nullptr},
};

}  // namespace

void luaopen_coroutine(lua_State* L) {
  luaL_openlib(L, "coroutine", kCoroutineFunctions, 0);
  lua_pop(L, 1);
}
