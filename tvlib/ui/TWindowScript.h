// The window script: the one script in which screens, dialogs and menus are built. It binds
// the native window functions as script globals, runs the window script library
// ("gScreenInit", built into the program), builds windows from script tables (the create
// functions and SetupWindow with its coordinate codes), and carries the windows' messages and
// the buttons' commands to the script: straight into a waiting "HandleGetMessage", else into
// "gMessageQueue" and "gCommandQueue".
//
// Messages pushed into the script belong to it from then on (the message metatable's __gc
// deletes them). Needs the window manager (TWindowManager::Get) for modal windows, focus and
// the message queue; without one the window functions do nothing. UI thread only.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/script/TScript.h"
#include "tvlib/ui/TWindowFactory.h"

class TFlashMovie;
class TMessage;
class TModalWindow;
class TWindow;

class TWindowScript : public TScript {
 public:
  // Takes the state (null: opens a new one), binds the window functions, registers the
  // factories "_button", "_text" and "_textedit" with the window manager, builds the message
  // metatable and runs the window script library.
  explicit TWindowScript(lua_State* L = nullptr);
  ~TWindowScript() override;

  // Resumes a coroutine waiting in HandleGetMessage with (nil, the closure on the stack top),
  // so that the closure runs inside it; true when it was handed over, even if the coroutine
  // then failed. Declines (false, closure popped) when the script does not wait for a message.
  bool OfferClosure() override;
  // The task's step; a resume by the timer also ends a message wait.
  bool Animate() override;

  // Hands a message (owned; may be null) and a button's command (not owned; may be null) to
  // the script. Not suspended: both are appended to the queues; waiting in HandleGetMessage:
  // the script resumes with them; suspended otherwise: the command runs at once and the
  // message is refused (false, still the caller's).
  bool QueueMessageToLua(TMessage* message, TLuaObjectWrapper* command);
  // Whether the coroutine waits in HandleGetMessage for a message.
  bool IsWaitingForMessage() const { return mWaitState == kWaitingForMessage; }

  // Makes "<name>{ ... }" a constructor of windows made by `creator`.
  void RegisterWindowType(const TString& name, TWindowCreator creator);

  // The stack of parents for new windows: ResetParents makes it `window` alone (empty for
  // null), PushParent appends, PopWindow removes the top but never the last entry.
  void ResetParents(TWindow* window);
  void PushParent(TWindow* window);
  void PopWindow();
  const std::vector<TWindow*>& GetParents() const { return mParents; }
  TWindow* GetTopParent() const { return mParents.empty() ? nullptr : mParents.back(); }

  // Sets whether window labels are looked up in the string table; returns the old value.
  bool SetLocalizeLabels(bool localize);
  bool GetLocalizeLabels() const { return mLocalizeLabels; }

 private:
  enum { kResumed = 0, kNotStarted = 1, kWaitingForMessage = 3 };

  void BindNatives();
  void RunLibrary();
  // Pushes the message for the script, which owns it from then on: the value a script posted
  // for a message it made, else the native message.
  void PushOwnedMessage(TMessage* message);

  // --- Creating windows (TWindowScriptCreate.cpp); the table is argument 1 ---------------
  int CreateWindowFromTable(lua_State* L);
  int CreateBitmap(lua_State* L);
  int CreateText(lua_State* L);
  int CreateTextEdit(lua_State* L);
  int CreateButton(lua_State* L);
  int GenericCreate(lua_State* L);
  // The window of the table's "factory" (style rules), else `fallback`'s.
  TWindow* MakeWindow(lua_State* L, const char* defaultFactory, TWindowCreator fallback);
  // Adds the window to the top parent and places it by the table's keys; false (the window
  // deleted) when the parent refuses it.
  bool SetupWindow(lua_State* L, TWindow* window);
  // Font, label, flags, size and rotation of a text window or text edit from the table.
  void InitTextWindow(lua_State* L, TWindow* window, bool localize);
  TString LocalizeLabel(const TString& label) const;

  // --- Window functions (TWindowScriptNatives.cpp) ---------------------------------------
  void PostCreate(TString typeName);
  TString GetLabel(TString name);
  void SetLabel(TString name, TString text);
  void SetBitmap(TString name, TString image, float scale);
  void SetPosition(TString name, int x, int y);
  int SetCommand(lua_State* L);
  unsigned GetTimer();
  void DoSelectLayer(int layer);
  void RealSetFocus(TString name);
  bool StringToClipboard(TString text);
  void UpdateWindow();
  TString PushModal(TString name);
  void ClearModalChildren();
  void DoPopModal();
  int CreateCloseMessage(lua_State* L);
  int PostMessage(lua_State* L);
  int PostMessageToParent(lua_State* L);
  TString GetString(TString key, TString a1, TString a2, TString a3, TString a4, TString a5);
  bool StartMovie(TString name);
  bool IsMoviePlaying();
  void StopMovie();
  bool ImageLoaded(TString name);
  void DestroyWindow(TString name);
  // Script function "HandleGetMessage" (milliseconds): with a time the script wakes after
  // it, otherwise only a message or a command wakes it. Yields "gYieldResult".
  int HandleGetMessage(lua_State* L);
  // The named window below the top modal window (FindChild at any depth), or null.
  TWindow* FindBelowTopModal(const TString& name) const;

  int mWaitState = kNotStarted;
  bool mLocalizeLabels = false;
  std::vector<TWindow*> mParents;
  std::map<TString, TWindowCreator> mWindowTypes;
  std::unique_ptr<TFlashMovie> mMovie;
  TLuaBindings mBindings;
};
