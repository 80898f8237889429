// A message between windows, the window manager and the window script: a type, a name and
// the window where delivery starts (null: none). Whoever holds the pointer owns it: the
// window manager's queue until delivery, then the window that handles it or the script.
// Scripts see it as a boxed pointer whose metatable is the registry entry
// "tvMessageMetatable" (built by the window script); that value owns the message, which goes
// when the script's collector frees the value.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/script/Api.h"

class TWindow;

// Message types of the window layer.
inline constexpr int kMessageClose = 1;        // name: id text of the modal window to close
inline constexpr int kMessageEnter = 2;        // Enter without a default button
inline constexpr int kMessageClick = 3;        // name: the button's name
inline constexpr int kMessageRawInput = 4;     // "mouse:up" or "raw:" + key
inline constexpr int kMessageQuit = 5;         // delivering it quits the program
inline constexpr int kMessageModalClosed = 6;  // name: id text of the destroyed modal window
inline constexpr int kMessageTextEdit = 7;     // name: the text edit's name
inline constexpr int kMessageLuaAction = 8;    // "LuaAction:" + the button's name

// The registry key of the message metatable.
inline constexpr char kMessageMetatable[] = "tvMessageMetatable";

using TMessageClassId = const void*;

class TMessage {
 public:
  TMessage(int type, const TString& name, TWindow* target = nullptr)
      : mType(type), mName(name), mTarget(target) {}
  virtual ~TMessage() = default;

  static TMessageClassId GetClassId();
  virtual bool IsKindOf(TMessageClassId id) const { return id == GetClassId(); }

  // Pushes the message (owned by the script from now on) as a boxed pointer carrying the
  // message metatable.
  static void PushMessage(lua_State* L, TMessage* message);
  // The message a value pushed by PushMessage holds; null for nil or any other value.
  static TMessage* ToMessage(lua_State* L, int index);

  int mType;
  TString mName;
  TWindow* mTarget;
};
