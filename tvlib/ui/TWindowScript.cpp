// The window script's message wait and closure hook.
#include "tvlib/ui/TWindowScript.h"

#include "tvlib/script/Limits.h"
#include "tvlib/ui/TMessage.h"

namespace {

// "type" and "name" of a message; nil for any other key.
int MessageIndex(lua_State* L) {
  const auto* message = static_cast<const TMessage*>(lua_touserdata(L, 1));
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

}  // namespace

TWindowScript::TWindowScript(lua_State* L) : TScript(L) {
  lua_State* state = GetState();
  mBindings.Bind(state, "HandleGetMessage", this, &TWindowScript::HandleGetMessage);
  lua_pushstring(state, kMessageMetatable);
  lua_newtable(state);
  lua_pushstring(state, "__index");
  lua_pushcfunction(state, MessageIndex);
  lua_settable(state, -3);
  lua_settable(state, LUA_REGISTRYINDEX);
}

bool TWindowScript::OfferClosure() {
  lua_State* L = GetState();
  if (!IsYielded()) {
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

int TWindowScript::HandleGetMessage(lua_State* L) {
  if (lua_gettop(L) == 1) {
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

void TWindowScript::ResetParents(TWindow* window) {
  mParents.clear();
  if (window != nullptr) mParents.push_back(window);
}

bool TWindowScript::SetLocalizeLabels(bool localize) {
  const bool old = mLocalizeLabels;
  mLocalizeLabels = localize;
  return old;
}
