// Tag methods (metamethods). Tables and full userdata take them from their metatable; every
// other value's tag method, whatever the event, is the value in its type's per-type slot.
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

void InitTagMethods(lua_State* L);
// The event's field in table `events', or null when absent (caching absence in its flags
// for the first five events).
const TValue* GetTM(TTable* events, TMS event, TStr* ename);
inline const TValue* FastTM(lua_State* L, TTable* mt, TMS event) {
  if (mt == nullptr || (mt->flags & (1u << event))) return nullptr;
  return GetTM(mt, event, G(L)->tmname[event]);
}
// The tag method of a value for an event; a nil value when there is none.
const TValue* GetTMByObj(lua_State* L, const TValue* o, TMS event);
// The metatable of a value: tables and userdata their own, other values their per-type table.
TTable* MetatableOf(lua_State* L, const TValue* o);

}  // namespace tvs
