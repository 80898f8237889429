// A message a script posted: the window side sees an ordinary message (type, name and target
// copied from the value), while the script value itself is kept alive in the registry, so
// that the script gets back the very value it posted when the message returns to its queue.
// A native message value gives its fields; a table gives its "type" and "name". The script
// state must outlive the wrapper. UI thread only.
#pragma once

#include "tvlib/script/TLuaObjectWrapper.h"
#include "tvlib/ui/TMessage.h"

// Keeps one script value alive; the registry entry goes with it.
class TLuaMessage : public TLuaObjectWrapper {
 public:
  using TLuaObjectWrapper::TLuaObjectWrapper;
};

class TLuaMessageWrapper : public TMessage {
 public:
  // Takes the value on the stack top (popped).
  explicit TLuaMessageWrapper(lua_State* L);

  static TMessageClassId GetClassId();
  bool IsKindOf(TMessageClassId id) const override;

  // Pushes the value the message was made from.
  void PushValue() const { mValue.Push(); }

 private:
  struct Fields {
    int type;
    TString name;
    TWindow* target;
  };
  static Fields FieldsOf(lua_State* L);
  TLuaMessageWrapper(lua_State* L, const Fields& fields);

  TLuaMessage mValue;
};
