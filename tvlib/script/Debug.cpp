// Run-time errors and the verifier. Symbolic execution walks a prototype's code up to an
// instruction, checking every operand, and remembers the last instruction that set a given
// register: the verifier uses the checks, error messages use the register's origin.
#include "tvlib/script/Debug.h"

#include <cstdarg>
#include <vector>

#include "tvlib/script/Call.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Opcodes.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Vm.h"

namespace tvs {

namespace {

const TProto* FrameProto(const CallInfo* ci) {
  return static_cast<TLClosure*>(ClosureValue(ci->func))->p;
}

bool CheckReg(const TProto* pt, int r) {
  return r >= 0 && r < pt->maxstacksize;
}
bool CheckRK(const TProto* pt, int rk) {
  return IsK(rk) ? rk - kRkConstBase < pt->sizek : rk < pt->maxstacksize;
}
bool IsStringK(const TProto* pt, int k) {
  return k >= 0 && k < pt->sizek && pt->k[k].tt == kTString;
}

bool PreCheck(const TProto* pt) {
  if (pt->maxstacksize > kMaxStack) return false;
  if (pt->numparams + pt->isVararg > pt->maxstacksize) return false;
  if (pt->sizelineinfo != pt->sizecode && pt->sizelineinfo != 0) return false;
  if (pt->sizecode <= 0 || GetOp(pt->code[pt->sizecode - 1]) != OP_RETURN) return false;
  if (pt->sizeupvalues != pt->nups && pt->sizeupvalues != 0) return false;
  return true;
}

// After an open call (results up to the top) only an instruction taking them may follow.
bool CheckOpenOp(const TProto* pt, int pc) {
  const Instruction i = pt->code[pc + 1];
  switch (GetOp(i)) {
    case OP_CALL:
    case OP_TAILCALL:
    case OP_RETURN:
      return GetB(i) == 0;
    case OP_SETLISTO:
      return true;
    default:
      return false;
  }
}

// Marks the pseudo-instructions that follow each CLOSURE (one per upvalue); false when a
// CLOSURE is malformed.
bool MarkClosureTails(const TProto* pt, std::vector<bool>& tail) {
  for (int pc = 0; pc < pt->sizecode; pc++) {
    const Instruction i = pt->code[pc];
    if (GetOp(i) != OP_CLOSURE || tail[pc]) continue;
    const int bx = GetBx(i);
    if (bx >= pt->sizep || pt->p[bx] == nullptr) return false;
    const int nups = pt->p[bx]->nups;
    if (pc + nups >= pt->sizecode) return false;
    for (int j = 1; j <= nups; j++) {
      const Instruction u = pt->code[pc + j];
      if (GetOp(u) == OP_MOVE) {
        if (!CheckReg(pt, GetB(u))) return false;
      } else if (GetOp(u) == OP_GETUPVAL) {
        if (GetB(u) >= pt->nups) return false;
      } else {
        return false;
      }
      tail[pc + j] = true;
    }
  }
  return true;
}

constexpr int kNoRegister = -1;

// Checks the code up to lastpc; returns the pc of the last instruction that set `reg' (the
// final RETURN when none did), or -1 when the code is bad.
int SymbExec(const TProto* pt, int lastpc, int reg) {
  if (!PreCheck(pt)) return -1;
  std::vector<bool> tail(static_cast<size_t>(pt->sizecode), false);
  if (!MarkClosureTails(pt, tail)) return -1;
  auto goodTarget = [&](int dest) { return dest >= 0 && dest < pt->sizecode && !tail[dest]; };
  int last = pt->sizecode - 1;
  for (int pc = 0; pc < lastpc; pc++) {
    const Instruction i = pt->code[pc];
    const OpCode op = GetOp(i);
    if (op >= kNumOpcodes) return -1;
    const int a = GetA(i);
    int b = 0, c = 0;
    if (!CheckReg(pt, a)) return -1;
    switch (GetFormat(op)) {
      case iABC:
        b = GetB(i);
        c = GetC(i);
        if (TestMode(op, kModeBReg) && !CheckReg(pt, b)) return -1;
        if (TestMode(op, kModeBRK) && !CheckRK(pt, b)) return -1;
        if (TestMode(op, kModeCRK) && !CheckRK(pt, c)) return -1;
        break;
      case iABx:
        b = GetBx(i);
        if (TestMode(op, kModeKBx) && b >= pt->sizek) return -1;
        break;
      case iAsBx:
        b = GetSBx(i);
        break;
    }
    if (TestMode(op, kModeSetsA) && a == reg) last = pc;
    if (TestMode(op, kModeTest)) {
      if (pc + 2 >= pt->sizecode || GetOp(pt->code[pc + 1]) != OP_JMP) return -1;
    }
    switch (op) {
      case OP_LOADBOOL:
        if (c != 0 && !goodTarget(pc + 2)) return -1;
        break;
      case OP_LOADNIL:
        if (a <= reg && reg <= b) last = pc;
        break;
      case OP_GETUPVAL:
      case OP_SETUPVAL:
        if (b >= pt->nups) return -1;
        break;
      case OP_GETGLOBAL:
      case OP_SETGLOBAL:
        if (!IsStringK(pt, b)) return -1;
        break;
      case OP_SELF:
        if (!CheckReg(pt, a + 1)) return -1;
        if (IsK(c) && !IsStringK(pt, c - kRkConstBase)) return -1;
        if (reg == a + 1) last = pc;
        break;
      case OP_NEWTABLE:
        if (DecodeFloatByte(b) < 0 || c > kMaxHashBits) return -1;
        break;
      case OP_CONCAT:
        if (!(b < c) || !CheckReg(pt, c)) return -1;
        break;
      case OP_JMP:
      case OP_TFORPREP:
      case OP_FORLOOP: {
        const int dest = pc + 1 + b;
        if (!goodTarget(dest)) return -1;
        if (op == OP_FORLOOP && !CheckReg(pt, a + 2)) return -1;
        if (op == OP_TFORPREP && !CheckReg(pt, a + 1)) return -1;
        // A forward jump that does not pass lastpc skips the code in between.
        if (op == OP_JMP && reg != kNoRegister && pc < dest && dest <= lastpc) pc += b;
        break;
      }
      case OP_CALL:
      case OP_TAILCALL:
        if (b != 0 && !CheckReg(pt, a + b - 1)) return -1;
        c--;
        if (c == kMultRet) {
          if (pc + 1 >= pt->sizecode || !CheckOpenOp(pt, pc)) return -1;
        } else if (c != 0 && !CheckReg(pt, a + c - 1)) {
          return -1;
        }
        if (reg >= a) last = pc;
        break;
      case OP_RETURN:
        if (b > 1 && !CheckReg(pt, a + b - 2)) return -1;
        break;
      case OP_TFORLOOP:
        if (!CheckReg(pt, a + c + 5)) return -1;
        if (reg >= a) last = pc;
        break;
      case OP_SETLIST:
      case OP_SETLISTO:
        if (!CheckReg(pt, a + (b & (kFieldsPerFlush - 1)) + 1)) return -1;
        break;
      case OP_CLOSURE:
        pc += pt->p[b]->nups;  // the pseudo-instructions were checked with the tails
        break;
      default:
        break;
    }
  }
  return last;
}

void PushPosition(lua_State* L, const char* msg) {
  CallInfo* ci = L->ci;
  if (!IsLuaFrame(ci)) return;
  char id[kIdSize];
  ChunkId(id, FrameProto(ci)->source->Data(), kIdSize);
  PushFString(L, "%s:%d: %s", id, CurrentLine(ci), msg);
}

bool IsInStack(const CallInfo* ci, const TValue* o) {
  for (StkId p = ci->base; p < ci->top; p++)
    if (o == p) return true;
  return false;
}

}  // namespace

bool IsLuaFrame(const CallInfo* ci) {
  return ci->func->tt == kTFunction && !ClosureValue(ci->func)->isC && ci->savedpc != nullptr;
}

int CurrentPc(const CallInfo* ci) {
  if (!IsLuaFrame(ci)) return -1;
  return static_cast<int>(ci->savedpc - FrameProto(ci)->code) - 1;
}

int CurrentLine(const CallInfo* ci) {
  const int pc = CurrentPc(ci);
  if (pc < 0) return -1;
  const TProto* p = FrameProto(ci);
  return p->lineinfo ? p->lineinfo[pc] : 0;
}

bool CheckCode(const TProto* pt) {
  return SymbExec(pt, pt->sizecode, kNoRegister) >= 0;
}

const char* GetObjName(CallInfo* ci, int stackpos, const char** name) {
  if (!IsLuaFrame(ci)) return nullptr;
  const TProto* p = FrameProto(ci);
  const int pc = CurrentPc(ci);
  *name = GetLocalName(p, stackpos + 1, pc);
  if (*name) return "local";
  const int setter = SymbExec(p, pc, stackpos);
  if (setter < 0) return nullptr;
  const Instruction i = p->code[setter];
  switch (GetOp(i)) {
    case OP_GETGLOBAL:
      *name = p->k[GetBx(i)].tt == kTString ? StrValue(&p->k[GetBx(i)])->Data() : "?";
      return "global";
    case OP_MOVE:
      if (GetB(i) < GetA(i)) return GetObjName(ci, GetB(i), name);
      return nullptr;
    case OP_GETTABLE:
    case OP_SELF: {
      const int k = GetC(i) - kRkConstBase;
      if (k >= 0 && p->k[k].tt == kTString) {
        *name = StrValue(&p->k[k])->Data();
        return GetOp(i) == OP_SELF ? "method" : "field";
      }
      return nullptr;
    }
    default:
      return nullptr;
  }
}

const char* GetFuncName(CallInfo* ci, const char** name) {
  if (ci->tailcalls > 0) return nullptr;
  CallInfo* caller = ci - 1;
  if (!IsLuaFrame(caller)) return nullptr;
  const Instruction i = FrameProto(caller)->code[CurrentPc(caller)];
  if (GetOp(i) == OP_CALL || GetOp(i) == OP_TAILCALL) return GetObjName(caller, GetA(i), name);
  return nullptr;
}

void RunError(lua_State* L, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const char* msg = PushVFString(L, fmt, args);
  va_end(args);
  if (IsLuaFrame(L->ci)) {
    PushPosition(L, msg);
    L->top[-2] = L->top[-1];
    L->top--;
  }
  ErrorMsg(L);
}

void ErrorMsg(lua_State* L) {
  if (L->errfunc != 0) {
    StkId errfunc = RestoreStack(L, L->errfunc);
    if (errfunc->tt != kTFunction) Throw(L, kErrErr);
    L->top[0] = L->top[-1];  // the message becomes the handler's argument
    L->top[-1] = *errfunc;
    IncrTop(L);
    Call(L, L->top - 2, 1);
  }
  Throw(L, kErrRun);
}

void TypeError(lua_State* L, const TValue* o, const char* op) {
  const char* name = nullptr;
  const char* t = kTypeNames[o->tt];
  const char* kind =
      IsInStack(L->ci, o) ? GetObjName(L->ci, static_cast<int>(o - L->base), &name) : nullptr;
  if (kind) RunError(L, "attempt to %s %s `%s' (a %s value)", op, kind, name, t);
  RunError(L, "attempt to %s a %s value", op, t);
}

void ConcatError(lua_State* L, const TValue* p1, const TValue* p2, bool wide) {
  if (wide ? p1->tt == kTString : (p1->tt == kTString || p1->tt == kTNumber)) p1 = p2;
  TypeError(L, p1, "concatenate");
}

void ArithError(lua_State* L, const TValue* p1, const TValue* p2) {
  TValue temp;
  if (ToNumber(p1, &temp) == nullptr) p2 = p1;  // the first operand is the wrong one
  TypeError(L, p2, "perform arithmetic on");
}

void OrderError(lua_State* L, const TValue* p1, const TValue* p2) {
  const char* t1 = kTypeNames[p1->tt];
  const char* t2 = kTypeNames[p2->tt];
  if (t1[2] == t2[2]) RunError(L, "attempt to compare two %s values", t1);
  RunError(L, "attempt to compare %s with %s", t1, t2);
}

}  // namespace tvs
