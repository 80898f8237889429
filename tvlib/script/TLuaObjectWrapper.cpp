// Registry anchors keyed by the wrapper's address, and the stack's text conversions.
#include "tvlib/script/TLuaObjectWrapper.h"

#include "tvlib/script/TScriptLimits.h"

TLuaObjectWrapper::TLuaObjectWrapper(lua_State* L) : mL(L) {
  lua_pushlightuserdata(mL, this);
  lua_insert(mL, -2);
  lua_rawset(mL, LUA_REGISTRYINDEX);
}

TLuaObjectWrapper::~TLuaObjectWrapper() {
  lua_pushlightuserdata(mL, this);
  lua_pushnil(mL);
  lua_rawset(mL, LUA_REGISTRYINDEX);
}

void TLuaObjectWrapper::Push() const {
  lua_pushlightuserdata(mL, const_cast<TLuaObjectWrapper*>(this));
  lua_rawget(mL, LUA_REGISTRYINDEX);
}

void TLuaFunction::Call() const {
  Push();
  if (!lua_isfunction(mL, -1)) {
    lua_pop(mL, 1);
    return;
  }
  lua_pushstring(mL, "_ALERT");
  lua_gettable(mL, LUA_GLOBALSINDEX);
  lua_insert(mL, 1);
  TScriptLimits::Call(mL, 0, 1, 1);
}

void PushLuaString(lua_State* L, TString text) {
  lua_pushlstring(L, text.c_str(), static_cast<size_t>(text.Length()));
}

TString LuaToString(lua_State* L, int idx) {
  const char* s = lua_tostring(L, idx);
  if (s == nullptr) return TString("");
  return TString(s, static_cast<int>(lua_strlen(L, idx)));
}
