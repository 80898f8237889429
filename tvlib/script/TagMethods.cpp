// Tag-method names and lookup.
#include "tvlib/script/TagMethods.h"

#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"

namespace tvs {

namespace {

const char* const kEventNames[TM_N] = {"__index", "__newindex", "__gc",  "__mode",   "__eq",
                                       "__add",   "__sub",      "__mul", "__div",    "__pow",
                                       "__unm",   "__lt",       "__le",  "__concat", "__call"};

}  // namespace

void InitTagMethods(lua_State* L) {
  for (int i = 0; i < TM_N; i++) {
    G(L)->tmname[i] = NewStr(L, kEventNames[i]);
    G(L)->tmname[i]->fixed = 1;
  }
}

const TValue* GetTM(TTable* events, TMS event, TStr* ename) {
  const TValue* tm = TableGetStr(events, ename);
  if (tm->tt == kTNil) {
    if (event <= TM_EQ) events->flags |= static_cast<uint8_t>(1u << event);
    return nullptr;
  }
  return tm;
}

const TValue* GetTMByObj(lua_State* L, const TValue* o, TMS event) {
  TTable* mt;
  switch (o->tt) {
    case kTTable:
      mt = TableValue(o)->metatable;
      break;
    case kTUserdata:
      mt = UdataValue(o)->metatable;
      break;
    default:
      return &G(L)->typeSlots[o->tt];
  }
  static const TValue kNil = {kTNil, {nullptr}};
  if (mt == nullptr) return &kNil;
  return TableGetStr(mt, G(L)->tmname[event]);
}

TTable* MetatableOf(lua_State* L, const TValue* o) {
  switch (o->tt) {
    case kTTable:
      return TableValue(o)->metatable;
    case kTUserdata:
      return UdataValue(o)->metatable;
    default: {
      const TValue* slot = &G(L)->typeSlots[o->tt];
      return slot->tt == kTTable ? TableValue(slot) : nullptr;
    }
  }
}

}  // namespace tvs
