// Calls and errors. A call pushes a CallInfo record; script functions run in the VM, native
// functions at once. Protected boundaries catch TLuaThrow, close upvalues above the restored
// top and leave the error value there.
#include "tvlib/script/Call.h"

#include <cstdlib>
#include <new>

#include "tvlib/script/Api.h"
#include "tvlib/script/Collector.h"
#include "tvlib/script/Debug.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"
#include "tvlib/script/TagMethods.h"
#include "tvlib/script/Vm.h"

namespace tvs {

namespace {

// Call records per thread at most ("stack overflow"): bounds runaway recursion.
constexpr int kMaxCallInfos = 4096;
// Nested native calls after "C stack overflow" that still may run (the error handler's).
constexpr int kCallsForHandler = kMaxCalls / 8;

void CorrectStack(lua_State* L, TValue* oldstack) {
  L->top = (L->top - oldstack) + L->stack;
  for (GcObject* up = L->openupval; up; up = up->next) {
    TUpVal* u = static_cast<TUpVal*>(up);
    u->v = (u->v - oldstack) + L->stack;
  }
  for (CallInfo* ci = L->base_ci; ci <= L->ci; ci++) {
    ci->top = (ci->top - oldstack) + L->stack;
    ci->base = (ci->base - oldstack) + L->stack;
    ci->func = (ci->func - oldstack) + L->stack;
  }
  L->base = L->ci->base;
}

// Moves the arguments beyond the fixed parameters into the table `arg' (with field n), which
// takes the slot after the last parameter.
void AdjustVarargs(lua_State* L, int nfixargs, StkId base) {
  int nargs = static_cast<int>(L->top - base);
  for (; nargs < nfixargs; nargs++) SetNil(L->top++);
  const int actual = nargs - nfixargs;
  TTable* h = NewTable(L, actual, 1);
  for (int i = 0; i < actual; i++) h->array[i] = *(L->top - actual + i);
  SetNumber(TableSetStr(L, h, NewStr(L, "n")), actual);
  L->top -= actual;
  SetGc(L->top, h, kTTable);
  L->top++;
}

// A called value that is not a function goes to its "__call" tag method, which is inserted
// below the arguments as the function to call.
StkId TryCallTM(lua_State* L, StkId func) {
  const TValue* tm = GetTMByObj(L, func, TM_CALL);
  if (tm->tt != kTFunction) TypeError(L, func, "call");
  const ptrdiff_t funcr = SaveStack(L, func);
  CheckStack(L, 1);
  func = RestoreStack(L, funcr);
  for (StkId p = L->top; p > func; p--) p[0] = p[-1];
  L->top++;
  *func = *tm;
  return func;
}

CallInfo* NextCI(lua_State* L) {
  if (L->ci == L->end_ci) GrowCI(L);
  return ++L->ci;
}

}  // namespace

void Throw(lua_State* L, int status) {
  if (L->nprotected > 0) throw TLuaThrow{status};
  // No boundary: the panic function runs, then the process ends as designed.
  if (G(L)->panic) G(L)->panic(L);
  std::exit(EXIT_FAILURE);
}

int RunProtected(lua_State* L, ProtectedFn f, void* ud) {
  const int oldCcalls = L->nCcalls;
  int status = 0;
  L->nprotected++;
  try {
    f(L, ud);
  } catch (const TLuaThrow& e) {
    status = e.status;
  } catch (const std::bad_alloc&) {
    status = kErrMem;
  }
  L->nprotected--;
  L->nCcalls = oldCcalls;
  return status;
}

void CallHook(lua_State* L, int event, int line) {
  lua_Hook hook = L->hook;
  if (hook == nullptr || !L->allowhook) return;
  const ptrdiff_t top = SaveStack(L, L->top);
  const ptrdiff_t ciTop = SaveStack(L, L->ci->top);
  lua_Debug ar;
  ar.event = event;
  ar.currentline = line;
  ar.i_ci = event == kHookTailRet ? 0 : static_cast<int>(L->ci - L->base_ci);
  CheckStack(L, kMinCStack);
  L->ci->top = L->top + kMinCStack;
  L->allowhook = false;
  hook(L, &ar);
  L->allowhook = true;
  L->ci->top = RestoreStack(L, ciTop);
  L->top = RestoreStack(L, top);
}

void SetErrorObj(lua_State* L, int status, StkId oldtop) {
  switch (status) {
    case kErrMem:
      SetGc(oldtop, NewStr(L, kMemErrorMessage), kTString);
      break;
    case kErrErr:
      SetGc(oldtop, NewStr(L, "error in error handling"), kTString);
      break;
    default:
      *oldtop = *(L->top - 1);
      break;
  }
  L->top = oldtop + 1;
}

int PCall(lua_State* L, ProtectedFn f, void* ud, ptrdiff_t oldtop, ptrdiff_t ef) {
  const int oldCcalls = L->nCcalls;
  const ptrdiff_t oldci = L->ci - L->base_ci;
  const ptrdiff_t oldErrfunc = L->errfunc;
  const bool oldAllowhook = L->allowhook;
  L->errfunc = ef;
  const int status = RunProtected(L, f, ud);
  if (status != 0) {
    StkId top = RestoreStack(L, oldtop);
    CloseUpvals(L, top);
    SetErrorObj(L, status, top);
    L->nCcalls = oldCcalls;
    L->ci = L->base_ci + oldci;
    L->base = L->ci->base;
    L->allowhook = oldAllowhook;
  }
  L->errfunc = oldErrfunc;
  return status;
}

void ReallocStack(lua_State* L, int newsize) {
  TValue* oldstack = L->stack;
  const int realsize = newsize + 1 + kExtraStack;
  TValue* fresh = NewVector<TValue>(L, realsize);
  const int keep = L->stacksize < realsize ? L->stacksize : realsize;
  memcpy(static_cast<void*>(fresh), oldstack, sizeof(TValue) * static_cast<size_t>(keep));
  for (int i = keep; i < realsize; i++) SetNil(&fresh[i]);
  FreeVector(L, oldstack, L->stacksize);
  L->stack = fresh;
  L->stacksize = realsize;
  L->stack_last = L->stack + newsize;
  CorrectStack(L, oldstack);
}

void GrowStack(lua_State* L, int n) {
  if (L->stacksize > kMaxStackSize) Throw(L, kErrErr);  // overflow while handling overflow
  const int wanted = n <= L->stacksize ? 2 * L->stacksize : L->stacksize + n + kExtraStack;
  ReallocStack(L, wanted);
  if (L->stacksize > kMaxStackSize) RunError(L, "stack overflow");
}

void GrowCI(lua_State* L) {
  if (L->size_ci > kMaxCallInfos) Throw(L, kErrErr);  // overflow while handling overflow
  const ptrdiff_t used = L->ci - L->base_ci;
  ResizeVector(L, L->base_ci, L->size_ci, 2 * L->size_ci);
  L->size_ci *= 2;
  L->ci = L->base_ci + used;
  L->end_ci = L->base_ci + L->size_ci - 1;
  if (L->size_ci > kMaxCallInfos) RunError(L, "stack overflow");
}

int PreCall(lua_State* L, StkId func, int nresults) {
  if (func->tt != kTFunction) func = TryCallTM(L, func);
  const ptrdiff_t funcr = SaveStack(L, func);
  TClosure* cl = ClosureValue(func);
  if (!cl->isC) {
    TProto* p = static_cast<TLClosure*>(cl)->p;
    CheckStack(L, p->maxstacksize);
    func = RestoreStack(L, funcr);
    StkId base = func + 1;
    if (p->isVararg) {
      AdjustVarargs(L, p->numparams, base);
      // The table of extra arguments may be all a loop allocates: let the collector step (a
      // finaliser it runs may move the stack).
      CheckGC(L);
      base = RestoreStack(L, funcr) + 1;
    } else if (L->top > base + p->numparams) {
      L->top = base + p->numparams;
    }
    CallInfo* ci = NextCI(L);
    ci->func = RestoreStack(L, funcr);
    L->base = ci->base = base;
    ci->top = base + p->maxstacksize;
    ci->savedpc = p->code;
    ci->tailcalls = 0;
    ci->nresults = nresults;
    ci->yielded = false;
    ci->hookpc = nullptr;
    for (StkId st = L->top; st < ci->top; st++) SetNil(st);
    L->top = ci->top;
    if (L->hookmask & kMaskCall) {
      ci->savedpc++;  // the hook sees the function's first line
      CallHook(L, kHookCall, -1);
      L->ci->savedpc--;
    }
    return kPcrLua;
  }
  CheckStack(L, kMinCStack);
  CallInfo* ci = NextCI(L);
  ci->func = RestoreStack(L, funcr);
  L->base = ci->base = ci->func + 1;
  ci->top = L->top + kMinCStack;
  ci->savedpc = nullptr;
  ci->tailcalls = 0;
  ci->nresults = nresults;
  ci->yielded = false;
  ci->hookpc = nullptr;
  if (L->hookmask & kMaskCall) CallHook(L, kHookCall, -1);
  const int n = static_cast<TCClosure*>(cl)->f(L);
  if (n < 0) return kPcrYield;
  PosCall(L, L->top - n);
  return kPcrC;
}

void PosCall(lua_State* L, StkId firstResult) {
  if (L->hookmask & kMaskRet) {
    const ptrdiff_t fr = SaveStack(L, firstResult);
    CallHook(L, kHookRet, -1);
    if (IsLuaFrame(L->ci))
      for (int lost = L->ci->tailcalls; lost > 0; lost--) CallHook(L, kHookTailRet, -1);
    firstResult = RestoreStack(L, fr);
  }
  CallInfo* ci = L->ci;
  StkId res = ci->func;
  int wanted = ci->nresults;
  L->ci--;
  L->base = L->ci->base;
  for (; wanted != 0 && firstResult < L->top; wanted--) *res++ = *firstResult++;
  for (; wanted > 0; wanted--) SetNil(res++);
  L->top = res;
}

void Call(lua_State* L, StkId func, int nresults) {
  if (++L->nCcalls >= kMaxCalls) {
    if (L->nCcalls == kMaxCalls) RunError(L, "C stack overflow");
    if (L->nCcalls >= kMaxCalls + kCallsForHandler) Throw(L, kErrErr);
  }
  const int kind = PreCall(L, func, nresults);
  if (kind == kPcrLua)
    Execute(L, 1);
  else if (kind == kPcrYield)
    RunError(L, "attempt to yield across metamethod/C-call boundary");
  L->nCcalls--;
  CheckGC(L);
}

namespace {

void ResumeBody(lua_State* L, void* ud) {
  const int nargs = *static_cast<int*>(ud);
  if (L->nCcalls >= kMaxCalls) RunError(L, "C stack overflow");
  CallInfo* ci = L->ci;
  if (ci == L->base_ci) {
    if (PreCall(L, L->top - (nargs + 1), kMultRet) != kPcrLua) return;  // a native function
  } else {
    // Finish the call that yielded: its arguments to resume are its results.
    ci->yielded = false;
    const int wanted = ci->nresults;
    PosCall(L, L->top - nargs);
    if (wanted >= 0) L->top = L->ci->top;
    if (L->ci == L->base_ci) return;
  }
  // Every record of a coroutine above the base is a script function (no native call can be
  // crossed by a yield), so the VM runs until all of them have returned or one yields.
  Execute(L, static_cast<int>(L->ci - L->base_ci));
}

int ResumeError(lua_State* L, const char* msg) {
  L->top = L->ci->base;
  SetGc(L->top, NewStr(L, msg), kTString);
  IncrTop(L);
  return kErrRun;
}

}  // namespace

int Resume(lua_State* L, int nargs) {
  if (L->ci == L->base_ci) {
    if (nargs >= L->top - L->base) return ResumeError(L, "cannot resume dead coroutine");
  } else if (!L->ci->yielded) {
    return ResumeError(L, "cannot resume non-suspended coroutine");
  }
  // Each resume nests the VM once more on the native stack: the coroutine goes on counting
  // from the thread that resumes it, so a chain of resumes meets the same limit as a chain of
  // native calls.
  GlobalState* g = G(L);
  lua_State* const previous = g->resumed;
  const lua_State* resumer = previous != nullptr ? previous : g->mainthread;
  if (L != resumer) L->nCcalls = resumer->nCcalls + 1;
  L->baseCcalls = L->nCcalls;
  g->resumed = L;
  const int status = RunProtected(L, ResumeBody, &nargs);
  g->resumed = previous;
  if (status != 0) {
    L->ci = L->base_ci;
    L->base = L->ci->base;
    L->nCcalls = L->baseCcalls;
    L->allowhook = true;
    CloseUpvals(L, L->base);
    SetErrorObj(L, status, L->base);
  }
  return status;
}

int Yield(lua_State* L, int nresults) {
  CallInfo* ci = L->ci;
  if (L->nCcalls > L->baseCcalls || !L->allowhook)
    RunError(L, "attempt to yield across metamethod/C-call boundary");
  if (!IsLuaFrame(ci - 1)) RunError(L, "cannot yield a C function");
  // Keep only the yielded values, at the base of the native function's frame.
  if (L->top - nresults > L->base) {
    for (int i = 0; i < nresults; i++) L->base[i] = L->top[i - nresults];
    L->top = L->base + nresults;
  }
  ci->yielded = true;
  return -1;
}

}  // namespace tvs
