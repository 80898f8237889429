// Scripts as tasks: running files and text, calls while suspended, the coroutine step, and
// the value operations on the stack top and the globals.
#include "tvlib/script/TScript.h"

#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/script/TLuaStackGuard.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScriptCode.h"
#include "tvlib/script/TScriptFiles.h"
#include "tvlib/script/TScriptRandom.h"

namespace {

// The text of a value for a log line: its text, or its type for values without one.
TString TextForLog(lua_State* L, int idx) {
  if (lua_isstring(L, idx) && lua_type(L, idx) != LUA_TWSTRING) return LuaToString(L, idx);
  return TString::Format("(a %s value)", lua_typename(L, lua_type(L, idx)));
}

int LuaAlert(lua_State* L) {
  DebugLog("Lua error: %s", TextForLog(L, 1).c_str());
  return 0;
}

void DiscardText(TString) {}

// Logs each pair of the table argument; texts are taken from copies so numbers stay numbers.
int LuaDumpTable(lua_State* L) {
  if (!lua_istable(L, 1)) return 0;
  lua_settop(L, 1);
  lua_pushnil(L);
  while (lua_next(L, 1)) {
    lua_pushvalue(L, -2);
    lua_pushvalue(L, -2);
    DebugLog("%s[%s] - %s[%s]", LuaToString(L, -2).c_str(), lua_typename(L, lua_type(L, -2)),
             LuaToString(L, -1).c_str(), lua_typename(L, lua_type(L, -1)));
    lua_pop(L, 3);
  }
  return 0;
}

// Passes on every argument, nils included.
constexpr char kGetClosure[] =
    "function GetClosure(f, ...) return function() return f(unpack(arg)) end end";

void PushGlobal(lua_State* L, const char* name) {
  lua_pushstring(L, name);
  lua_gettable(L, LUA_GLOBALSINDEX);
}

}  // namespace

TScript::TScript(lua_State* L)
    : mLimits(L != nullptr ? nullptr : std::make_unique<TScriptLimits>(AssetScriptBudget())),
      mL(L != nullptr ? L : mLimits->OpenState()) {
  Suspend();
  UseEngineFilesForScripts();
  UseEngineRandomForScripts();
  OpenLibraries();
}

TScript::~TScript() {
  DeletePending();
  lua_close(mL);
}

void TScript::OpenLibraries() {
  luaopen_base(mL);
  luaopen_string(mL);
  luaopen_table(mL);
  lua_register(mL, "_ALERT", LuaAlert);
  BindFunction(mL, "DebugOut", DiscardText);
  lua_register(mL, "DumpTable", LuaDumpTable);
  lua_pushstring(mL, "_SCRIPT");
  lua_pushlightuserdata(mL, this);
  lua_settable(mL, LUA_GLOBALSINDEX);
}

void TScript::DeletePending() {
  std::vector<TLuaObjectWrapper*> pending;
  pending.swap(mPending);
  for (TLuaObjectWrapper* object : pending) delete object;
}

void TScript::Alert() {
  PushGlobal(mL, "_ALERT");
  if (!lua_isfunction(mL, -1)) {
    lua_pop(mL, 1);
    DebugLog("Lua error: %s", TextForLog(mL, -1).c_str());
    lua_pop(mL, 1);
    return;
  }
  lua_insert(mL, -2);
  if (TScriptLimits::Call(mL, 1, 0, 0) != 0)
    lua_pop(mL, 1);  // a failing handler must not end the program
}

bool TScript::RunScript(const TString& fileName) {
  if (fileName.Length() == 0 || !FileExists(fileName)) return false;
  const int top = lua_gettop(mL);
  bool ok = false;
  const std::shared_ptr<TScriptCode> code = TScriptCode::Get(fileName);
  if (!code) {
    DebugLog("Lua error: cannot compile %s", fileName.c_str());
  } else if (luaL_loadbuffer(mL, code->GetCode().data(), code->GetCode().size(),
                             fileName.c_str()) != 0) {
    Alert();
  } else {
    const int status = RunFunction(0, 1);
    ok = status == 0;
    if (!ok) DebugLog("Failed to run script %s: %d", fileName.c_str(), status);
  }
  if (!IsYielded()) lua_settop(mL, top);
  return ok;
}

void TScript::DoLuaString(const char* code, int length) {
  const size_t size = length < 0 ? std::strlen(code) : static_cast<size_t>(length);
  const std::string text(code, size);
  // A compiled chunk's bytes are neither a name nor something to write into the log.
  const bool binary = size > 0 && static_cast<unsigned char>(code[0]) == LUA_SIGNATURE_BYTE;
  const int start = lua_gettop(mL);
  const char* stage = "parsing";
  int status =
      luaL_loadbuffer(mL, text.data(), text.size(), binary ? "=(binary chunk)" : text.c_str());
  if (status == 0) {
    stage = "running";
    status = RunFunction(0, 1);
    if (status == 0) {
      if (!IsYielded()) lua_settop(mL, start);  // the result is not wanted
      return;
    }
  }
  const int top = lua_gettop(mL);
  const TString message =
      TString::Format("Lua Error: %s\n\twhen %s", TextForLog(mL, -1).c_str(), stage);
  DebugLog("DoLuaString %s %s", message.c_str(), binary ? "(binary chunk)" : text.c_str());
  PushGlobal(mL, "LuaErrorMessage");
  if (!lua_isnil(mL, -1)) {
    PushLuaString(mL, message);
    TScriptLimits::Call(mL, 1, 0, 0);
  }
  lua_settop(mL, top - 1 < start ? start : top - 1);
}

void TScript::MakeClosure(int nargs) {
  PushGlobal(mL, "_ALERT");
  lua_insert(mL, 1);
  PushGlobal(mL, "GetClosure");
  if (lua_isnil(mL, -1)) {
    lua_pop(mL, 1);
    luaL_loadbuffer(mL, kGetClosure, sizeof kGetClosure - 1, "=GetClosure");
    TScriptLimits::Call(mL, 0, 0, 0);
    PushGlobal(mL, "GetClosure");
  }
  lua_insert(mL, -(nargs + 2));
  TScriptLimits::Call(mL, nargs + 1, 1, 1);
  lua_remove(mL, 1);
}

int TScript::RunFunction(int nargs, int nresults) {
  DeletePending();
  mLastStop = TScriptStop::kNone;
  if (IsYielded() && nresults <= 1) {
    MakeClosure(nargs);
    TLuaFunction closure(mL);
    closure.Push();
    if (OfferClosure()) return 0;
    closure.Push();
    nargs = 0;
  }
  PushGlobal(mL, "_ALERT");
  lua_insert(mL, 1);
  const int status = TScriptLimits::Call(mL, nargs, nresults, 1);
  mLastStop = TScriptLimits::StopOf(mL);
  lua_remove(mL, 1);
  if (status != 0) {
    if (nresults >= 2) {
      DebugLog("TScript::RunFunction failure. Too many return results? (%d, FAILURE CODE %d)",
               nresults, status);
    }
    return status;
  }
  if (!IsYielded() && nresults == 1 && lua_isfunction(mL, -1)) {
    // The result becomes the script's coroutine, started at once.
    if (GetTimePastDue() == -1) SetPeriod(0, false, true, false);
    mCoroutineBase = lua_gettop(mL) - 1;
    const int started = TScriptLimits::Resume(mL, 0);
    if (TScriptLimits::StopOf(mL) != TScriptStop::kNone) mLastStop = TScriptLimits::StopOf(mL);
    if (started != 0) {
      DebugLog("lua_resume error: %s", TextForLog(mL, -1).c_str());
      lua_pop(mL, 1);
    }
    if (!IsYielded()) {  // it ended (or failed) on its first run: nothing is left to resume
      Suspend();
      if (lua_gettop(mL) > mCoroutineBase) lua_settop(mL, mCoroutineBase);
    }
  }
  return 0;
}

int TScript::Resume(int nargs) {
  DeletePending();
  const int status = TScriptLimits::Resume(mL, nargs);
  mLastStop = TScriptLimits::StopOf(mL);
  if (status != 0) {
    DebugLog("lua_resume ERROR: %s", TextForLog(mL, -1).c_str());
    lua_pop(mL, 1);
  }
  return status;
}

bool TScript::Animate() {
  if (Resume(0) != 0) Suspend();
  if (!IsYielded()) {
    Suspend();
    if (lua_gettop(mL) > mCoroutineBase) lua_settop(mL, mCoroutineBase);  // its results
  }
  return true;
}

bool TScript::OfferClosure() {
  lua_pop(mL, 1);
  return false;
}

double TScript::PopNumber() {
  const double n = lua_tonumber(mL, -1);
  lua_pop(mL, 1);
  return n;
}

TString TScript::PopString() {
  TString s = LuaToString(mL, -1);
  lua_pop(mL, 1);
  return s;
}

bool TScript::PopBool() {
  bool result = false;
  switch (lua_type(mL, -1)) {
    case LUA_TNIL:
      break;
    case LUA_TBOOLEAN:
      result = lua_toboolean(mL, -1) != 0;
      break;
    case LUA_TNUMBER:
      result = lua_tonumber(mL, -1) != 0;
      break;
    case LUA_TSTRING:
      DebugLog("PopBool used on lua string %s", LuaToString(mL, -1).c_str());
      break;
    default:
      DebugLog("PopBool used on a type that isn't a number, a boolean, or nil. (type: %d)",
               lua_type(mL, -1));
      return false;
  }
  lua_pop(mL, 1);
  return result;
}

bool TScript::PushTableItem(int n) {
  if (!lua_istable(mL, -1)) return false;
  lua_rawgeti(mL, -1, n);
  if (!lua_isnil(mL, -1)) return true;
  lua_pop(mL, 1);
  return false;
}

TString TScript::GetGlobalString(const char* name) {
  TLuaStackGuard guard(mL);
  PushGlobal(mL, name);
  return LuaToString(mL, -1);
}

void TScript::SetGlobalString(const char* name, const TString& text) {
  lua_pushstring(mL, name);
  PushLuaString(mL, text);
  lua_settable(mL, LUA_GLOBALSINDEX);
}

TLuaTable* TScript::GetGlobalTable(const char* name) {
  TLuaStackGuard guard(mL);
  PushGlobal(mL, name);
  return lua_istable(mL, -1) ? new TLuaTable(mL) : nullptr;
}

double TScript::GetGlobalNumber(const char* name) {
  TLuaStackGuard guard(mL);
  PushGlobal(mL, name);
  return lua_tonumber(mL, -1);
}
