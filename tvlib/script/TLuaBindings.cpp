// The shared parts of the bindings: the records' metatable and the dead-binding report.
#include "tvlib/script/TLuaBindings.h"

#include "tvlib/core/DebugLog.h"

namespace tvs::binding {

namespace {

int DestroyRecord(lua_State* L) {
  auto* header = static_cast<RecordHeader*>(lua_touserdata(L, 1));
  if (header != nullptr && header->destroy != nullptr) {
    header->destroy(header);
    header->destroy = nullptr;
  }
  return 0;
}

constexpr char kRecordMetaKey[] = "_BINDINGRECORD";

}  // namespace

void PushRecordMetatable(lua_State* L) {
  lua_pushstring(L, kRecordMetaKey);
  lua_rawget(L, LUA_REGISTRYINDEX);
  if (lua_istable(L, -1)) return;
  lua_pop(L, 1);
  lua_newtable(L);
  lua_pushstring(L, "__gc");
  lua_pushcfunction(L, DestroyRecord);
  lua_rawset(L, -3);
  lua_pushstring(L, "__metatable");  // scripts cannot swap it
  lua_pushboolean(L, 0);
  lua_rawset(L, -3);
  lua_pushstring(L, kRecordMetaKey);
  lua_pushvalue(L, -2);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

void LogDeadBinding(lua_State* L) {
  lua_Debug ar;
  const char* name = "?";
  if (lua_getstack(L, 0, &ar) && lua_getinfo(L, "n", &ar) && ar.name != nullptr) name = ar.name;
  DebugLog("Script called `%s', whose object is gone", name);
}

void SetGlobalClosure(lua_State* L, const char* name, lua_CFunction adapter) {
  lua_pushstring(L, name);
  lua_insert(L, -2);
  lua_pushcclosure(L, adapter, 1);
  lua_settable(L, LUA_GLOBALSINDEX);
}

}  // namespace tvs::binding
