// The table library: foreach, foreachi, getn, setn, insert, remove, sort and concat. Array
// sizes follow luaL_getn (the `n' field, a size set by setn, or the first nil).
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"

namespace {

int ForEachI(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  const int n = luaL_getn(L, 1);
  for (int i = 1; i <= n; i++) {
    lua_pushvalue(L, 2);
    lua_pushnumber(L, i);
    lua_rawgeti(L, 1, i);
    lua_call(L, 2, 1);
    if (!lua_isnil(L, -1)) return 1;
    lua_pop(L, 1);
  }
  return 0;
}

int ForEach(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_pushnil(L);
  while (lua_next(L, 1)) {
    lua_pushvalue(L, 2);
    lua_pushvalue(L, -3);
    lua_pushvalue(L, -3);
    lua_call(L, 2, 1);
    if (!lua_isnil(L, -1)) return 1;
    lua_pop(L, 2);  // the result and the value; the key stays for the next step
  }
  return 0;
}

int GetN(lua_State* L) {
  lua_pushnumber(L, luaL_getn(L, 1));
  return 1;
}

int SetN(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_setn(L, 1, luaL_checkint(L, 2));
  return 0;
}

int Insert(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  int n = luaL_getn(L, 1) + 1;
  int pos;
  if (lua_gettop(L) == 2) {
    pos = n;
  } else {
    pos = luaL_checkint(L, 2);
    if (pos > n) n = pos;
    lua_settop(L, 3);
  }
  luaL_setn(L, 1, n);
  for (int i = n; i > pos; i--) {
    lua_rawgeti(L, 1, i - 1);
    lua_rawseti(L, 1, i);
  }
  lua_rawseti(L, 1, pos);
  return 0;
}

int Remove(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  const int n = luaL_getn(L, 1);
  int pos = luaL_optint(L, 2, n);
  if (n <= 0) return 0;
  luaL_setn(L, 1, n - 1);
  lua_rawgeti(L, 1, pos);
  for (; pos < n; pos++) {
    lua_rawgeti(L, 1, pos + 1);
    lua_rawseti(L, 1, pos);
  }
  lua_pushnil(L);
  lua_rawseti(L, 1, n);
  return 1;
}

int Concat(lua_State* L) {
  size_t lsep;
  const char* sep = luaL_optlstring(L, 2, "", &lsep);
  luaL_checktype(L, 1, LUA_TTABLE);
  const int first = luaL_optint(L, 3, 1);
  const int last = lua_isnoneornil(L, 4) ? luaL_getn(L, 1) : luaL_checkint(L, 4);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  for (int i = first; i <= last; i++) {
    lua_rawgeti(L, 1, i);
    luaL_argcheck(L, lua_isstring(L, -1), 1, "table contains non-strings");
    luaL_addvalue(&b);
    if (i != last) luaL_addlstring(&b, sep, lsep);
    if (i == last) break;  // the last index may be INT_MAX
  }
  luaL_pushresult(&b);
  return 1;
}

// --- sort: quicksort with the median of three as pivot, on the table at index 1 with the
// optional order function at index 2 ---

void Set2(lua_State* L, int i, int j) {
  lua_rawseti(L, 1, i);
  lua_rawseti(L, 1, j);
}

// Whether the value at a precedes the value at b (stack indices, negative).
bool Less(lua_State* L, int a, int b) {
  if (lua_isnil(L, 2)) return lua_lessthan(L, a, b);
  lua_pushvalue(L, 2);
  lua_pushvalue(L, a - 1);
  lua_pushvalue(L, b - 2);
  lua_call(L, 2, 1);
  const bool res = lua_toboolean(L, -1);
  lua_pop(L, 1);
  return res;
}

void Sort(lua_State* L, int lo, int hi) {
  while (lo < hi) {
    // Order a[lo], a[mid], a[hi]; the middle one becomes the pivot.
    lua_rawgeti(L, 1, lo);
    lua_rawgeti(L, 1, hi);
    if (Less(L, -1, -2))
      Set2(L, lo, hi);
    else
      lua_pop(L, 2);
    if (hi - lo == 1) return;
    const int mid = lo + (hi - lo) / 2;
    lua_rawgeti(L, 1, mid);
    lua_rawgeti(L, 1, lo);
    if (Less(L, -2, -1)) {
      Set2(L, mid, lo);
    } else {
      lua_pop(L, 1);
      lua_rawgeti(L, 1, hi);
      if (Less(L, -1, -2))
        Set2(L, mid, hi);
      else
        lua_pop(L, 2);
    }
    if (hi - lo == 2) return;
    lua_rawgeti(L, 1, mid);  // the pivot stays on the stack while partitioning
    lua_pushvalue(L, -1);
    lua_rawgeti(L, 1, hi - 1);
    Set2(L, mid, hi - 1);
    int i = lo, j = hi - 1;
    for (;;) {
      // Invariant: a[lo..i] <= pivot <= a[j..hi].
      for (lua_rawgeti(L, 1, ++i); Less(L, -1, -2); lua_rawgeti(L, 1, ++i)) {
        if (i > hi) luaL_error(L, "invalid order function for sorting");
        lua_pop(L, 1);
      }
      for (lua_rawgeti(L, 1, --j); Less(L, -3, -1); lua_rawgeti(L, 1, --j)) {
        if (j < lo) luaL_error(L, "invalid order function for sorting");
        lua_pop(L, 1);
      }
      if (j < i) {
        lua_pop(L, 3);
        break;
      }
      Set2(L, i, j);
    }
    lua_rawgeti(L, 1, hi - 1);
    lua_rawgeti(L, 1, i);
    Set2(L, hi - 1, i);
    // Recurse into the smaller part, loop on the larger.
    if (i - lo < hi - i) {
      Sort(L, lo, i - 1);
      lo = i + 1;
    } else {
      Sort(L, i + 1, hi);
      hi = i - 1;
    }
  }
}

int SortTable(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  const int n = luaL_getn(L, 1);
  luaL_checkstack(L, 40, "");
  if (!lua_isnoneornil(L, 2)) luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_settop(L, 2);
  Sort(L, 1, n);
  return 0;
}

const luaL_reg kTableFunctions[] = {
    {"concat", Concat}, {"foreach", ForEach}, {"foreachi", ForEachI},
    {"getn", GetN},     {"setn", SetN},       {"sort", SortTable},
    {"insert", Insert}, {"remove", Remove},   {nullptr, nullptr},
};

}  // namespace

void luaopen_table(lua_State* L) {
  luaL_openlib(L, "table", kTableFunctions, 0);
  lua_pop(L, 1);
}
