// The style rules and the colour and font readers of the window script.
#include "tvlib/ui/ScriptStyle.h"

#include "tvlib/script/NumberConversion.h"
#include "tvlib/script/TLuaStackGuard.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScript.h"

namespace {

// Parent links followed at most in a style lookup (a cycle of links ends there).
constexpr int kMaxStyleDepth = 100;

bool FindStyle(lua_State* L, const char* key, bool useDefault, int depth) {
  lua_pushstring(L, key);
  lua_gettable(L, lua_istable(L, -2) ? -2 : LUA_GLOBALSINDEX);
  if (!lua_isnil(L, -1)) return true;
  lua_pop(L, 1);
  if (useDefault) {
    lua_pushstring(L, "gCurrentDefaultStyle");
    lua_gettable(L, LUA_GLOBALSINDEX);
  } else if (lua_istable(L, -1)) {
    lua_pushstring(L, "parent");
    lua_gettable(L, -2);
  } else {
    lua_pushnil(L);
  }
  if (!lua_istable(L, -1) || depth >= kMaxStyleDepth) {
    lua_pop(L, 1);
    return false;
  }
  if (FindStyle(L, key, false, depth + 1)) {
    lua_remove(L, -2);
    return true;
  }
  lua_pop(L, 1);
  return false;
}

}  // namespace

TLuaColor PopColor(TScript& script) {
  lua_State* L = script.GetState();
  TLuaColor c;
  if (lua_istable(L, -1)) {
    float* parts[] = {&c.r, &c.g, &c.b, &c.a};
    for (int i = 0; i < 4; i++) {
      lua_rawgeti(L, -1, i + 1);
      *parts[i] = static_cast<float>(lua_tonumber(L, -1));
      lua_pop(L, 1);
    }
  }
  lua_pop(L, 1);
  return c;
}

TFontSpec PopFontSpec(TScript& script) {
  lua_State* L = script.GetState();
  TFontSpec spec;
  if (!lua_istable(L, -1)) {
    lua_pop(L, 1);
    return spec;
  }
  lua_rawgeti(L, -1, 1);
  spec.face = script.PopString();
  lua_rawgeti(L, -1, 2);
  spec.height = tvs::NumberToInt(script.PopNumber());
  lua_rawgeti(L, -1, 3);
  spec.color = PopColor(script);
  lua_pop(L, 1);
  return spec;
}

bool FindStyleValue(TScript& script, const char* key, bool useDefault) {
  return FindStyle(script.GetState(), key, useDefault, 0);
}

TLuaTable* GetStyleTable(TScript& script, const char* key) {
  lua_State* L = script.GetState();
  TLuaStackGuard guard(L);
  if (!FindStyleValue(script, key, true) || !lua_istable(L, -1)) return nullptr;
  return new TLuaTable(L);
}

TString GetStyleString(TScript& script, const char* key, const TString& def) {
  lua_State* L = script.GetState();
  TLuaStackGuard guard(L);
  return FindStyleValue(script, key, true) ? LuaToString(L, -1) : def;
}

double GetStyleNumber(TScript& script, const char* key, double def) {
  lua_State* L = script.GetState();
  TLuaStackGuard guard(L);
  return FindStyleValue(script, key, true) ? lua_tonumber(L, -1) : def;
}

TLuaColor GetStyleColor(TScript& script, const char* key, const TLuaColor& def) {
  lua_State* L = script.GetState();
  TLuaStackGuard guard(L);
  return FindStyleValue(script, key, true) && lua_istable(L, -1) ? PopColor(script) : def;
}

bool GetStyleBool(TScript& script, const char* key, bool def) {
  TLuaStackGuard guard(script.GetState());
  return FindStyleValue(script, key, true) ? script.PopBool() : def;
}
