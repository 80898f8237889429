// Restores a script stack's top when the scope ends: native readers of script values leave
// the stack as they found it on every path.
#pragma once

#include "tvlib/script/Api.h"

class TLuaStackGuard {
 public:
  explicit TLuaStackGuard(lua_State* L) : mL(L), mTop(lua_gettop(L)) {}
  ~TLuaStackGuard() { lua_settop(mL, mTop); }
  TLuaStackGuard(const TLuaStackGuard&) = delete;
  TLuaStackGuard& operator=(const TLuaStackGuard&) = delete;

 private:
  lua_State* mL;
  int mTop;
};
