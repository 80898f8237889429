// The shared parts of the bindings: the records' userdata, the closures that remember what
// they replaced, the restoring when an owner goes, and the dead-binding report.
#include "tvlib/script/TLuaBindings.h"

#include "tvlib/core/DebugLog.h"

namespace tvs::binding {

namespace {

constexpr char kRecordMetaKey[] = "_BINDINGRECORD";
constexpr char kStateRecordKey[] = "_BINDINGSTATE";

int DeleteRecord(lua_State* L) {
  auto** slot = static_cast<Record**>(lua_touserdata(L, 1));
  if (slot != nullptr) {
    delete *slot;
    *slot = nullptr;
  }
  return 0;
}

// Pushes the shared metatable of records (its __gc deletes the record).
void PushRecordMetatable(lua_State* L) {
  lua_pushstring(L, kRecordMetaKey);
  lua_rawget(L, LUA_REGISTRYINDEX);
  if (lua_istable(L, -1)) return;
  lua_pop(L, 1);
  lua_newtable(L);
  lua_pushstring(L, "__gc");
  lua_pushcfunction(L, DeleteRecord);
  lua_rawset(L, -3);
  lua_pushstring(L, "__metatable");  // scripts cannot swap it
  lua_pushboolean(L, 0);
  lua_rawset(L, -3);
  lua_pushstring(L, kRecordMetaKey);
  lua_pushvalue(L, -2);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

// The record of the binding closure at idx, or null when the value is no binding closure.
Record* BindingRecordAt(lua_State* L, int idx) {
  if (!lua_iscfunction(L, idx) || lua_getupvalue(L, idx, 1) == nullptr) return nullptr;
  Record* record = nullptr;
  if (lua_type(L, -1) == LUA_TUSERDATA && lua_getmetatable(L, -1)) {
    PushRecordMetatable(L);
    if (lua_rawequal(L, -1, -2)) record = *static_cast<Record**>(lua_touserdata(L, -3));
    lua_pop(L, 2);
  }
  lua_pop(L, 1);
  return record;
}

// Replaces the value on the top by the first live one of its chain: a closure whose owner
// is gone gives way to the value it replaced.
void SkipDeadBindings(lua_State* L) {
  for (Record* record = BindingRecordAt(L, -1); record != nullptr && !record->IsLive();
       record = BindingRecordAt(L, -1)) {
    if (lua_getupvalue(L, -1, 2) == nullptr) lua_pushnil(L);
    lua_remove(L, -2);
  }
}

// The record that clears a state's open flag when the state closes.
struct StateRecord : Record {
  StateRecord() : open(std::make_shared<bool>(true)) {}
  ~StateRecord() override { *open = false; }
  std::shared_ptr<bool> open;
};

std::shared_ptr<const bool> StateOpenFlag(lua_State* L) {
  lua_pushstring(L, kStateRecordKey);
  lua_rawget(L, LUA_REGISTRYINDEX);
  auto** slot = static_cast<Record**>(lua_touserdata(L, -1));
  lua_pop(L, 1);
  if (slot != nullptr && *slot != nullptr) return static_cast<StateRecord*>(*slot)->open;
  auto* record = new StateRecord;
  lua_pushstring(L, kStateRecordKey);
  PushRecord(L, record);
  lua_rawset(L, LUA_REGISTRYINDEX);
  return record->open;
}

// Sets the global back to the value its closure replaced, when it still holds a closure of
// the owner whose liveness flag is `alive'.
void RestoreGlobal(lua_State* L, const char* name, const bool* alive) {
  const int top = lua_gettop(L);
  lua_pushstring(L, name);
  lua_rawget(L, LUA_GLOBALSINDEX);
  const Record* record = BindingRecordAt(L, -1);
  if (record != nullptr && record->alive.get() == alive) {
    SkipDeadBindings(L);
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_settable(L, LUA_GLOBALSINDEX);
  }
  lua_settop(L, top);
}

}  // namespace

void PushRecord(lua_State* L, Record* record) {
  auto** slot = static_cast<Record**>(lua_newuserdata(L, sizeof(Record*)));
  *slot = record;
  PushRecordMetatable(L);
  lua_setmetatable(L, -2);
}

void LogDeadBinding(lua_State* L) {
  lua_Debug ar;
  const char* name = "?";
  if (lua_getstack(L, 0, &ar) && lua_getinfo(L, "n", &ar) && ar.name != nullptr) name = ar.name;
  DebugLog("Script called `%s', whose object is gone", name);
}

void SetGlobalClosure(lua_State* L, const char* name, lua_CFunction adapter) {
  lua_pushstring(L, name);
  lua_rawget(L, LUA_GLOBALSINDEX);
  SkipDeadBindings(L);
  lua_pushcclosure(L, adapter, 2);
  lua_pushstring(L, name);
  lua_insert(L, -2);
  lua_settable(L, LUA_GLOBALSINDEX);
}

}  // namespace tvs::binding

TLuaBindings::~TLuaBindings() {
  *mAlive = false;
  for (auto global = mGlobals.rbegin(); global != mGlobals.rend(); ++global) {
    if (*global->stateOpen)
      tvs::binding::RestoreGlobal(global->state, global->name.c_str(), mAlive.get());
  }
}

void TLuaBindings::Remember(lua_State* L, const char* name) {
  lua_State* state = lua_mainthread(L);
  for (const Global& global : mGlobals) {
    if (global.state == state && global.name == name) return;
  }
  mGlobals.push_back({state, tvs::binding::StateOpenFlag(state), name});
}
