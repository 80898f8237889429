// Debug information and run-time errors: positions and variable names in messages, the
// error handler of protected calls, and the verifier of loaded code (symbolic execution).
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

// Formats (see PushFString), prefixes the position of the running script function, raises.
[[noreturn]] void RunError(lua_State* L, const char* fmt, ...);
// Raises the value on the stack top as a run-time error, through the error handler if any.
[[noreturn]] void ErrorMsg(lua_State* L);
[[noreturn]] void TypeError(lua_State* L, const TValue* o, const char* op);
[[noreturn]] void ConcatError(lua_State* L, const TValue* p1, const TValue* p2, bool wide);
[[noreturn]] void ArithError(lua_State* L, const TValue* p1, const TValue* p2);
[[noreturn]] void OrderError(lua_State* L, const TValue* p1, const TValue* p2);

bool IsLuaFrame(const CallInfo* ci);
int CurrentPc(const CallInfo* ci);
int CurrentLine(const CallInfo* ci);
// Kind ("global", "local", "method", "field") and name of the value in a frame's register,
// or null when none is known.
const char* GetObjName(CallInfo* ci, int stackpos, const char** name);
// Name of the function running in ci as its caller called it; null when unknown.
const char* GetFuncName(CallInfo* ci, const char** name);
// Whether a prototype's code is safe to run (its nested prototypes are checked apart).
bool CheckCode(const TProto* pt);

}  // namespace tvs
