// Calls, returns, the value stack and errors of the script runtime. Errors unwind with a
// private C++ exception (TLuaThrow) that only the protected boundaries here catch; nothing
// outside the runtime ever sees it.
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

// Status codes of protected calls.
enum : int { kErrRun = 1, kErrFile = 2, kErrSyntax = 3, kErrMem = 4, kErrErr = 5 };
// Result count meaning "all of them".
constexpr int kMultRet = -1;

struct TLuaThrow {
  int status;
};

[[noreturn]] void Throw(lua_State* L, int status);
// Runs f(L, ud) catching script errors; returns 0 or the error status. The stack and call
// records are not restored (PCall does that).
using ProtectedFn = void (*)(lua_State* L, void* ud);
int RunProtected(lua_State* L, ProtectedFn f, void* ud);
// Runs f protected and, on error, restores the call depth and the stack to `oldtop' with the
// error value on top. `ef' is the stack offset of the error handler (0: none).
int PCall(lua_State* L, ProtectedFn f, void* ud, ptrdiff_t oldtop, ptrdiff_t ef);

// Stack room: at least n free slots above the top.
void ReallocStack(lua_State* L, int newsize);
void GrowStack(lua_State* L, int n);
inline void CheckStack(lua_State* L, int n) {
  if (L->stack_last - L->top <= n) GrowStack(L, n);
}
inline void IncrTop(lua_State* L) {
  CheckStack(L, 1);
  L->top++;
}
void GrowCI(lua_State* L);

// Prepares a call of the value at func with the arguments above it. For a script function it
// pushes a frame and returns kPcrLua (the VM runs it); a native function runs at once and its
// results are moved into place (kPcrC), unless it yielded its coroutine (kPcrYield: its record
// stays until the coroutine is resumed).
enum : int { kPcrLua = 0, kPcrC = 1, kPcrYield = 2 };
int PreCall(lua_State* L, StkId func, int nresults);
// Moves the results starting at firstResult to the frame's function slot and pops the frame.
void PosCall(lua_State* L, StkId firstResult);
// Calls the value at func with the arguments above it; leaves nresults results at func.
void Call(lua_State* L, StkId func, int nresults);

// Calls the debug hook for an event (line: the current line, else -1) unless a hook runs.
void CallHook(lua_State* L, int event, int line);

// Coroutines. Resume starts the function below the nargs arguments on a thread with no
// activation, or continues one suspended by Yield; returns 0 or an error status (the message
// then on the thread's stack). Yield is returned by a native function: return Yield(L, n).
int Resume(lua_State* L, int nargs);
int Yield(lua_State* L, int nresults);

// Pushes the message of an error status (the fixed text for memory errors) at oldtop.
void SetErrorObj(lua_State* L, int status, StkId oldtop);

}  // namespace tvs
