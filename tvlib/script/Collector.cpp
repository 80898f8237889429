// Mark and sweep. Gray objects (marked, contents not yet traversed) are chained through their
// `gclist' fields; weak tables are kept on a second chain and cleared after marking. Strings
// in weak tables are values, not references, so they are marked and never cleared.
#include "tvlib/script/Collector.h"

#include "tvlib/script/Call.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"
#include "tvlib/script/TagMethods.h"

namespace tvs {

namespace {

// The scratch buffer shrinks by half while larger than this.
constexpr size_t kMinScratch = 64;
// The string table halves below a quarter full while it has more buckets than this.
constexpr int kMinStrShrink = 64;

enum : uint8_t { kWeakKeys = 1, kWeakValues = 2 };

struct Marker {
  GlobalState* g;
  GcObject* gray = nullptr;
  TTable* weak = nullptr;
};

bool IsMarked(const GcObject* o) {
  return o->marked & kMarkedBit;
}

GcObject** GcList(GcObject* o) {
  switch (o->tt) {
    case kTTable:
      return &static_cast<TTable*>(o)->gclist;
    case kTFunction:
      return &static_cast<TClosure*>(o)->gclist;
    case kTProto:
      return &static_cast<TProto*>(o)->gclist;
    default:
      return &reinterpret_cast<lua_State*>(o)->gclist;
  }
}

void MarkObject(Marker& m, GcObject* o) {
  if (o == nullptr || IsMarked(o)) return;
  o->marked |= kMarkedBit;
  switch (o->tt) {
    case kTString:
    case kTWString:
      return;
    case kTUserdata: {
      TTable* mt = static_cast<TUdata*>(o)->metatable;
      MarkObject(m, mt);
      return;
    }
    case kTUpval:
      return;  // closed upvalues are traversed with their closures
    default:
      *GcList(o) = m.gray;
      m.gray = o;
  }
}

void MarkValue(Marker& m, const TValue* v) {
  if (IsCollectable(v) && v->tt != kTDeadKey) MarkObject(m, v->v.gc);
}

void TraverseTable(Marker& m, TTable* t) {
  MarkObject(m, t->metatable);
  uint8_t mode = 0;
  if (t->metatable) {
    const TValue* tm = TableGetStr(t->metatable, m.g->tmname[TM_MODE]);
    if (tm->tt == kTString) {
      if (strchr(StrValue(tm)->Data(), 'k')) mode |= kWeakKeys;
      if (strchr(StrValue(tm)->Data(), 'v')) mode |= kWeakValues;
    }
  }
  if (mode) {
    t->marked = static_cast<uint8_t>((t->marked & 0x0F) | (mode << 4));
    t->gclist = reinterpret_cast<GcObject*>(m.weak);
    m.weak = t;
  }
  const bool weakKeys = mode & kWeakKeys, weakValues = mode & kWeakValues;
  for (int i = 0; i < t->sizearray; i++) {
    const TValue* v = &t->array[i];
    if (!weakValues || IsStringLike(v)) MarkValue(m, v);
  }
  if (t->lsizenode == 0) return;
  for (int i = SizeNode(t) - 1; i >= 0; i--) {
    TNode* n = &t->node[i];
    if (n->val.tt == kTNil) {
      if (IsCollectable(&n->key)) n->key.tt = kTDeadKey;
      continue;
    }
    if (!weakKeys || IsStringLike(&n->key)) MarkValue(m, &n->key);
    if (!weakValues || IsStringLike(&n->val)) MarkValue(m, &n->val);
  }
}

void TraverseProto(Marker& m, TProto* f) {
  MarkObject(m, f->source);
  for (int i = 0; i < f->sizek; i++) MarkValue(m, &f->k[i]);
  for (int i = 0; i < f->sizeupvalues; i++) MarkObject(m, f->upvalues[i]);
  for (int i = 0; i < f->sizep; i++) MarkObject(m, f->p[i]);
  for (int i = 0; i < f->sizelocvars; i++) MarkObject(m, f->locvars[i].name);
}

void TraverseClosure(Marker& m, TClosure* c) {
  MarkValue(m, &c->g);
  if (c->isC) {
    TCClosure* cc = static_cast<TCClosure*>(c);
    for (int i = 0; i < c->nupvalues; i++) MarkValue(m, &cc->upvalue[i]);
    return;
  }
  TLClosure* lc = static_cast<TLClosure*>(c);
  MarkObject(m, lc->p);
  for (int i = 0; i < c->nupvalues; i++) {
    TUpVal* u = lc->upvals[i];
    if (u == nullptr) continue;  // closure still being built
    MarkValue(m, u->v);
    u->marked |= kMarkedBit;
  }
}

void TraverseThread(Marker& m, lua_State* L1) {
  MarkValue(m, &L1->l_gt);
  StkId lim = L1->top;
  for (CallInfo* ci = L1->base_ci; ci <= L1->ci; ci++)
    if (lim < ci->top) lim = ci->top;
  for (StkId o = L1->stack; o < L1->top; o++) MarkValue(m, o);
  for (StkId o = L1->top; o <= lim && o <= L1->stack_last; o++) SetNil(o);
}

void Propagate(Marker& m) {
  while (m.gray) {
    GcObject* o = m.gray;
    m.gray = *GcList(o);
    switch (o->tt) {
      case kTTable:
        TraverseTable(m, static_cast<TTable*>(o));
        break;
      case kTFunction:
        TraverseClosure(m, static_cast<TClosure*>(o));
        break;
      case kTProto:
        TraverseProto(m, static_cast<TProto*>(o));
        break;
      case kTThread:
        TraverseThread(m, reinterpret_cast<lua_State*>(o));
        break;
      default:
        break;
    }
  }
}

bool IsCleared(const TValue* v) {
  if (!IsCollectable(v) || v->tt == kTDeadKey) return false;
  if (v->tt == kTUserdata && (v->v.gc->marked & kFinalizedBit)) return true;  // finalised
  return !IsMarked(v->v.gc);
}

void ClearWeakTables(Marker& m) {
  for (TTable* t = m.weak; t; t = reinterpret_cast<TTable*>(t->gclist)) {
    const uint8_t mode = static_cast<uint8_t>(t->marked >> 4);
    t->marked &= 0x0F;
    if (mode & kWeakValues)
      for (int i = 0; i < t->sizearray; i++)
        if (IsCleared(&t->array[i])) SetNil(&t->array[i]);
    if (t->lsizenode == 0) continue;
    for (int i = 0; i < SizeNode(t); i++) {
      TNode* n = &t->node[i];
      if (n->val.tt == kTNil) continue;
      if (((mode & kWeakKeys) && IsCleared(&n->key)) ||
          ((mode & kWeakValues) && IsCleared(&n->val))) {
        SetNil(&n->val);
        if (IsCollectable(&n->key)) n->key.tt = kTDeadKey;
      }
    }
  }
}

void MarkRoots(Marker& m, lua_State* L) {
  GlobalState* g = m.g;
  MarkObject(m, g->mainthread);
  MarkValue(m, &g->mainthread->l_gt);
  MarkValue(m, &g->registry);
  MarkObject(m, g->defaultMeta);
  for (int i = 0; i < kTypeSlots; i++) MarkValue(m, &g->typeSlots[i]);
  if (L != g->mainthread) MarkObject(m, L);
  for (GcObject* u = g->tmudata; u; u = u->next) MarkObject(m, u);
}

// Unmarked userdata with a __gc tag method move to the finaliser list, marked (they and all
// they reach live until the finaliser has run).
size_t SeparateUdata(lua_State* L, Marker& m, bool all) {
  GlobalState* g = G(L);
  size_t deadBytes = 0;
  GcObject** p = &g->rootudata;
  GcObject** lastCollected = &g->tmudata;
  while (*lastCollected) lastCollected = &(*lastCollected)->next;
  while (GcObject* o = *p) {
    TUdata* u = static_cast<TUdata*>(o);
    if ((!all && IsMarked(o)) || (o->marked & kFinalizedBit) ||
        FastTM(L, u->metatable, TM_GC) == nullptr) {
      p = &o->next;
      continue;
    }
    o->marked |= kFinalizedBit;
    deadBytes += UdataSize(u);
    *p = o->next;
    o->next = nullptr;
    *lastCollected = o;
    lastCollected = &o->next;
  }
  if (!all)
    for (GcObject* o = g->tmudata; o; o = o->next) {
      o->marked &= static_cast<uint8_t>(~kMarkedBit);
      MarkObject(m, o);
    }
  return deadBytes;
}

void FreeObject(lua_State* L, GcObject* o) {
  switch (o->tt) {
    case kTProto:
      FreeProto(L, static_cast<TProto*>(o));
      break;
    case kTFunction:
      FreeClosure(L, static_cast<TClosure*>(o));
      break;
    case kTUpval:
      Free(L, o, sizeof(TUpVal));
      break;
    case kTTable:
      FreeTable(L, static_cast<TTable*>(o));
      break;
    case kTThread:
      FreeThread(L, reinterpret_cast<lua_State*>(o));
      break;
    case kTUserdata:
      Free(L, o, UdataSize(static_cast<TUdata*>(o)));
      break;
    default:
      break;
  }
}

// Frees unmarked objects of a list and clears the marks of the others. The list is taken
// apart first: freeing a thread closes its upvalues, which join the head of the root list.
void SweepList(lua_State* L, GcObject** head, bool all) {
  GcObject* o = *head;
  *head = nullptr;
  while (o) {
    GcObject* next = o->next;
    if (!all && IsMarked(o)) {
      o->marked &= static_cast<uint8_t>(~kMarkedBit);
      o->next = *head;
      *head = o;
    } else {
      FreeObject(L, o);
    }
    o = next;
  }
}

void SweepStrings(lua_State* L, bool all) {
  StringTable& tb = G(L)->strt;
  for (int i = 0; i < tb.size; i++) {
    GcObject** p = reinterpret_cast<GcObject**>(&tb.hash[i]);
    while (GcObject* o = *p) {
      TStr* s = static_cast<TStr*>(o);
      if (!all && (IsMarked(o) || s->fixed)) {
        o->marked &= static_cast<uint8_t>(~kMarkedBit);
        p = &o->next;
      } else {
        *p = o->next;
        FreeStr(L, s);
      }
    }
  }
}

void ShrinkBuffers(lua_State* L) {
  GlobalState* g = G(L);
  if (g->strt.nuse < static_cast<uint32_t>(g->strt.size / 4) && g->strt.size > kMinStrShrink)
    ResizeStrings(L, g->strt.size / 2);
  if (g->buffsize > kMinScratch) {
    const size_t newsize = g->buffsize / 2;
    g->buff = static_cast<char*>(Realloc(L, g->buff, g->buffsize, newsize, true));
    g->buffsize = newsize;
  }
}

}  // namespace

void CallGCTM(lua_State* L) {
  GlobalState* g = G(L);
  while (GcObject* o = g->tmudata) {
    TUdata* u = static_cast<TUdata*>(o);
    g->tmudata = o->next;
    o->next = g->rootudata;  // freed by the next collection
    g->rootudata = o;
    const TValue* tm = FastTM(L, u->metatable, TM_GC);
    if (tm == nullptr) continue;
    const int oldStatus = L->status;
    CheckStack(L, 2);
    L->top[0] = *tm;
    SetGc(L->top + 1, u, kTUserdata);
    L->top += 2;
    Call(L, L->top - 2, 0);
    L->status = static_cast<uint8_t>(oldStatus);
  }
}

void FullGC(lua_State* L) {
  GlobalState* g = G(L);
  if (g->gcRunning) return;
  g->gcRunning = true;
  Marker m{g};
  MarkRoots(m, L);
  Propagate(m);
  const size_t deadBytes = SeparateUdata(L, m, false);
  Propagate(m);
  ClearWeakTables(m);
  SweepStrings(L, false);
  SweepList(L, &g->rootgc, false);
  SweepList(L, &g->rootudata, false);
  for (GcObject* o = g->tmudata; o; o = o->next) o->marked &= static_cast<uint8_t>(~kMarkedBit);
  g->mainthread->marked &= static_cast<uint8_t>(~kMarkedBit);  // it is in no list to sweep
  ShrinkBuffers(L);
  g->gcThreshold = g->gcStress ? 0 : 2 * (g->nblocks - (deadBytes < g->nblocks ? deadBytes : 0));
  g->gcRunning = false;
  CallGCTM(L);
}

void SetGcStress(lua_State* L, bool on) {
  G(L)->gcStress = on;
  G(L)->gcThreshold = on ? 0 : 2 * G(L)->nblocks;
}

void SeparateAllUdata(lua_State* L) {
  Marker m{G(L)};
  SeparateUdata(L, m, true);
}

void FreeAll(lua_State* L) {
  GlobalState* g = G(L);
  SweepList(L, &g->rootudata, true);
  SweepList(L, &g->tmudata, true);
  SweepList(L, &g->rootgc, true);
  SweepStrings(L, true);
}

}  // namespace tvs
