// The script interface over the runtime's internals. Every push grows the stack when the
// top has reached the end of the current call's room, so native functions never write past
// the stack. Writes through registry-reference indices (below -40000) are refused.
#include "tvlib/script/Api.h"

#include <cstring>
#include <utility>

#include "tvlib/script/Call.h"
#include "tvlib/script/Chunk.h"
#include "tvlib/script/Collector.h"
#include "tvlib/script/Debug.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Lexer.h"
#include "tvlib/script/Lister.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/Parser.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"
#include "tvlib/script/TagMethods.h"
#include "tvlib/script/Vm.h"

// The public header spells the hook events as numbers: they must stay the runtime's.
static_assert(LUA_HOOKCALL == tvs::kHookCall && LUA_HOOKRET == tvs::kHookRet &&
              LUA_HOOKLINE == tvs::kHookLine && LUA_HOOKCOUNT == tvs::kHookCount &&
              LUA_HOOKTAILRET == tvs::kHookTailRet);

using namespace tvs;

namespace {

// Stack slots a native function may use at most ("stack overflow" in lua_checkstack).
constexpr int kMaxCStack = 2048;

const TValue kNone = {kTNil, {nullptr}};

// The value at an index, or null for an acceptable index beyond the top ("none").
TValue* Index2Adr(lua_State* L, int idx) {
  if (idx > 0) {
    TValue* o = L->base + (idx - 1);
    return o < L->top ? o : nullptr;
  }
  if (idx > LUA_REGISTRYINDEX) return L->top + idx;
  if (idx == LUA_REGISTRYINDEX) return &G(L)->registry;
  if (idx == LUA_GLOBALSINDEX) return &L->l_gt;
  if (idx < LUA_REGISTRYREFBASE) {
    // Read-only view of registry[n]; an absent key reads as nil.
    return const_cast<TValue*>(TableGetNum(TableValue(&G(L)->registry), LUA_REGISTRYREFBASE - idx));
  }
  if (L->ci->func->tt != kTFunction) return nullptr;  // no function is running
  TClosure* func = ClosureValue(L->ci->func);
  const int n = LUA_GLOBALSINDEX - idx;
  if (!func->isC || n > func->nupvalues) return nullptr;
  return &static_cast<TCClosure*>(func)->upvalue[n - 1];
}

const TValue* Value(lua_State* L, int idx) {
  const TValue* o = Index2Adr(L, idx);
  return o ? o : &kNone;
}

// A slot that may be written: stack slots, globals and upvalues; null otherwise.
TValue* WritableAdr(lua_State* L, int idx) {
  if (idx < LUA_REGISTRYREFBASE) return nullptr;
  return Index2Adr(L, idx);
}

void IncrApiTop(lua_State* L) {
  if (L->top >= L->stack_last) GrowStack(L, 1);
  L->top++;
}

void PushObj(lua_State* L, const TValue* o) {
  *L->top = *o;
  IncrApiTop(L);
}

struct ParserArgs {
  Zio* z;
  bool bin;
};

void ProtectedParse(lua_State* L, void* ud) {
  ParserArgs* p = static_cast<ParserArgs*>(ud);
  CheckGC(L);
  if (!p->bin && ZLookWide(p->z) == 0xFEFF) {
    ZGetc(p->z);
    ZGetc(p->z);
    p->z->wide = true;
  }
  TProto* tf = p->bin ? LoadChunk(L, p->z) : Parse(L, p->z, NewStr(L, p->z->name));
  TLClosure* cl = NewLClosure(L, 0, &L->l_gt);
  cl->p = tf;
  SetGc(L->top, cl, kTFunction);
  IncrTop(L);
}

struct CallArgs {
  StkId func;
  int nresults;
};

void ProtectedCall(lua_State* L, void* ud) {
  CallArgs* c = static_cast<CallArgs*>(ud);
  Call(L, c->func, c->nresults);
}

}  // namespace

lua_State* lua_open() {
  return OpenState(DefaultAlloc, nullptr);
}

lua_State* lua_newstate(lua_Alloc alloc, void* ud) {
  return OpenState(alloc, ud);
}

void lua_close(lua_State* L) {
  CloseState(L);
}

lua_CFunction lua_atpanic(lua_State* L, lua_CFunction panicf) {
  const lua_CFunction old = G(L)->panic;
  G(L)->panic = panicf;
  return old;
}

int lua_gettop(lua_State* L) {
  return static_cast<int>(L->top - L->base);
}

void lua_settop(lua_State* L, int idx) {
  if (idx >= 0) {
    while (L->top < L->base + idx) SetNil(L->top++);
    L->top = L->base + idx;
  } else {
    L->top += idx + 1;
  }
}

void lua_pushvalue(lua_State* L, int idx) {
  PushObj(L, Value(L, idx));
}

void lua_remove(lua_State* L, int idx) {
  StkId p = Index2Adr(L, idx);
  if (p == nullptr || p < L->base || p >= L->top) return;
  while (++p < L->top) p[-1] = p[0];
  L->top--;
}

void lua_insert(lua_State* L, int idx) {
  StkId p = Index2Adr(L, idx);
  if (p == nullptr || p < L->base || p >= L->top) return;
  for (StkId q = L->top; q > p; q--) q[0] = q[-1];
  *p = *L->top;
}

void lua_replace(lua_State* L, int idx) {
  TValue* o = WritableAdr(L, idx);
  if (o != nullptr) *o = L->top[-1];
  L->top--;
}

int lua_checkstack(lua_State* L, int size) {
  if (size > kMaxCStack || (L->top - L->base + size) > kMaxCStack) return 0;
  CheckStack(L, size);
  if (L->ci->top < L->top + size) L->ci->top = L->top + size;
  return 1;
}

int lua_type(lua_State* L, int idx) {
  const TValue* o = Index2Adr(L, idx);
  return o ? o->tt : LUA_TNONE;
}

const char* lua_typename(lua_State*, int tp) {
  return tp == LUA_TNONE ? "no value" : kTypeNames[tp];
}

int lua_isnumber(lua_State* L, int idx) {
  TValue n;
  return ToNumber(Value(L, idx), &n) != nullptr;
}

int lua_isstring(lua_State* L, int idx) {
  const int t = lua_type(L, idx);
  return t == LUA_TSTRING || t == LUA_TNUMBER || t == LUA_TWSTRING;
}

int lua_iscfunction(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  return o->tt == kTFunction && ClosureValue(o)->isC;
}

lua_Number lua_tonumber(lua_State* L, int idx) {
  TValue n;
  const TValue* o = ToNumber(Value(L, idx), &n);
  return o ? o->v.n : 0;
}

int lua_toboolean(lua_State* L, int idx) {
  return !IsFalse(Value(L, idx));
}

const char* lua_tostring(lua_State* L, int idx) {
  StkId o = Index2Adr(L, idx);
  if (o == nullptr) return nullptr;
  if (o->tt == kTString) return StrValue(o)->Data();
  if (idx < LUA_REGISTRYREFBASE || !ToStringInPlace(L, o)) return nullptr;
  return StrValue(o)->Data();
}

const char16_t* lua_towstring(lua_State* L, int idx) {
  StkId o = Index2Adr(L, idx);
  if (o == nullptr) return nullptr;
  if (o->tt == kTWString) return StrValue(o)->WData();
  if (idx < LUA_REGISTRYREFBASE || !ToWStringInPlace(L, o)) return nullptr;
  return StrValue(o)->WData();
}

size_t lua_strlen(lua_State* L, int idx) {
  StkId o = Index2Adr(L, idx);
  if (o == nullptr) return 0;
  if (IsStringLike(o)) return StrValue(o)->len;
  if (idx >= LUA_REGISTRYREFBASE && ToStringInPlace(L, o)) return StrValue(o)->len;
  return 0;
}

void* lua_touserdata(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  if (o->tt == kTLightUd) return o->v.p;
  if (o->tt != kTUserdata) return nullptr;
  TUdata* u = UdataValue(o);
  if (u->len & 1) {  // a boxed pointer: the block holds it
    void* p;
    memcpy(&p, u->Data(), sizeof p);
    return p;
  }
  return u->Data();
}

const void* lua_topointer(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  switch (o->tt) {
    case kTTable:
    case kTFunction:
    case kTThread:
      return o->v.gc;
    case kTUserdata:
    case kTLightUd:
      return lua_touserdata(L, idx);
    default:
      return nullptr;
  }
}

size_t lua_wstrlen(const char16_t* s) {
  size_t n = 0;
  while (s[n]) n++;
  return n;
}

void lua_pushnil(lua_State* L) {
  SetNil(L->top);
  IncrApiTop(L);
}

void lua_pushnumber(lua_State* L, lua_Number n) {
  SetNumber(L->top, n);
  IncrApiTop(L);
}

void lua_pushlstring(lua_State* L, const char* s, size_t len) {
  CheckGC(L);
  SetGc(L->top, NewStr(L, s, len), kTString);
  IncrApiTop(L);
}

void lua_pushstring(lua_State* L, const char* s) {
  if (s == nullptr)
    lua_pushnil(L);
  else
    lua_pushlstring(L, s, strlen(s));
}

void lua_pushwlstring(lua_State* L, const char16_t* s, size_t len) {
  CheckGC(L);
  SetGc(L->top, NewWStr(L, s, len), kTWString);
  IncrApiTop(L);
}

void lua_pushwstring(lua_State* L, const char16_t* s) {
  if (s == nullptr)
    lua_pushnil(L);
  else
    lua_pushwlstring(L, s, lua_wstrlen(s));
}

const char* lua_pushvfstring(lua_State* L, const char* fmt, va_list argp) {
  CheckGC(L);
  return PushVFString(L, fmt, argp);
}

const char* lua_pushfstring(lua_State* L, const char* fmt, ...) {
  va_list argp;
  va_start(argp, fmt);
  const char* s = lua_pushvfstring(L, fmt, argp);
  va_end(argp);
  return s;
}

void lua_pushcclosure(lua_State* L, lua_CFunction fn, int n) {
  CheckGC(L);
  TCClosure* cl = NewCClosure(L, n);
  cl->f = fn;
  cl->g = L->l_gt;
  L->top -= n;
  for (int i = 0; i < n; i++) cl->upvalue[i] = L->top[i];
  SetGc(L->top, cl, kTFunction);
  IncrApiTop(L);
}

void lua_pushboolean(lua_State* L, int b) {
  SetBool(L->top, b != 0);
  IncrApiTop(L);
}

void lua_pushlightuserdata(lua_State* L, void* p) {
  SetLightUd(L->top, p);
  IncrApiTop(L);
}

void lua_gettable(lua_State* L, int idx) {
  const TValue t = *Value(L, idx);
  GetTable(L, &t, L->top - 1, L->top - 1);
}

void lua_rawget(lua_State* L, int idx) {
  const TValue* t = Value(L, idx);
  if (t->tt != kTTable) RunError(L, "table expected");
  L->top[-1] = *TableGet(TableValue(t), L->top - 1);
}

void lua_rawgeti(lua_State* L, int idx, int n) {
  const TValue* t = Value(L, idx);
  if (t->tt != kTTable) RunError(L, "table expected");
  PushObj(L, TableGetNum(TableValue(t), n));
}

void lua_newtable(lua_State* L) {
  CheckGC(L);
  SetGc(L->top, NewTable(L, 0, 0), kTTable);
  IncrApiTop(L);
}

void lua_settable(lua_State* L, int idx) {
  const TValue* t = WritableAdr(L, idx);
  if (t == nullptr) RunError(L, "invalid index for writing");
  const TValue tv = *t;
  SetTable(L, &tv, L->top - 2, L->top - 1);
  L->top -= 2;
}

void lua_rawset(lua_State* L, int idx) {
  const TValue* t = WritableAdr(L, idx);
  if (t == nullptr || t->tt != kTTable) RunError(L, "table expected");
  *TableSet(L, TableValue(t), L->top - 2) = L->top[-1];
  L->top -= 2;
}

void lua_rawseti(lua_State* L, int idx, int n) {
  const TValue* t = WritableAdr(L, idx);
  if (t == nullptr || t->tt != kTTable) RunError(L, "table expected");
  *TableSetNum(L, TableValue(t), n) = L->top[-1];
  L->top--;
}

int lua_next(lua_State* L, int idx) {
  const TValue* t = Value(L, idx);
  if (t->tt != kTTable) RunError(L, "table expected");
  if (TableNext(L, TableValue(t), L->top - 1)) {
    IncrApiTop(L);
    return 1;
  }
  L->top--;
  return 0;
}

int lua_getmetatable(lua_State* L, int idx) {
  TTable* mt = MetatableOf(L, Value(L, idx));
  if (mt == nullptr) return 0;
  SetGc(L->top, mt, kTTable);
  IncrApiTop(L);
  return 1;
}

int lua_setmetatable(lua_State* L, int objindex) {
  const TValue* obj = Value(L, objindex);
  const TValue* mt = L->top - 1;
  TTable* table = mt->tt == kTTable ? TableValue(mt) : G(L)->defaultMeta;
  int done = 1;
  switch (obj->tt) {
    case kTTable:
      TableValue(obj)->metatable = table;
      break;
    case kTUserdata:
      UdataValue(obj)->metatable = table;
      break;
    default:
      done = 0;
      break;
  }
  L->top--;
  return done;
}

void* lua_newuserdata(lua_State* L, size_t size) {
  CheckGC(L);
  TUdata* u = NewUdata(L, size);
  SetGc(L->top, u, kTUserdata);
  IncrApiTop(L);
  return u->Data();
}

void lua_register(lua_State* L, const char* name, lua_CFunction f) {
  lua_pushstring(L, name);
  lua_pushcfunction(L, f);
  lua_settable(L, LUA_GLOBALSINDEX);
}

void lua_call(lua_State* L, int nargs, int nresults) {
  StkId func = L->top - (nargs + 1);
  Call(L, func, nresults);
}

int lua_pcall(lua_State* L, int nargs, int nresults, int errfunc) {
  ptrdiff_t ef = 0;
  if (errfunc != 0) {
    const TValue* o = Index2Adr(L, errfunc);
    if (o != nullptr && o >= L->stack && o < L->top) ef = SaveStack(L, const_cast<TValue*>(o));
  }
  CallArgs c{L->top - (nargs + 1), nresults};
  return PCall(L, ProtectedCall, &c, SaveStack(L, c.func), ef);
}

int lua_load(lua_State* L, lua_Chunkreader reader, void* data, const char* chunkname) {
  Zio z;
  ZInit(&z, L, reader, data, chunkname ? chunkname : "?");
  const int first = ZGetc(&z);
  if (first != kEndOfStream) z.back[z.nback++] = first;
  ParserArgs p{&z, first == kChunkSignatureByte};
  const ptrdiff_t oldtop = SaveStack(L, L->top);
  const int status = RunProtected(L, ProtectedParse, &p);
  if (status != 0) SetErrorObj(L, status, RestoreStack(L, oldtop));
  return status;
}

int lua_dump(lua_State* L, lua_Chunkwriter writer, void* data) {
  const TValue* o = L->top - 1;
  if (o->tt != kTFunction || ClosureValue(o)->isC || ClosureValue(o)->nupvalues != 0) return 0;
  DumpChunk(L, static_cast<TLClosure*>(ClosureValue(o))->p, writer, data);
  return 1;
}

std::string lua_listfunction(lua_State* L, int idx, bool full) {
  const TValue* o = Value(L, idx);
  if (o->tt != kTFunction || ClosureValue(o)->isC) return {};
  return ListFunction(static_cast<TLClosure*>(ClosureValue(o))->p, full);
}

int lua_error(lua_State* L) {
  ErrorMsg(L);
}

void lua_concat(lua_State* L, int n) {
  CheckGC(L);
  if (n >= 2) {
    Concat(L, n, static_cast<int>(L->top - L->base) - 1);
    L->top -= n - 1;
  } else if (n == 0) {
    lua_pushlstring(L, "", 0);
  }
}

int lua_getgccount(lua_State* L) {
  return static_cast<int>(G(L)->nblocks >> 10);
}

int lua_getgcthreshold(lua_State* L) {
  const size_t kb = G(L)->gcThreshold >> 10;
  return kb > INT32_MAX ? INT32_MAX : static_cast<int>(kb);
}

void lua_setgcthreshold(lua_State* L, int newthreshold) {
  // 4194304 KB or more (the byte count would overflow 32 bits) means "never".
  if (newthreshold >= 4194304)
    G(L)->gcThreshold = static_cast<size_t>(-1);
  else
    G(L)->gcThreshold = static_cast<size_t>(newthreshold < 0 ? 0 : newthreshold) << 10;
  CheckGC(L);
}

int lua_sethook(lua_State* L, lua_Hook func, int mask, int count) {
  if (func == nullptr || mask == 0) {
    mask = 0;
    func = nullptr;
  }
  L->hook = func;
  L->basehookcount = count;
  L->hookcount = count;
  L->hookmask = static_cast<uint8_t>(mask);
  return 1;
}

lua_Hook lua_gethook(lua_State* L) {
  return L->hook;
}

int lua_gethookmask(lua_State* L) {
  return L->hookmask;
}

int lua_gethookcount(lua_State* L) {
  return L->basehookcount;
}

lua_Alloc lua_getallocf(lua_State* L, void** ud) {
  if (ud) *ud = G(L)->allocUd;
  return G(L)->alloc;
}

lua_State* lua_newthread(lua_State* L) {
  CheckGC(L);
  lua_State* L1 = NewThread(L);
  SetGc(L->top, L1, kTThread);
  IncrApiTop(L);
  return L1;
}

lua_State* lua_tothread(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  return o->tt == kTThread ? ThreadValue(o) : nullptr;
}

lua_State* lua_mainthread(lua_State* L) {
  return G(L)->mainthread;
}

void lua_xmove(lua_State* from, lua_State* to, int n) {
  if (from == to) return;
  from->top -= n;
  for (int i = 0; i < n; i++) PushObj(to, from->top + i);
}

int lua_resume(lua_State* L, int nargs) {
  return Resume(L, nargs);
}

int lua_yield(lua_State* L, int nresults) {
  return Yield(L, nresults);
}

int lua_isyielded(lua_State* L) {
  return L->ci != L->base_ci && L->ci->yielded;
}

int lua_canyield(lua_State* L) {
  return L->nCcalls == 0 && L->allowhook && L->ci - 1 > L->base_ci && IsLuaFrame(L->ci - 1);
}

int lua_getstack(lua_State* L, int level, lua_Debug* ar) {
  CallInfo* ci = L->ci;
  for (; level > 0 && ci > L->base_ci; ci--) {
    level--;
    if (IsLuaFrame(ci)) level -= ci->tailcalls;  // tail calls lost below this record
  }
  if (level > 0 || ci == L->base_ci) return 0;
  ar->i_ci = level < 0 ? 0 : static_cast<int>(ci - L->base_ci);
  return 1;
}

namespace {

void FuncInfo(lua_Debug* ar, const TValue* f) {
  if (f == nullptr) {
    ar->source = "=(tail call)";
    ar->linedefined = -1;
    ar->what = "tail";
  } else if (ClosureValue(f)->isC) {
    ar->source = "=[C]";
    ar->linedefined = -1;
    ar->what = "C";
  } else {
    const TProto* p = static_cast<TLClosure*>(ClosureValue(f))->p;
    ar->source = p->source->Data();
    ar->linedefined = p->lineDefined;
    ar->what = p->lineDefined == 0 ? "main" : "Lua";
  }
  ChunkId(ar->short_src, ar->source, LUA_IDSIZE);
}

// A string key of the globals table holding the function, or null.
const char* GlobalNameOf(lua_State* L, const TValue* f) {
  TTable* g = TableValue(&L->l_gt);
  for (int i = 0; i < SizeNode(g) && g->lsizenode > 0; i++) {
    const TNode* n = &g->node[i];
    if (n->key.tt == kTString && RawEqual(&n->val, f)) return StrValue(&n->key)->Data();
  }
  return nullptr;
}

}  // namespace

int lua_getinfo(lua_State* L, const char* what, lua_Debug* ar) {
  CallInfo* ci = nullptr;
  TValue func;
  const TValue* f = nullptr;
  if (*what == '>') {
    func = L->top[-1];
    if (func.tt != kTFunction) RunError(L, "value for `lua_getinfo' is not a function");
    L->top--;
    f = &func;
    what++;
  } else if (ar->i_ci != 0) {
    ci = L->base_ci + ar->i_ci;
    f = ci->func;
  }
  int status = 1;
  for (; *what; what++) {
    switch (*what) {
      case 'S':
        FuncInfo(ar, f);
        break;
      case 'l':
        ar->currentline = ci ? CurrentLine(ci) : -1;
        break;
      case 'u':
        ar->nups = f ? ClosureValue(f)->nupvalues : 0;
        break;
      case 'n': {
        ar->name = nullptr;
        ar->namewhat = ci ? GetFuncName(ci, &ar->name) : nullptr;
        if (ar->namewhat == nullptr) {
          ar->name = f ? GlobalNameOf(L, f) : nullptr;
          ar->namewhat = ar->name ? "global" : "";
        }
        break;
      }
      case 'f':
        if (f)
          PushObj(L, f);
        else
          lua_pushnil(L);
        break;
      default:
        status = 0;
    }
  }
  return status;
}

int lua_isuserdata(lua_State* L, int idx) {
  const int t = lua_type(L, idx);
  return t == LUA_TUSERDATA || t == LUA_TLIGHTUSERDATA;
}

lua_CFunction lua_tocfunction(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  if (o->tt != kTFunction || !ClosureValue(o)->isC) return nullptr;
  return static_cast<TCClosure*>(ClosureValue(o))->f;
}

int lua_equal(lua_State* L, int index1, int index2) {
  const TValue* o1 = Index2Adr(L, index1);
  const TValue* o2 = Index2Adr(L, index2);
  if (o1 == nullptr || o2 == nullptr) return 0;
  const TValue a = *o1, b = *o2;  // the comparison may move the stack
  return EqualObj(L, &a, &b);
}

int lua_rawequal(lua_State* L, int index1, int index2) {
  const TValue* o1 = Index2Adr(L, index1);
  const TValue* o2 = Index2Adr(L, index2);
  return o1 != nullptr && o2 != nullptr && RawEqual(o1, o2);
}

int lua_lessthan(lua_State* L, int index1, int index2) {
  const TValue* o1 = Index2Adr(L, index1);
  const TValue* o2 = Index2Adr(L, index2);
  if (o1 == nullptr || o2 == nullptr) return 0;
  const TValue a = *o1, b = *o2;
  return LessThan(L, &a, &b);
}

void lua_pushboxedpointer(lua_State* L, void* p) {
  CheckGC(L);
  TUdata* u = NewUdata(L, sizeof p);
  memcpy(u->Data(), &p, sizeof p);
  u->len = 1;  // odd: the block holds a pointer, which lua_touserdata gives back
  SetGc(L->top, u, kTUserdata);
  IncrApiTop(L);
}

void lua_gettypemetatable(lua_State* L, int tag) {
  if (tag < 1 || tag >= kTypeSlots) {
    lua_pushnil(L);
    return;
  }
  PushObj(L, &G(L)->typeSlots[tag]);
}

void lua_settypemetatable(lua_State* L, int tag) {
  if (tag >= 1 && tag < kTypeSlots && L->top[-1].tt == kTTable) G(L)->typeSlots[tag] = L->top[-1];
  L->top--;
}

void lua_getfenv(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  if (o->tt == kTFunction)
    PushObj(L, &ClosureValue(o)->g);
  else
    PushObj(L, &L->l_gt);
}

int lua_setfenv(lua_State* L, int idx) {
  const TValue* o = Value(L, idx);
  int done = 0;
  if (o->tt == kTFunction && L->top[-1].tt == kTTable) {
    ClosureValue(o)->g = L->top[-1];
    done = 1;
  }
  L->top--;
  return done;
}

const char* lua_version() {
  return "Lua 5.0.2";
}

namespace {

struct CCallArgs {
  lua_CFunction func;
  void* ud;
};

void ProtectedCCall(lua_State* L, void* ud) {
  auto* c = static_cast<CCallArgs*>(ud);
  lua_pushcfunction(L, c->func);
  lua_pushlightuserdata(L, c->ud);
  Call(L, L->top - 2, 0);
}

// The value of local n (1-based) of the frame ar designates, and its name; null when none.
const char* FindLocal(lua_State* L, const lua_Debug* ar, int n, StkId* slot) {
  CallInfo* ci = L->base_ci + ar->i_ci;
  if (ar->i_ci == 0 || !IsLuaFrame(ci) || n < 1) return nullptr;
  const TProto* p = static_cast<TLClosure*>(ClosureValue(ci->func))->p;
  const char* name = GetLocalName(p, n, CurrentPc(ci));
  if (name != nullptr) *slot = ci->base + (n - 1);
  return name;
}

// Upvalue n (1-based) of the function at funcindex and its name ("" for native functions).
const char* AuxUpvalue(lua_State* L, int funcindex, int n, TValue** val) {
  const TValue* fi = Value(L, funcindex);
  if (fi->tt != kTFunction) return nullptr;
  TClosure* f = ClosureValue(fi);
  if (f->isC) {
    if (n < 1 || n > f->nupvalues) return nullptr;
    *val = &static_cast<TCClosure*>(f)->upvalue[n - 1];
    return "";
  }
  TLClosure* lf = static_cast<TLClosure*>(f);
  const TProto* p = lf->p;
  if (n < 1 || n > p->sizeupvalues) return nullptr;
  *val = lf->upvals[n - 1]->v;
  return p->upvalues[n - 1]->Data();
}

}  // namespace

int lua_cpcall(lua_State* L, lua_CFunction func, void* ud) {
  CCallArgs c{func, ud};
  const ptrdiff_t top = SaveStack(L, L->top);
  return PCall(L, ProtectedCCall, &c, top, 0);
}

int lua_pushupvalues(lua_State* L) {
  TCClosure* func = static_cast<TCClosure*>(ClosureValue(L->ci->func));
  const int n = func->nupvalues;
  CheckStack(L, n + LUA_MINSTACK);
  for (int i = 0; i < n; i++) PushObj(L, &func->upvalue[i]);
  return n;
}

const char* lua_getlocal(lua_State* L, const lua_Debug* ar, int n) {
  StkId slot = nullptr;
  const char* name = FindLocal(L, ar, n, &slot);
  if (name != nullptr) PushObj(L, slot);
  return name;
}

const char* lua_setlocal(lua_State* L, const lua_Debug* ar, int n) {
  StkId slot = nullptr;
  const char* name = FindLocal(L, ar, n, &slot);
  if (name != nullptr) *slot = L->top[-1];
  L->top--;
  return name;
}

const char* lua_getupvalue(lua_State* L, int funcindex, int n) {
  TValue* val = nullptr;
  const char* name = AuxUpvalue(L, funcindex, n, &val);
  if (name != nullptr) PushObj(L, val);
  return name;
}

const char* lua_setupvalue(lua_State* L, int funcindex, int n) {
  TValue* val = nullptr;
  const char* name = AuxUpvalue(L, funcindex, n, &val);
  if (name != nullptr) *val = L->top[-1];
  L->top--;
  return name;
}
