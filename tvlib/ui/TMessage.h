// A message between windows, the window manager and the window script, and its script face:
// a boxed pointer whose metatable is the registry entry "tvMessageMetatable", which the
// window script builds.
//
// First cut: the type and name that scripts read. The target window, the message queue and
// the delivery and ownership rules come with the windows-and-text subsystem; the pushed value
// does not own the message.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/script/Api.h"

class TMessage {
 public:
  TMessage(int type, const TString& name) : mType(type), mName(name) {}
  virtual ~TMessage() = default;

  // Pushes the message as a boxed pointer carrying the message metatable.
  static void PushToLua(lua_State* L, TMessage* message);

  int mType;
  TString mName;
};

// The registry key of the message metatable.
inline constexpr char kMessageMetatable[] = "tvMessageMetatable";
