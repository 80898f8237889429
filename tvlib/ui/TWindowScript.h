// The window script: the one script in which screens, dialogs and menus are built, and the
// coroutine that waits for the windows' messages in "HandleGetMessage".
//
// First cut: the message wait, the closure hook that hands a command to the waiting script,
// the message metatable, the stack of parents for new windows and the label-localisation
// flag. The window functions, window types and message delivery come with the
// windows-and-text subsystem. UI thread only.
#pragma once

#include <vector>

#include "tvlib/script/TLuaBindings.h"
#include "tvlib/script/TScript.h"

class TWindow;

class TWindowScript : public TScript {
 public:
  // Takes the state (null: opens a new one), binds "HandleGetMessage" and builds the
  // message metatable.
  explicit TWindowScript(lua_State* L = nullptr);

  // Resumes the suspended coroutine with (nil, the closure on the stack top), so that the
  // closure runs inside it; true when it was handed over, even if the coroutine then failed.
  // Declines (false, closure popped) when the coroutine is not suspended.
  bool OfferClosure() override;
  // The task's step; a resume by the timer also ends a message wait.
  bool Animate() override;

  // Script function "HandleGetMessage" (milliseconds): with one argument the script wakes
  // after that time, otherwise only a message or a command wakes it. Yields "gYieldResult".
  int HandleGetMessage(lua_State* L);
  // Whether the coroutine waits in HandleGetMessage for a message.
  bool IsWaitingForMessage() const { return mWaitState == kWaitingForMessage; }

  // The stack of parents for new windows becomes `window` alone, or empty for null.
  void ResetParents(TWindow* window);
  const std::vector<TWindow*>& GetParents() const { return mParents; }

  // Sets whether window labels are looked up in the string table; returns the old value.
  bool SetLocalizeLabels(bool localize);
  bool GetLocalizeLabels() const { return mLocalizeLabels; }

 private:
  enum { kResumed = 0, kNotStarted = 1, kWaitingForMessage = 3 };

  int mWaitState = kNotStarted;
  bool mLocalizeLabels = false;
  std::vector<TWindow*> mParents;
  TLuaBindings mBindings;
};
