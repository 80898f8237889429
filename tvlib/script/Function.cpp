// Prototypes, closures and upvalues. Open upvalues of a thread are kept in its `openupval'
// list ordered by stack level, highest first, so that closing a scope stops early.
#include "tvlib/script/Function.h"

#include <new>

#include "tvlib/script/Memory.h"

namespace tvs {

namespace {

void Link(lua_State* L, GcObject* o, int tt) {
  o->tt = static_cast<uint8_t>(tt);
  o->marked = 0;
  o->next = G(L)->rootgc;
  G(L)->rootgc = o;
}

}  // namespace

TProto* NewProto(lua_State* L) {
  void* mem = Realloc(L, nullptr, 0, sizeof(TProto));
  TProto* f = new (mem) TProto();
  Link(L, f, kTProto);
  return f;
}

void FreeProto(lua_State* L, TProto* f) {
  FreeVector(L, f->code, f->sizecode);
  FreeVector(L, f->p, f->sizep);
  FreeVector(L, f->k, f->sizek);
  FreeVector(L, f->lineinfo, f->sizelineinfo);
  FreeVector(L, f->locvars, f->sizelocvars);
  FreeVector(L, f->upvalues, f->sizeupvalues);
  Free(L, f, sizeof(TProto));
}

TCClosure* NewCClosure(lua_State* L, int nelems) {
  TCClosure* c = static_cast<TCClosure*>(Realloc(L, nullptr, 0, SizeCClosure(nelems)));
  Link(L, c, kTFunction);
  c->isC = 1;
  c->nupvalues = static_cast<uint8_t>(nelems);
  c->gclist = nullptr;
  c->f = nullptr;
  SetNil(&c->g);
  for (int i = 0; i < nelems; i++) SetNil(&c->upvalue[i]);
  return c;
}

TLClosure* NewLClosure(lua_State* L, int nelems, const TValue* globals) {
  TLClosure* c = static_cast<TLClosure*>(Realloc(L, nullptr, 0, SizeLClosure(nelems)));
  Link(L, c, kTFunction);
  c->isC = 0;
  c->nupvalues = static_cast<uint8_t>(nelems);
  c->gclist = nullptr;
  c->g = *globals;
  c->p = nullptr;
  for (int i = 0; i < nelems; i++) c->upvals[i] = nullptr;
  return c;
}

namespace {

size_t ClosureSize(const TClosure* c) {
  return c->isC ? SizeCClosure(c->nupvalues) : SizeLClosure(c->nupvalues);
}

}  // namespace

void FreeClosure(lua_State* L, TClosure* c) {
  Free(L, c, ClosureSize(c));
}

TUpVal* FindUpval(lua_State* L, StkId level) {
  GcObject** pp = &L->openupval;
  while (*pp && static_cast<TUpVal*>(*pp)->v >= level) {
    TUpVal* p = static_cast<TUpVal*>(*pp);
    if (p->v == level) return p;
    pp = &p->next;
  }
  TUpVal* v = static_cast<TUpVal*>(Realloc(L, nullptr, 0, sizeof(TUpVal)));
  v->tt = kTUpval;
  v->marked = 1;  // open upvalues are reached through their thread's stack
  v->v = level;
  SetNil(&v->value);
  v->next = *pp;
  *pp = v;
  return v;
}

void CloseUpvals(lua_State* L, StkId level) {
  while (L->openupval && static_cast<TUpVal*>(L->openupval)->v >= level) {
    TUpVal* p = static_cast<TUpVal*>(L->openupval);
    L->openupval = p->next;
    p->value = *p->v;
    p->v = &p->value;
    p->marked = 0;
    p->next = G(L)->rootgc;
    G(L)->rootgc = p;
  }
}

const char* GetLocalName(const TProto* f, int localNumber, int pc) {
  for (int i = 0; i < f->sizelocvars && f->locvars[i].startpc <= pc; i++) {
    if (pc < f->locvars[i].endpc) {
      if (--localNumber == 0) return f->locvars[i].name->Data();
    }
  }
  return nullptr;
}

}  // namespace tvs
