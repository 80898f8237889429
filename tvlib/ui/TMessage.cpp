// Messages as script values.
#include "tvlib/ui/TMessage.h"

void TMessage::PushToLua(lua_State* L, TMessage* message) {
  lua_pushboxedpointer(L, message);
  lua_pushstring(L, kMessageMetatable);
  lua_gettable(L, LUA_REGISTRYINDEX);
  lua_setmetatable(L, -2);
}
