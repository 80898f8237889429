// Typed reads over the anchored table; every read restores the stack top it found.
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TLuaStackGuard.h"

#include "tvlib/script/TScript.h"

namespace {

TString ReadString(lua_State* L, const TString& def) {
  return lua_isnil(L, -1) ? def : LuaToString(L, -1);
}
double ReadNumber(lua_State* L, double def) {
  return lua_isnil(L, -1) ? def : lua_tonumber(L, -1);
}
TLuaTable* ReadTable(lua_State* L) {
  return lua_istable(L, -1) ? new TLuaTable(L) : nullptr;
}

}  // namespace

void TLuaTable::DeleteLater() {
  TLuaStackGuard guard(mL);
  lua_pushstring(mL, "_SCRIPT");
  lua_gettable(mL, LUA_GLOBALSINDEX);
  auto* script = static_cast<TScript*>(lua_touserdata(mL, -1));
  if (script != nullptr && lua_islightuserdata(mL, -1)) script->QueueDelete(this);
}

void TLuaTable::PushField(const char* key) const {
  Push();
  lua_pushstring(mL, key);
  lua_gettable(mL, -2);
  lua_remove(mL, -2);
}

void TLuaTable::PushItem(int index) const {
  Push();
  lua_pushnumber(mL, index);
  lua_gettable(mL, -2);
  lua_remove(mL, -2);
}

TString TLuaTable::GetString(const char* key, const TString& def) const {
  TLuaStackGuard guard(mL);
  PushField(key);
  return ReadString(mL, def);
}

TString TLuaTable::GetStringAt(int index, const TString& def) const {
  TLuaStackGuard guard(mL);
  PushItem(index);
  return ReadString(mL, def);
}

double TLuaTable::GetNumber(const char* key, double def) const {
  TLuaStackGuard guard(mL);
  PushField(key);
  return ReadNumber(mL, def);
}

double TLuaTable::GetNumberAt(int index, double def) const {
  TLuaStackGuard guard(mL);
  PushItem(index);
  return ReadNumber(mL, def);
}

bool TLuaTable::GetBool(const char* key, bool def) const {
  TLuaStackGuard guard(mL);
  PushField(key);
  return lua_isnil(mL, -1) ? def : lua_toboolean(mL, -1) != 0;
}

TLuaFunction* TLuaTable::GetFunction(const char* key) const {
  TLuaStackGuard guard(mL);
  PushField(key);
  return lua_isfunction(mL, -1) ? new TLuaFunction(mL) : nullptr;
}

TLuaTable* TLuaTable::GetTable(const char* key) const {
  TLuaStackGuard guard(mL);
  PushField(key);
  return ReadTable(mL);
}

TLuaTable* TLuaTable::GetTableAt(int index) const {
  TLuaStackGuard guard(mL);
  PushItem(index);
  return ReadTable(mL);
}

TLuaObjectWrapper* TLuaTable::Next(TLuaObjectWrapper** key) const {
  TLuaStackGuard guard(mL);
  Push();
  if (*key != nullptr)
    (*key)->Push();
  else
    lua_pushnil(mL);
  delete *key;
  *key = nullptr;
  if (!lua_istable(mL, -2) || !lua_next(mL, -2)) return nullptr;
  auto* value = new TLuaObjectWrapper(mL);  // pops the value, then the key
  *key = new TLuaObjectWrapper(mL);
  return value;
}
