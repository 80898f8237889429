// The window script: its functions and library, the message wait, the closure hook and the
// delivery of messages and commands.
#include "tvlib/ui/TWindowScript.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/NumberConversion.h"
#include "tvlib/script/TLuaStackGuard.h"
#include "tvlib/script/TScriptLimits.h"
#include "tvlib/ui/TFlashMovie.h"
#include "tvlib/ui/TLuaMessageWrapper.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowFactories.h"
#include "tvlib/ui/TWindowManager.h"

// The window script library, precompiled at build time.
extern const unsigned char kScreenInitLibrary[];
extern const size_t kScreenInitLibrarySize;

namespace {

// "type" and "name" of a message; nil for any other key.
int MessageIndex(lua_State* L) {
  const TMessage* message = TMessage::ToMessage(L, 1);
  const char* key = lua_tostring(L, 2);
  if (message == nullptr || key == nullptr) return 0;
  const TString field(key);
  if (field == "type") {
    lua_pushnumber(L, message->mType);
  } else if (field == "name") {
    PushLuaString(L, message->mName);
  } else {
    lua_pushnil(L);
  }
  return 1;
}

// The message metatable's __gc: the script's message goes with its value.
int MessageCollect(lua_State* L) {
  delete static_cast<TMessage*>(lua_touserdata(L, 1));
  return 0;
}

void BuildMessageMetatable(lua_State* L) {
  lua_pushstring(L, kMessageMetatable);
  lua_newtable(L);
  lua_pushstring(L, "__index");
  lua_pushcfunction(L, MessageIndex);
  lua_settable(L, -3);
  lua_pushstring(L, "__gc");
  lua_pushcfunction(L, MessageCollect);
  lua_settable(L, -3);
  lua_settable(L, LUA_REGISTRYINDEX);
}

// Calls the value a command holds, protected; its result is dropped.
void CallCommand(lua_State* L, TLuaObjectWrapper* command) {
  TLuaStackGuard guard(L);
  lua_pushstring(L, "_ALERT");
  lua_gettable(L, LUA_GLOBALSINDEX);
  command->Push();
  if (lua_isfunction(L, -1)) TScriptLimits::Call(L, 0, 0, -2);
}

}  // namespace

TWindowScript::TWindowScript(lua_State* L) : TScript(L) {
  BindNatives();
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->SetFactory("_button", new TButtonFactory);
    manager->SetFactory("_text", new TTextFactory);
    manager->SetFactory("_textedit", new TTextEditFactory);
  }
  BuildMessageMetatable(GetState());
  RunLibrary();
}

TWindowScript::~TWindowScript() = default;

void TWindowScript::RunLibrary() {
  lua_State* L = GetState();
  const int top = lua_gettop(L);
  if (luaL_loadbuffer(L, reinterpret_cast<const char*>(kScreenInitLibrary), kScreenInitLibrarySize,
                      "gScreenInit") != 0 ||
      TScriptLimits::Call(L, 0, 0, 0) != 0) {
    DebugLog("TWindowScript: the window script library failed: %s", lua_tostring(L, -1));
  }
  lua_settop(L, top);
}

// --- Messages and commands -------------------------------------------------------------

bool TWindowScript::OfferClosure() {
  lua_State* L = GetState();
  if (!IsYielded() || !IsWaitingForMessage()) {
    lua_pop(L, 1);
    return false;
  }
  lua_pushnil(L);
  lua_insert(L, -2);
  // Whatever the outcome, the coroutine has left its wait and the closure has run there: it
  // counts as taken even when the coroutine then fails (logged by Resume), so that the caller
  // does not run the command a second time.
  mWaitState = kResumed;
  Resume(2);
  if (!IsYielded()) Suspend();  // ended or failed: nothing left to wake
  return true;
}

bool TWindowScript::Animate() {
  mWaitState = kResumed;
  return TScript::Animate();
}

void TWindowScript::PushOwnedMessage(TMessage* message) {
  lua_State* L = GetState();
  if (message->IsKindOf(TLuaMessageWrapper::GetClassId())) {
    static_cast<TLuaMessageWrapper*>(message)->PushValue();
    delete message;
    return;
  }
  // The message leaves the window tree: its window may go while the script keeps it.
  message->mTarget = nullptr;
  TMessage::PushMessage(L, message);
}

bool TWindowScript::QueueMessageToLua(TMessage* message, TLuaObjectWrapper* command) {
  lua_State* L = GetState();
  if (!IsYielded()) {
    if (message) {
      lua_pushstring(L, "gMessageToQueue");
      PushOwnedMessage(message);
      lua_settable(L, LUA_GLOBALSINDEX);
      DoLuaString("table.insert(gMessageQueue,gMessageToQueue); gMessageToQueue=nil;");
    }
    if (command) {
      lua_pushstring(L, "gMessageCommand");
      command->Push();
      lua_settable(L, LUA_GLOBALSINDEX);
      DoLuaString("table.insert(gCommandQueue,gMessageCommand); gMessageCommand=nil;");
    }
    return true;
  }
  if (!IsWaitingForMessage()) {
    // A plain yield or a timed wait of another kind: the command cannot wait for it.
    if (command) CallCommand(L, command);
    return false;
  }
  PushOwnedMessage(message ? message : new TMessage(kMessageLuaAction, TString("")));
  int count = 1;
  if (command) {
    command->Push();
    ++count;
  }
  mWaitState = kResumed;
  Resume(count);
  if (!IsYielded()) Suspend();  // ended or failed: nothing left to wake
  return true;
}

int TWindowScript::HandleGetMessage(lua_State* L) {
  if (lua_gettop(L) >= 1 && !lua_isnil(L, 1)) {
    // A negative time wakes at once rather than in some fifty days.
    const int wait = tvs::NumberToInt(lua_tonumber(L, 1));
    SetPeriod(static_cast<uint32_t>(wait < 0 ? 0 : wait), false, true, false);
  } else {
    Suspend();
  }
  mWaitState = kWaitingForMessage;
  lua_pushstring(L, "gYieldResult");
  lua_gettable(L, LUA_GLOBALSINDEX);
  return lua_yield(L, 1);
}

int TWindowScript::CreateCloseMessage(lua_State* L) {
  TWindow* parent = GetTopParent();
  TMessage::PushMessage(L, new TMessage(kMessageClose, parent ? parent->GetIdText() : TString("")));
  return 1;
}

int TWindowScript::PostMessage(lua_State* L) {
  lua_settop(L, 1);
  auto* message = new TLuaMessageWrapper(L);
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->PostMessage(message);
  } else {
    delete message;
  }
  return 0;
}

int TWindowScript::PostMessageToParent(lua_State* L) {
  lua_settop(L, 1);
  auto* message = new TLuaMessageWrapper(L);
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
  if (!top) {
    delete message;
    return 0;
  }
  message->mTarget = top->GetParent();
  manager->PostMessage(message);
  return 0;
}

// --- Parents and settings --------------------------------------------------------------

void TWindowScript::ResetParents(TWindow* window) {
  mParents.clear();
  if (window != nullptr) mParents.push_back(window);
}

void TWindowScript::PushParent(TWindow* window) {
  mParents.push_back(window);
}

void TWindowScript::PopWindow() {
  if (mParents.size() > 1) mParents.pop_back();
}

bool TWindowScript::SetLocalizeLabels(bool localize) {
  const bool old = mLocalizeLabels;
  mLocalizeLabels = localize;
  return old;
}

void TWindowScript::RegisterWindowType(const TString& name, TWindowCreator creator) {
  const char* n = name.c_str();
  const TString text = TString::Format(
      "function %s( table )\tCreating( '%s', table );\ttable.create=GenericCreate;"
      "\ttable.typename='%s';\n\treturn Window(table);end;",
      n, n, n);
  DoLuaString(text.c_str());
  mWindowTypes[name] = creator;
}
