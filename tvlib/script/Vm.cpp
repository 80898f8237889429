// The interpreter. Registers live in the thread's stack from the frame's base; the stack may
// move during any call (of a function or a tag method), so `base' and `ci' are reloaded after
// each one. Script-to-script calls and returns stay in this loop.
#include "tvlib/script/Vm.h"

#include <cstring>

#include "tvlib/script/Call.h"
#include "tvlib/script/Collector.h"
#include "tvlib/script/Debug.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/Opcodes.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"
#include "tvlib/script/TagMethods.h"

namespace tvs {

namespace {

// The count and line hooks, before the instruction before pc runs. A count hook that fires
// takes the place of the line hook for that instruction.
[[gnu::noinline, gnu::cold]] void TraceExec(lua_State* L, const Instruction* pc) {
  const uint8_t mask = L->hookmask;
  if ((mask & kMaskCount) && L->hookcount == 0) {
    L->hookcount = L->basehookcount;
    CallHook(L, kHookCount, -1);
    return;
  }
  if (!(mask & kMaskLine)) return;
  CallInfo* ci = L->ci;
  const TProto* p = static_cast<TLClosure*>(ClosureValue(ci->func))->p;
  auto lineAt = [p](const Instruction* at) {
    const int n = static_cast<int>(at - p->code) - 1;
    return p->lineinfo && n < p->sizelineinfo ? p->lineinfo[n] : 0;
  };
  const int newline = lineAt(pc);
  // A new line, a jump backwards (a loop) or the first instruction traced calls the hook.
  if (ci->hookpc == nullptr || pc <= ci->hookpc || newline != lineAt(ci->hookpc)) {
    CallHook(L, kHookLine, newline);
    ci = L->ci;
  }
  ci->hookpc = pc;
}

// Calls tag method f with (p1, p2) and stores its first result in res.
void CallTMRes(lua_State* L, const TValue* f, const TValue* p1, const TValue* p2, StkId res) {
  const ptrdiff_t result = SaveStack(L, res);
  CheckStack(L, 3);
  L->top[0] = *f;
  L->top[1] = *p1;
  L->top[2] = *p2;
  L->top += 3;
  Call(L, L->top - 3, 1);
  res = RestoreStack(L, result);
  L->top--;
  *res = *L->top;
}

void CallTM(lua_State* L, const TValue* f, const TValue* p1, const TValue* p2, const TValue* p3) {
  CheckStack(L, 4);
  L->top[0] = *f;
  L->top[1] = *p1;
  L->top[2] = *p2;
  L->top[3] = *p3;
  L->top += 4;
  Call(L, L->top - 4, 0);
}

// The binary tag method of p1, or of p2 when p1 has none; false when neither is a function.
bool CallBinTM(lua_State* L, const TValue* p1, const TValue* p2, StkId res, TMS event) {
  const TValue* tm = GetTMByObj(L, p1, event);
  if (tm->tt == kTNil) tm = GetTMByObj(L, p2, event);
  if (tm->tt != kTFunction) return false;
  CallTMRes(L, tm, p1, p2, res);
  return true;
}

const TValue* GetCompTM(lua_State* L, TTable* mt1, TTable* mt2, TMS event) {
  const TValue* tm1 = FastTM(L, mt1, event);
  if (tm1 == nullptr) return nullptr;
  if (mt1 == mt2) return tm1;
  const TValue* tm2 = FastTM(L, mt2, event);
  if (tm2 == nullptr || !RawEqual(tm1, tm2)) return nullptr;
  return tm1;
}

// 1 or 0 from an order tag method common to both operands; -1 when there is none.
int CallOrderTM(lua_State* L, const TValue* p1, const TValue* p2, TMS event) {
  const TValue* tm1 = GetTMByObj(L, p1, event);
  if (tm1->tt == kTNil) return -1;
  const TValue* tm2 = GetTMByObj(L, p2, event);
  if (!RawEqual(tm1, tm2)) return -1;
  CallTMRes(L, tm1, p1, p2, L->top);
  return !IsFalse(L->top);
}

// Compares with the collation order, chunk by chunk across embedded zeros.
int StrCmp(const TStr* ls, const TStr* rs) {
  const char* l = ls->Data();
  size_t ll = ls->len;
  const char* r = rs->Data();
  size_t lr = rs->len;
  for (;;) {
    const int temp = strcoll(l, r);
    if (temp != 0) return temp;
    size_t len = strlen(l);  // both chunks are equal up to here
    if (len == lr) return len == ll ? 0 : 1;
    if (len == ll) return -1;
    len++;
    l += len;
    ll -= len;
    r += len;
    lr -= len;
  }
}

bool LessEqual(lua_State* L, const TValue* l, const TValue* r) {
  if (l->tt != r->tt) OrderError(L, l, r);
  if (l->tt == kTNumber) return l->v.n <= r->v.n;
  if (l->tt == kTString) return StrCmp(StrValue(l), StrValue(r)) <= 0;
  int res = CallOrderTM(L, l, r, TM_LE);
  if (res != -1) return res;
  res = CallOrderTM(L, r, l, TM_LT);
  if (res != -1) return !res;
  OrderError(L, l, r);
}

void Arith(lua_State* L, StkId ra, const TValue* rb, const TValue* rc, TMS op) {
  TValue tempb, tempc;
  const TValue *b, *c;
  if ((b = ToNumber(rb, &tempb)) != nullptr && (c = ToNumber(rc, &tempc)) != nullptr) {
    switch (op) {
      case TM_ADD:
        SetNumber(ra, b->v.n + c->v.n);
        return;
      case TM_SUB:
        SetNumber(ra, b->v.n - c->v.n);
        return;
      case TM_MUL:
        SetNumber(ra, b->v.n * c->v.n);
        return;
      case TM_DIV:
        SetNumber(ra, b->v.n / c->v.n);
        return;
      case TM_POW: {
        // Not two numbers, but convertible: the power is the global function "__pow".
        const TValue* f = TableGetStr(TableValue(&L->l_gt), G(L)->tmname[TM_POW]);
        if (f->tt != kTFunction) RunError(L, "`__pow' (`^' operator) is not a function");
        const TValue fn = *f, vb = *b, vc = *c;
        CallTMRes(L, &fn, &vb, &vc, ra);
        return;
      }
      default:
        return;
    }
  }
  if (!CallBinTM(L, rb, rc, ra, op)) ArithError(L, rb, rc);
}

// Makes a concatenation operand text of the mode; false when it cannot be.
bool ToText(lua_State* L, StkId o, bool wide) {
  if (wide) return o->tt == kTWString || ToWStringInPlace(L, o);
  return o->tt == kTString || ToStringInPlace(L, o);
}

char* OpenScratch(lua_State* L, size_t size) {
  GlobalState* g = G(L);
  if (size > g->buffsize) {
    g->buff = static_cast<char*>(Realloc(L, g->buff, g->buffsize, size, true));
    g->buffsize = size;
  }
  return g->buff;
}

}  // namespace

uint32_t NumberToBits(Number d) {
  return static_cast<uint32_t>(static_cast<uint64_t>(NumberToInt64(d)));
}

const TValue* ToNumber(const TValue* obj, TValue* n) {
  Number num;
  switch (obj->tt) {
    case kTNumber:
      return obj;
    case kTString:
      if (!StrToNumber(StrValue(obj)->Data(), StrValue(obj)->len, &num)) return nullptr;
      break;
    case kTWString:
      if (!WStrToNumber(StrValue(obj)->WData(), StrValue(obj)->len, &num)) return nullptr;
      break;
    default:
      return nullptr;
  }
  SetNumber(n, num);
  return n;
}

bool ToStringInPlace(lua_State* L, StkId obj) {
  if (obj->tt != kTNumber) return false;
  char s[32];
  const int n = FormatNumber(obj->v.n, s);
  SetGc(obj, NewStr(L, s, static_cast<size_t>(n)), kTString);
  return true;
}

bool ToWStringInPlace(lua_State* L, StkId obj) {
  if (obj->tt != kTNumber) return false;
  char s[32];
  char16_t w[32];
  const int n = FormatNumber(obj->v.n, s);
  for (int i = 0; i < n; i++) w[i] = static_cast<char16_t>(static_cast<signed char>(s[i]));
  SetGc(obj, NewWStr(L, w, static_cast<size_t>(n)), kTWString);
  return true;
}

void GetTable(lua_State* L, const TValue* t, const TValue* key, StkId val) {
  for (int loop = 0; loop < kMaxTagLoop; loop++) {
    const TValue* tm;
    if (t->tt == kTTable) {
      TTable* h = TableValue(t);
      const TValue* res = TableGet(h, key);
      if (res->tt != kTNil || (tm = FastTM(L, h->metatable, TM_INDEX)) == nullptr) {
        *val = *res;
        return;
      }
    } else {
      tm = GetTMByObj(L, t, TM_INDEX);
      if (tm->tt == kTNil) {
        // No "__index": keys are looked up in the metatable (or per-type table) itself.
        TTable* mt = MetatableOf(L, t);
        if (mt == nullptr) TypeError(L, t, "index");
        const TValue* res = TableGet(mt, key);
        *val = *res;
        return;
      }
    }
    if (tm->tt == kTFunction) {
      CallTMRes(L, tm, t, key, val);
      return;
    }
    t = tm;
  }
  RunError(L, "loop in gettable");
}

void SetTable(lua_State* L, const TValue* t, const TValue* key, const TValue* val) {
  for (int loop = 0; loop < kMaxTagLoop; loop++) {
    const TValue* tm;
    if (t->tt == kTTable) {
      TTable* h = TableValue(t);
      TValue* oldval = const_cast<TValue*>(TableGet(h, key));
      if (oldval->tt != kTNil || (tm = FastTM(L, h->metatable, TM_NEWINDEX)) == nullptr) {
        *TableSet(L, h, key) = *val;
        return;
      }
    } else {
      tm = GetTMByObj(L, t, TM_NEWINDEX);
      if (tm->tt == kTNil) TypeError(L, t, "index");
    }
    if (tm->tt == kTFunction) {
      CallTM(L, tm, t, key, val);
      return;
    }
    t = tm;
  }
  RunError(L, "loop in settable");
}

bool EqualObj(lua_State* L, const TValue* t1, const TValue* t2) {
  if (t1->tt != t2->tt) return false;
  const TValue* tm;
  switch (t1->tt) {
    case kTNil:
      return true;
    case kTNumber:
      return t1->v.n == t2->v.n;
    case kTBoolean:
      return t1->v.b == t2->v.b;
    case kTLightUd:
      return t1->v.p == t2->v.p;
    case kTUserdata:
      if (UdataValue(t1) == UdataValue(t2)) return true;
      tm = GetCompTM(L, UdataValue(t1)->metatable, UdataValue(t2)->metatable, TM_EQ);
      break;
    case kTTable:
      if (TableValue(t1) == TableValue(t2)) return true;
      tm = GetCompTM(L, TableValue(t1)->metatable, TableValue(t2)->metatable, TM_EQ);
      break;
    default:
      return t1->v.gc == t2->v.gc;
  }
  if (tm == nullptr) return false;
  CallTMRes(L, tm, t1, t2, L->top);
  return !IsFalse(L->top);
}

bool LessThan(lua_State* L, const TValue* l, const TValue* r) {
  if (l->tt != r->tt) OrderError(L, l, r);
  if (l->tt == kTNumber) return l->v.n < r->v.n;
  if (l->tt == kTString) return StrCmp(StrValue(l), StrValue(r)) < 0;
  const int res = CallOrderTM(L, l, r, TM_LT);
  if (res != -1) return res;
  OrderError(L, l, r);
}

void Concat(lua_State* L, int total, int last) {
  // The last operand that is a string of either kind decides the mode of the whole run.
  bool wide = false;
  for (int i = 0; i < total; i++) {
    const TValue* o = L->base + last - i;
    if (IsStringLike(o)) {
      wide = o->tt == kTWString;
      break;
    }
  }
  const size_t unit = wide ? 2 : 1;
  do {
    StkId top = L->base + last + 1;
    int n = 2;  // operands joined in this pass
    if (!ToText(L, top - 2, wide) || !ToText(L, top - 1, wide)) {
      if (!CallBinTM(L, top - 2, top - 1, top - 2, TM_CONCAT))
        ConcatError(L, top - 2, top - 1, wide);
    } else if (StrValue(top - 1)->len > 0) {
      uint64_t tl = uint64_t{StrValue(top - 1)->len} + StrValue(top - 2)->len;
      while (n < total && ToText(L, top - n - 1, wide)) {
        tl += StrValue(top - n - 1)->len;
        n++;
      }
      if (tl > kMaxStringSize) RunError(L, "string size overflow");
      char* buffer = OpenScratch(L, static_cast<size_t>(tl) * unit);
      size_t used = 0;
      for (int i = n; i > 0; i--) {
        const size_t l = StrValue(top - i)->len * unit;
        memcpy(buffer + used, StrValue(top - i)->Data(), l);
        used += l;
      }
      if (wide)
        SetGc(top - n, NewWStr(L, reinterpret_cast<const char16_t*>(buffer), used / 2), kTWString);
      else
        SetGc(top - n, NewStr(L, buffer, used), kTString);
    }
    total -= n - 1;
    last -= n - 1;
  } while (total > 1);
}

void Execute(lua_State* L, int nexeccalls) {
reentry:
  CallInfo* ci = L->ci;
  TLClosure* cl = static_cast<TLClosure*>(ClosureValue(ci->func));
  StkId base = L->base;
  const TValue* k = cl->p->k;
  const Instruction* pc = ci->savedpc;
  // Hooks can only change during a call, after which this is reloaded.
  bool traced = L->hookmask >= kMaskLine;
// The pc is stored only before what may raise an error or call (messages and the debug
// interface read it); after a call, what the call may have moved is reloaded.
#define SAVEPC() (ci->savedpc = pc)
#define PROTECT(x)                     \
  do {                                 \
    SAVEPC();                          \
    x;                                 \
    base = L->base;                    \
    ci = L->ci;                        \
    traced = L->hookmask >= kMaskLine; \
  } while (0)
#define RB(i) (base + GetB(i))
#define RKB(i) (IsK(GetB(i)) ? k + GetB(i) - kRkConstBase : base + GetB(i))
#define RKC(i) (IsK(GetC(i)) ? k + GetC(i) - kRkConstBase : base + GetC(i))
  for (;;) {
    const Instruction i = *pc++;
    if (traced) [[unlikely]] {
      if (--L->hookcount == 0 || (L->hookmask & kMaskLine)) PROTECT(TraceExec(L, pc));
    }
    StkId ra = base + GetA(i);
    switch (GetOp(i)) {
      case OP_MOVE:
        *ra = *RB(i);
        break;
      case OP_LOADK:
        *ra = k[GetBx(i)];
        break;
      case OP_LOADBOOL:
        SetBool(ra, GetB(i) != 0);
        if (GetC(i)) pc++;
        break;
      case OP_LOADNIL: {
        for (StkId rb = RB(i); rb >= ra; rb--) SetNil(rb);
        break;
      }
      case OP_GETUPVAL:
        *ra = *cl->upvals[GetB(i)]->v;
        break;
      case OP_GETGLOBAL: {
        const TValue* rb = k + GetBx(i);
        if (cl->g.tt == kTTable) {
          const TValue* v = TableGetStr(TableValue(&cl->g), StrValue(rb));
          if (v->tt != kTNil) {
            *ra = *v;
            break;
          }
        }
        PROTECT(GetTable(L, &cl->g, rb, ra));
        break;
      }
      case OP_GETTABLE: {
        const TValue* rb = RB(i);
        const TValue* rc = RKC(i);
        if (rb->tt == kTTable) {
          const TValue* v = TableGet(TableValue(rb), rc);
          if (v->tt != kTNil) {
            *ra = *v;
            break;
          }
        }
        PROTECT(GetTable(L, rb, rc, ra));
        break;
      }
      case OP_SETGLOBAL:
        PROTECT(SetTable(L, &cl->g, k + GetBx(i), ra));
        break;
      case OP_SETUPVAL:
        *cl->upvals[GetB(i)]->v = *ra;
        break;
      case OP_SETTABLE:
        PROTECT(SetTable(L, ra, RKB(i), RKC(i)));
        break;
      case OP_NEWTABLE: {
        const long narray = DecodeFloatByte(GetB(i));
        SAVEPC();
        if (narray < 0 || GetC(i) > kMaxHashBits) RunError(L, "table overflow");
        SetGc(ra, NewTable(L, static_cast<int>(narray), GetC(i)), kTTable);
        PROTECT(CheckGC(L));
        break;
      }
      case OP_SELF: {
        StkId rb = RB(i);
        ra[1] = *rb;
        PROTECT(GetTable(L, base + GetB(i), RKC(i), base + GetA(i)));
        break;
      }
// Two numbers are computed in place; anything else takes the conversions and tag methods.
#define ARITH_CASE(op, tm, expr)                    \
  case op: {                                        \
    const TValue* rb = RKB(i);                      \
    const TValue* rc = RKC(i);                      \
    if (rb->tt == kTNumber && rc->tt == kTNumber) { \
      const Number nb = rb->v.n, nc = rc->v.n;      \
      SetNumber(ra, expr);                          \
    } else {                                        \
      PROTECT(Arith(L, ra, rb, rc, tm));            \
    }                                               \
    break;                                          \
  }
        ARITH_CASE(OP_ADD, TM_ADD, nb + nc)
        ARITH_CASE(OP_SUB, TM_SUB, nb - nc)
        ARITH_CASE(OP_MUL, TM_MUL, nb * nc)
        ARITH_CASE(OP_DIV, TM_DIV, nb / nc)
#undef ARITH_CASE
      case OP_BAND:
      case OP_BOR:
      case OP_SHL:
      case OP_SHR: {
        const TValue* rb = RKB(i);
        const TValue* rc = RKC(i);
        if (rb->tt != kTNumber || rc->tt != kTNumber) {
          SAVEPC();
          ArithError(L, rb, rc);
        }
        const uint32_t x = NumberToBits(rb->v.n), y = NumberToBits(rc->v.n);
        uint32_t r;
        switch (GetOp(i)) {
          case OP_BAND:
            r = x & y;
            break;
          case OP_BOR:
            r = x | y;
            break;
          case OP_SHL:
            r = x << (y & 31);
            break;
          default:
            r = x >> (y & 31);
            break;
        }
        SetNumber(ra, r);
        break;
      }
      case OP_POW: {
        const TValue* rb = RKB(i);
        const TValue* rc = RKC(i);
        if (rb->tt == kTNumber && rc->tt == kTNumber)
          SetNumber(ra, NumberToBits(rb->v.n) ^ NumberToBits(rc->v.n));
        else
          PROTECT(Arith(L, ra, rb, rc, TM_POW));
        break;
      }
      case OP_UNM: {
        const TValue* rb = RB(i);
        TValue temp;
        const TValue* n = ToNumber(rb, &temp);
        if (n) {
          SetNumber(ra, -n->v.n);
        } else {
          SetNil(&temp);
          bool called;
          PROTECT(called = CallBinTM(L, rb, &temp, ra, TM_UNM));
          if (!called) ArithError(L, rb, &temp);
        }
        break;
      }
      case OP_NOT:
        SetBool(ra, IsFalse(RB(i)));
        break;
      case OP_CONCAT: {
        const int b = GetB(i), c = GetC(i);
        PROTECT(Concat(L, c - b + 1, c); CheckGC(L));
        base[GetA(i)] = base[b];
        break;
      }
      case OP_JMP:
        pc += GetSBx(i);
        break;
      case OP_EQ:
      case OP_LT:
      case OP_LE: {
        bool res;
        const TValue* rb = RKB(i);
        const TValue* rc = RKC(i);
        switch (GetOp(i)) {
          case OP_EQ:
            PROTECT(res = EqualObj(L, rb, rc));
            break;
          case OP_LT:
            PROTECT(res = LessThan(L, rb, rc));
            break;
          default:
            PROTECT(res = LessEqual(L, rb, rc));
            break;
        }
        if (res != (GetA(i) != 0))
          pc++;
        else
          pc += GetSBx(*pc) + 1;
        break;
      }
      case OP_TEST: {
        const TValue* rb = RB(i);
        if (IsFalse(rb) == (GetC(i) != 0)) {
          pc++;
        } else {
          *ra = *rb;
          pc += GetSBx(*pc) + 1;
        }
        break;
      }
      case OP_CALL: {
        const int b = GetB(i);
        const int nresults = GetC(i) - 1;
        if (b != 0) L->top = ra + b;  // else the previous open call set the top
        int kind;
        PROTECT(kind = PreCall(L, ra, nresults));
        if (kind == kPcrLua) {
          nexeccalls++;
          goto reentry;
        }
        if (kind == kPcrYield) return;  // the coroutine is suspended here
        if (nresults >= 0) L->top = ci->top;
        break;
      }
      case OP_TAILCALL: {
        const int b = GetB(i);
        if (b != 0) L->top = ra + b;
        int kind;
        PROTECT(kind = PreCall(L, ra, kMultRet));
        if (kind == kPcrLua) {
          // The new frame replaces this one: move it down over this function.
          CallInfo* oldci = L->ci - 1;
          CallInfo* newci = L->ci;
          if (L->openupval) CloseUpvals(L, oldci->base);
          StkId func = oldci->func;
          StkId pfunc = newci->func;
          for (int aux = 0; pfunc + aux < L->top; aux++) func[aux] = pfunc[aux];
          const ptrdiff_t shift = pfunc - func;
          oldci->base = newci->base - shift;
          oldci->top = newci->top - shift;
          L->top = oldci->top;
          L->base = oldci->base;
          oldci->savedpc = newci->savedpc;
          oldci->hookpc = nullptr;  // another function: the line hook starts afresh
          oldci->tailcalls++;
          L->ci = oldci;
          goto reentry;
        }
        if (kind == kPcrYield) return;
        break;  // a native function: its results sit at ra for the following RETURN
      }
      case OP_RETURN: {
        const int b = GetB(i);
        if (b != 0) L->top = ra + b - 1;
        if (L->openupval) CloseUpvals(L, base);
        const int wanted = ci->nresults;
        PosCall(L, ra);
        if (--nexeccalls == 0) return;
        if (wanted >= 0) L->top = L->ci->top;
        goto reentry;
      }
      case OP_FORLOOP: {
        if (ra[0].tt == kTNumber && ra[1].tt == kTNumber && ra[2].tt == kTNumber) {
          const Number step = ra[2].v.n;
          const Number idx = ra->v.n + step;
          if (step > 0 ? idx <= ra[1].v.n : idx >= ra[1].v.n) {
            pc += GetSBx(i);
            ra->v.n = idx;
          }
          break;
        }
        SAVEPC();
        if (ra->tt != kTNumber) RunError(L, "`for' initial value must be a number");
        TValue temp;
        const TValue* plimit = ToNumber(ra + 1, &temp);
        if (plimit == nullptr) RunError(L, "`for' limit must be a number");
        ra[1] = *plimit;
        const TValue* pstep = ToNumber(ra + 2, &temp);
        if (pstep == nullptr) RunError(L, "`for' step must be a number");
        ra[2] = *pstep;
        const Number step = ra[2].v.n;
        const Number idx = ra->v.n + step;
        const Number limit = ra[1].v.n;
        if (step > 0 ? idx <= limit : idx >= limit) {
          pc += GetSBx(i);
          ra->v.n = idx;
        }
        break;
      }
      case OP_TFORLOOP: {
        int nvar = GetC(i) + 1;
        L->top = ra + nvar + 5;
        PROTECT(CheckStack(L, nvar));  // room for the results below the call's top
        ra = base + GetA(i);
        StkId cb = ra + nvar + 2;
        cb[0] = ra[0];
        cb[1] = ra[1];
        cb[2] = ra[2];
        L->top = cb + 3;
        PROTECT(Call(L, cb, nvar));
        L->top = ci->top;
        ra = base + GetA(i) + 2;
        cb = ra + nvar;
        do {
          nvar--;
          ra[nvar] = cb[nvar];
        } while (nvar > 0);
        if (ra->tt == kTNil)
          pc++;
        else
          pc += GetSBx(*pc) + 1;
        break;
      }
      case OP_TFORPREP: {
        if (ra->tt == kTTable) {
          ra[1] = *ra;
          *ra = *TableGetStr(TableValue(&L->l_gt), NewStr(L, "next"));
        }
        pc += GetSBx(i);
        break;
      }
      case OP_SETLIST:
      case OP_SETLISTO: {
        if (ra->tt != kTTable) {
          SAVEPC();
          TypeError(L, ra, "index");
        }
        TTable* h = TableValue(ra);
        int bc = GetBx(i);
        int n;
        if (GetOp(i) == OP_SETLIST) {
          n = (bc & (kFieldsPerFlush - 1)) + 1;
        } else {
          n = static_cast<int>(L->top - ra) - 1;
          L->top = ci->top;
        }
        bc &= ~(kFieldsPerFlush - 1);
        for (; n > 0; n--) *TableSetNum(L, h, bc + n) = ra[n];
        break;
      }
      case OP_CLOSE:
        CloseUpvals(L, ra);
        break;
      case OP_CLOSURE: {
        TProto* p = cl->p->p[GetBx(i)];
        const int nup = p->nups;
        TLClosure* ncl = NewLClosure(L, nup, &cl->g);
        ncl->p = p;
        for (int j = 0; j < nup; j++, pc++) {
          if (GetOp(*pc) == OP_GETUPVAL)
            ncl->upvals[j] = cl->upvals[GetB(*pc)];
          else
            ncl->upvals[j] = FindUpval(L, base + GetB(*pc));
        }
        ci->savedpc = pc;
        SetGc(ra, ncl, kTFunction);
        PROTECT(CheckGC(L));
        break;
      }
      default:
        SAVEPC();
        RunError(L, "bad code");
    }
  }
#undef PROTECT
#undef SAVEPC
#undef RB
#undef RKB
#undef RKC
}

}  // namespace tvs
