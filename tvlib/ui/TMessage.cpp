// Messages as script values.
#include "tvlib/ui/TMessage.h"

TMessageClassId TMessage::GetClassId() {
  static const char kId = 0;
  return &kId;
}

void TMessage::PushMessage(lua_State* L, TMessage* message) {
  lua_pushboxedpointer(L, message);
  lua_pushstring(L, kMessageMetatable);
  lua_gettable(L, LUA_REGISTRYINDEX);
  lua_setmetatable(L, -2);
}

TMessage* TMessage::ToMessage(lua_State* L, int index) {
  if (index < 0 && index > LUA_REGISTRYINDEX) index = lua_gettop(L) + index + 1;
  if (lua_isnil(L, index) || !lua_getmetatable(L, index)) return nullptr;
  // Only a value carrying the message metatable holds a message: any other userdata (or a
  // script's own table) gives null rather than a pointer to something else.
  lua_pushstring(L, kMessageMetatable);
  lua_gettable(L, LUA_REGISTRYINDEX);
  const bool isMessage = lua_rawequal(L, -1, -2) != 0;
  lua_pop(L, 2);
  return isMessage ? static_cast<TMessage*>(lua_touserdata(L, index)) : nullptr;
}
