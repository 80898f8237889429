// The script state: a thread (lua_State) with its value stack and call records, and the global
// state all threads of one state share (string table, registry, per-type tables, collector
// lists, allocator). Needs Object.h. Threads are used by one OS thread at a time.
#pragma once

#include "tvlib/script/Object.h"

struct lua_Debug;
// Debug hook: called with the event in ar->event (see the hook events of the API).
using lua_Hook = void (*)(lua_State* L, lua_Debug* ar);

// Allocation hook: (user word, block or null, old size, new size, 0, 1 while the scratch buffer
// grows). Returns the new block, or null when the new size is 0 (block freed) or on failure.
using lua_Alloc = void* (*)(void* ud, void* block, size_t osize, size_t nsize, int reserved,
                            int scratch);

namespace tvs {

// Tag-method events, in their stored order.
enum TMS : int {
  TM_INDEX,
  TM_NEWINDEX,
  TM_GC,
  TM_MODE,
  TM_EQ,  // last event whose absence a table caches in its flags
  TM_ADD,
  TM_SUB,
  TM_MUL,
  TM_DIV,
  TM_POW,
  TM_UNM,
  TM_LT,
  TM_LE,
  TM_CONCAT,
  TM_CALL,
  TM_N
};

// One activation record. `func' holds the called function, `base' its first register.
struct CallInfo {
  StkId func;
  StkId base;
  StkId top;                   // limit of this frame's stack use
  const Instruction* savedpc;  // next instruction of a script function
  int nresults;                // results the caller wants (-1: all)
  int tailcalls;               // tail calls lost under this record
  bool yielded;                // a native function that yielded its coroutine
  const Instruction* hookpc;   // instruction last seen by the line hook (null: none yet)
};

// Hook events and the masks that select them.
enum : int { kHookCall, kHookRet, kHookLine, kHookCount, kHookTailRet };
constexpr uint8_t kMaskCall = 1 << kHookCall, kMaskRet = 1 << kHookRet, kMaskLine = 1 << kHookLine,
                  kMaskCount = 1 << kHookCount;

struct StringTable {
  TStr** hash = nullptr;
  uint32_t nuse = 0;
  int size = 0;
};

struct GlobalState {
  StringTable strt;
  lua_Alloc alloc = nullptr;
  void* allocUd = nullptr;
  GcObject* rootgc = nullptr;     // every collectable object but strings and open upvalues
  GcObject* rootudata = nullptr;  // full userdata
  GcObject* tmudata = nullptr;    // userdata waiting for their __gc
  char* buff = nullptr;           // scratch buffer of the lexer and concatenation
  size_t buffsize = 0;
  size_t gcThreshold = 0;
  size_t nblocks = 0;  // bytes in use
  lua_CFunction panic = nullptr;
  TValue registry;
  TValue typeSlots[kTypeSlots];
  TTable* defaultMeta = nullptr;
  lua_State* mainthread = nullptr;
  TNode dummynode[1];  // the shared node of tables without a hash part
  TStr* tmname[TM_N] = {};
  lua_State* resumed = nullptr;  // the coroutine running now (null: the host's thread)
  bool gcRunning = false;
  bool gcStress = false;  // collect at every check (a test hook)
};

}  // namespace tvs

struct lua_State : tvs::GcObject {
  tvs::StkId top;   // first free slot
  tvs::StkId base;  // base of the running function
  tvs::GlobalState* l_G;
  tvs::CallInfo* ci;
  tvs::StkId stack_last;  // last usable slot
  tvs::StkId stack;
  int stacksize;
  tvs::CallInfo* end_ci;
  tvs::CallInfo* base_ci;
  int size_ci;
  int nCcalls;     // nested native calls (and parser levels), counted across resumes
  int baseCcalls;  // nCcalls when the thread was last resumed: a yield may not go below it
  uint8_t status;
  tvs::TValue l_gt;  // globals table
  tvs::GcObject* openupval;
  tvs::GcObject* gclist;
  ptrdiff_t errfunc;  // stack offset of the error handler, 0 for none
  int nexeccalls;
  int nprotected;  // protected boundaries active on this thread (none: errors are fatal)
  uint8_t hookmask;
  bool allowhook;  // false while a hook runs
  int basehookcount;
  int hookcount;
  lua_Hook hook;
};

namespace tvs {

inline GlobalState* G(lua_State* L) {
  return L->l_G;
}
inline ptrdiff_t SaveStack(lua_State* L, StkId p) {
  return p - L->stack;
}
inline StkId RestoreStack(lua_State* L, ptrdiff_t n) {
  return L->stack + n;
}

// Text of the memory error, interned and fixed at state creation.
extern const char* const kMemErrorMessage;

// Opens a state with the given allocator; null when memory runs out while building it.
lua_State* OpenState(lua_Alloc alloc, void* ud);
void CloseState(lua_State* L);
// A new thread sharing L's global state (a coroutine); linked into the collector's list.
lua_State* NewThread(lua_State* L);
void FreeThread(lua_State* L, lua_State* L1);
// The allocator installed by the system: the runtime library's realloc and free.
void* DefaultAlloc(void* ud, void* block, size_t osize, size_t nsize, int reserved, int scratch);

}  // namespace tvs
