// Keeping script values alive for native objects: a wrapper anchors one value in the
// registry under its own address for as long as it lives. TLuaFunction calls an anchored
// function with "_ALERT" as the error handler. Also the two text conversions between engine
// strings and the stack. UI thread only; the state must outlive its wrappers.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/script/Api.h"

class TLuaObjectWrapper {
 public:
  // Anchors the value on the stack top, popping it.
  explicit TLuaObjectWrapper(lua_State* L);
  virtual ~TLuaObjectWrapper();
  TLuaObjectWrapper(const TLuaObjectWrapper&) = delete;
  TLuaObjectWrapper& operator=(const TLuaObjectWrapper&) = delete;

  // Pushes the anchored value (nil when there is none).
  void Push() const;
  lua_State* GetState() const { return mL; }

 protected:
  lua_State* mL;
};

class TLuaFunction : public TLuaObjectWrapper {
 public:
  using TLuaObjectWrapper::TLuaObjectWrapper;
  // Calls the function without arguments, protected, with "_ALERT" as handler: leaves the
  // handler at index 1 and the one result (nil after an error) on the stack; the caller
  // restores the top it saved. Does nothing when the value is not a function.
  void Call() const;
};

// Pushes the text of an engine string.
void PushLuaString(lua_State* L, TString text);
// The text of the value at idx (numbers converted); "" for values without text.
TString LuaToString(lua_State* L, int idx);
