// Script values carried as messages.
#include "tvlib/ui/TLuaMessageWrapper.h"

#include "tvlib/script/NumberConversion.h"

// The message fields of the value on the stack top (left there).
TLuaMessageWrapper::Fields TLuaMessageWrapper::FieldsOf(lua_State* L) {
  if (const TMessage* message = TMessage::ToMessage(L, -1)) {
    return {message->mType, message->mName, message->mTarget};
  }
  Fields fields{0, TString(""), nullptr};
  if (lua_istable(L, -1)) {
    lua_pushstring(L, "type");
    lua_gettable(L, -2);
    fields.type = tvs::NumberToInt(lua_tonumber(L, -1));
    lua_pop(L, 1);
    lua_pushstring(L, "name");
    lua_gettable(L, -2);
    fields.name = LuaToString(L, -1);
    lua_pop(L, 1);
  }
  return fields;
}

TLuaMessageWrapper::TLuaMessageWrapper(lua_State* L) : TLuaMessageWrapper(L, FieldsOf(L)) {}

TLuaMessageWrapper::TLuaMessageWrapper(lua_State* L, const Fields& fields)
    : TMessage(fields.type, fields.name, fields.target), mValue(L) {}

TMessageClassId TLuaMessageWrapper::GetClassId() {
  static const char kId = 0;
  return &kId;
}

bool TLuaMessageWrapper::IsKindOf(TMessageClassId id) const {
  return id == GetClassId() || TMessage::IsKindOf(id);
}
