// Opening and closing states and threads. The main thread and the global state are one
// allocation; everything else the state builds is allocated through its hook after them.
#include "tvlib/script/State.h"

#include <new>

#include "tvlib/script/Call.h"
#include "tvlib/script/Collector.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Lexer.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"
#include "tvlib/script/TagMethods.h"

namespace tvs {

namespace {

struct MainBlock {
  lua_State l;
  GlobalState g;
};

// The globals table starts with 2^4 hash nodes; the registry with 4 array slots and 2^4 nodes.
constexpr int kGlobalsHashBits = 4;
constexpr int kRegistryArray = 4;
constexpr int kRegistryHashBits = 4;
// The first collection waits until the bytes in use reach this multiple of the opening size.
constexpr size_t kFirstThresholdFactor = 4;

void PreinitThread(lua_State* L, GlobalState* g) {
  L->l_G = g;
  L->tt = kTThread;
  L->marked = 0;
  L->stack = nullptr;
  L->stacksize = 0;
  L->top = L->base = nullptr;
  L->ci = L->base_ci = L->end_ci = nullptr;
  L->size_ci = 0;
  L->nCcalls = 0;
  L->baseCcalls = 0;
  L->status = 0;
  L->openupval = nullptr;
  L->gclist = nullptr;
  L->errfunc = 0;
  L->nexeccalls = 0;
  L->nprotected = 0;
  L->hookmask = 0;
  L->allowhook = true;
  L->basehookcount = 0;
  L->hookcount = 0;
  L->hook = nullptr;
  SetNil(&L->l_gt);
}

void InitStack(lua_State* L1, lua_State* L) {
  L1->stack = NewVector<TValue>(L, kBasicStackSize + kExtraStack);
  L1->stacksize = kBasicStackSize + kExtraStack;
  for (int i = 0; i < L1->stacksize; i++) SetNil(&L1->stack[i]);
  L1->top = L1->stack;
  L1->stack_last = L1->stack + (L1->stacksize - kExtraStack) - 1;
  L1->base_ci = NewVector<CallInfo>(L, kBasicCiSize);
  L1->size_ci = kBasicCiSize;
  L1->ci = L1->base_ci;
  L1->ci->func = L1->top;
  SetNil(L1->top++);
  L1->base = L1->ci->base = L1->top;
  L1->ci->top = L1->top + kMinCStack;
  L1->ci->savedpc = nullptr;
  L1->ci->nresults = 0;
  L1->ci->tailcalls = 0;
  L1->ci->yielded = false;
  L1->ci->hookpc = nullptr;
  L1->end_ci = L1->base_ci + L1->size_ci - 1;
}

void FreeStack(lua_State* L, lua_State* L1) {
  FreeVector(L, L1->base_ci, L1->size_ci);
  FreeVector(L, L1->stack, L1->stacksize);
}

TTable* NewTypeTable(lua_State* L, TTable* meta) {
  TTable* t = NewTable(L, 0, 0);
  t->metatable = meta;
  return t;
}

void OpenBody(lua_State* L, void*) {
  GlobalState* g = G(L);
  InitStack(L, L);
  g->defaultMeta = NewTable(L, 0, 0);
  g->defaultMeta->metatable = g->defaultMeta;
  for (int tag = 1; tag < kTypeSlots; tag++)
    SetGc(&g->typeSlots[tag], NewTypeTable(L, g->defaultMeta), kTTable);
  SetGc(&L->l_gt, NewTable(L, 0, kGlobalsHashBits), kTTable);
  SetGc(&g->registry, NewTable(L, kRegistryArray, kRegistryHashBits), kTTable);
  ResizeStrings(L, kMinStrTable);
  InitTagMethods(L);
  InitReservedWords(L);
  NewStr(L, kMemErrorMessage)->fixed = 1;
  g->gcThreshold = kFirstThresholdFactor * g->nblocks;
}

void CloseBody(lua_State* L) {
  GlobalState* g = G(L);
  FreeAll(L);
  FreeVector(L, g->strt.hash, g->strt.size);
  Realloc(L, g->buff, g->buffsize, 0, true);
  FreeStack(L, L);
  const lua_Alloc alloc = g->alloc;
  void* ud = g->allocUd;
  MainBlock* mb = reinterpret_cast<MainBlock*>(L);
  mb->~MainBlock();
  alloc(ud, mb, sizeof(MainBlock), 0, 0, 0);
}

void CallAllGCTM(lua_State* L, void*) {
  CallGCTM(L);
}

}  // namespace

const char* const kMemErrorMessage = "not enough memory";

lua_State* OpenState(lua_Alloc alloc, void* ud) {
  void* mem = alloc(ud, nullptr, 0, sizeof(MainBlock), 0, 0);
  if (mem == nullptr) return nullptr;
  MainBlock* mb = new (mem) MainBlock();
  lua_State* L = &mb->l;
  GlobalState* g = &mb->g;
  PreinitThread(L, g);
  g->alloc = alloc;
  g->allocUd = ud;
  g->mainthread = L;
  g->nblocks = sizeof(MainBlock);
  g->gcThreshold = static_cast<size_t>(-1);  // no collection while the state is built
  SetNil(&g->registry);
  for (TValue& slot : g->typeSlots) SetNil(&slot);
  SetNil(&g->dummynode->key);
  SetNil(&g->dummynode->val);
  g->dummynode->next = nullptr;
  if (RunProtected(L, OpenBody, nullptr) != 0) {
    CloseBody(L);
    return nullptr;
  }
  return L;
}

void CloseState(lua_State* L) {
  L = G(L)->mainthread;
  CloseUpvals(L, L->stack);
  SeparateAllUdata(L);
  L->errfunc = 0;
  // Finalisers run until none fails.
  do {
    L->ci = L->base_ci;
    L->base = L->top = L->ci->base;
    L->nCcalls = 0;
  } while (RunProtected(L, CallAllGCTM, nullptr) != 0);
  CloseBody(L);
}

lua_State* NewThread(lua_State* L) {
  lua_State* L1 = static_cast<lua_State*>(Realloc(L, nullptr, 0, sizeof(lua_State)));
  new (L1) lua_State();
  PreinitThread(L1, G(L));
  L1->next = G(L)->rootgc;
  G(L)->rootgc = L1;
  InitStack(L1, L);
  L1->l_gt = L->l_gt;
  // A coroutine inherits the hooks of the thread creating it.
  L1->hookmask = L->hookmask;
  L1->basehookcount = L->basehookcount;
  L1->hook = L->hook;
  L1->hookcount = L->basehookcount;
  return L1;
}

void FreeThread(lua_State* L, lua_State* L1) {
  CloseUpvals(L1, L1->stack);
  FreeStack(L, L1);
  Free(L, L1, sizeof(lua_State));
}

}  // namespace tvs
