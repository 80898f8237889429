// The code generator. No expression is folded at compile time except a unary minus on a
// numeric constant and `not' on a constant. Code shapes follow the language's classic
// single-pass register allocation: a temporary takes the next free register and is freed
// in stack order.
#include "tvlib/script/CodeGen.h"

#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"

namespace tvs {

namespace {

int GetJump(FuncState* fs, int pc) {
  const int offset = GetSBx(fs->f->code[pc]);
  return offset == kNoJump ? kNoJump : pc + 1 + offset;
}

void FixJump(FuncState* fs, int pc, int dest) {
  const int offset = dest - (pc + 1);
  if (offset > kMaxArgSBx || offset < -kMaxArgSBx)
    SyntaxError(fs->ls, "control structure too long");
  SetSBx(&fs->f->code[pc], offset);
}

// The instruction that decides a jump: the test before it, or the jump itself.
Instruction* GetJumpControl(FuncState* fs, int pc) {
  Instruction* pi = &fs->f->code[pc];
  if (pc >= 1 && TestMode(GetOp(pi[-1]), kModeTest)) return pi - 1;
  return pi;
}

// Whether some jump of the list needs a materialised boolean (is not a TEST keeping the
// tested value under condition `cond').
bool NeedValue(FuncState* fs, int list, int cond) {
  for (; list != kNoJump; list = GetJump(fs, list)) {
    const Instruction i = *GetJumpControl(fs, list);
    if (GetOp(i) != OP_TEST || GetC(i) != cond) return true;
  }
  return false;
}

void PatchTestReg(Instruction* i, int reg) {
  if (reg == kNoReg) reg = GetB(*i);
  SetA(i, reg);
}

// Patches each jump of the list: TESTs jumping on a true value go to ttarget keeping their
// value in treg, on a false value to ftarget with freg; other jumps to dtarget.
void PatchListAux(FuncState* fs, int list, int ttarget, int treg, int ftarget, int freg,
                  int dtarget) {
  while (list != kNoJump) {
    const int next = GetJump(fs, list);
    Instruction* i = GetJumpControl(fs, list);
    if (GetOp(*i) != OP_TEST) {
      FixJump(fs, list, dtarget);
    } else if (GetC(*i)) {
      PatchTestReg(i, treg);
      FixJump(fs, list, ttarget);
    } else {
      PatchTestReg(i, freg);
      FixJump(fs, list, ftarget);
    }
    list = next;
  }
}

void DischargeJpc(FuncState* fs) {
  PatchListAux(fs, fs->jpc, fs->pc, kNoReg, fs->pc, kNoReg, fs->pc);
  fs->jpc = kNoJump;
}

void FreeReg(FuncState* fs, int reg) {
  if (reg >= fs->nactvar && reg < kMaxStack) fs->freereg--;
}

void FreeExp(FuncState* fs, ExpDesc* e) {
  if (e->k == VNONRELOC) FreeReg(fs, e->info);
}

int AddK(FuncState* fs, const TValue* key, const TValue* value) {
  const TValue* idx = TableGet(fs->h, key);
  if (idx->tt == kTNumber) return NumberToInt(idx->v.n);
  TProto* f = fs->f;
  if (fs->nk > kMaxArgBx) SyntaxError(fs->ls, "constant table overflow");
  int oldsize = f->sizek;
  GrowVector(fs->L, f->k, fs->nk, f->sizek, kMaxArgBx + 1, "constant table overflow");
  for (; oldsize < f->sizek; oldsize++) SetNil(&f->k[oldsize]);
  f->k[fs->nk] = *value;
  SetNumber(TableSet(fs->L, fs->h, key), fs->nk);
  return fs->nk++;
}

int NilK(FuncState* fs) {
  TValue k, v;
  SetGc(&k, fs->h, kTTable);  // nil cannot be a key: the lookup table stands for it
  SetNil(&v);
  return AddK(fs, &k, &v);
}

int CondJump(FuncState* fs, OpCode op, int a, int b, int c) {
  CodeABC(fs, op, a, b, c);
  return Jump(fs);
}

void SetExpReg(ExpDesc* e, int reg) {
  e->info = reg;
  e->k = VNONRELOC;
}

void Discharge2Reg(FuncState* fs, ExpDesc* e, int reg) {
  DischargeVars(fs, e);
  switch (e->k) {
    case VNIL:
      CodeNil(fs, reg, 1);
      break;
    case VFALSE:
    case VTRUE:
      CodeABC(fs, OP_LOADBOOL, reg, e->k == VTRUE, 0);
      break;
    case VK:
      CodeABx(fs, OP_LOADK, reg, e->info);
      break;
    case VRELOCABLE:
      SetA(&GetCode(fs, e), reg);
      break;
    case VNONRELOC:
      if (reg != e->info) CodeABC(fs, OP_MOVE, reg, e->info, 0);
      break;
    default:
      return;  // VVOID and VJMP: nothing to move
  }
  SetExpReg(e, reg);
}

void Discharge2AnyReg(FuncState* fs, ExpDesc* e) {
  if (e->k != VNONRELOC) {
    ReserveRegs(fs, 1);
    Discharge2Reg(fs, e, fs->freereg - 1);
  }
}

int CodeLabel(FuncState* fs, int a, int b, int jump) {
  GetLabel(fs);
  return CodeABC(fs, OP_LOADBOOL, a, b, jump);
}

void Exp2Reg(FuncState* fs, ExpDesc* e, int reg) {
  Discharge2Reg(fs, e, reg);
  if (e->k == VJMP) Concat(fs, &e->t, e->info);
  if (HasJumps(e)) {
    int pFalse = kNoJump, pTrue = kNoJump;
    if (NeedValue(fs, e->t, 1) || NeedValue(fs, e->f, 0)) {
      const int fj = e->k == VJMP ? kNoJump : Jump(fs);
      pFalse = CodeLabel(fs, reg, 0, 1);
      pTrue = CodeLabel(fs, reg, 1, 0);
      PatchToHere(fs, fj);
    }
    const int final = GetLabel(fs);
    PatchListAux(fs, e->f, pFalse, kNoReg, final, reg, pFalse);
    PatchListAux(fs, e->t, final, reg, pTrue, kNoReg, pTrue);
  }
  e->f = e->t = kNoJump;
  SetExpReg(e, reg);
}

void InvertJump(FuncState* fs, ExpDesc* e) {
  Instruction* pc = GetJumpControl(fs, e->info);
  SetA(pc, !GetA(*pc));
}

int JumpOnCond(FuncState* fs, ExpDesc* e, int cond) {
  if (e->k == VRELOCABLE) {
    const Instruction ie = GetCode(fs, e);
    if (GetOp(ie) == OP_NOT) {
      fs->pc--;  // drop the NOT and test its operand the other way
      return CondJump(fs, OP_TEST, kNoReg, GetB(ie), !cond);
    }
  }
  Discharge2AnyReg(fs, e);
  FreeExp(fs, e);
  return CondJump(fs, OP_TEST, kNoReg, e->info, cond);
}

void CodeNot(FuncState* fs, ExpDesc* e) {
  DischargeVars(fs, e);
  switch (e->k) {
    case VNIL:
    case VFALSE:
      e->k = VTRUE;
      break;
    case VK:
    case VTRUE:
      e->k = VFALSE;
      break;
    case VJMP:
      InvertJump(fs, e);
      break;
    case VRELOCABLE:
    case VNONRELOC:
      Discharge2AnyReg(fs, e);
      FreeExp(fs, e);
      e->info = CodeABC(fs, OP_NOT, 0, e->info, 0);
      e->k = VRELOCABLE;
      break;
    default:
      break;
  }
  const int temp = e->f;
  e->f = e->t;
  e->t = temp;
}

void CodeBinOp(FuncState* fs, ExpDesc* res, BinOpr op, int o1, int o2) {
  if (op <= OPR_POW) {
    res->info = CodeABC(fs, static_cast<OpCode>(static_cast<int>(OP_ADD) + static_cast<int>(op)), 0,
                        o1, o2);
    res->k = VRELOCABLE;
    return;
  }
  static const OpCode kCompare[] = {OP_EQ, OP_EQ, OP_LT, OP_LE, OP_LT, OP_LE};
  int cond = 1;
  if (op >= OPR_GT) {
    const int temp = o1;  // a > b is b < a
    o1 = o2;
    o2 = temp;
  } else if (op == OPR_NE) {
    cond = 0;
  }
  res->info = CondJump(fs, kCompare[op - OPR_NE], cond, o1, o2);
  res->k = VJMP;
}

}  // namespace

int Code(FuncState* fs, Instruction i, int line) {
  TProto* f = fs->f;
  DischargeJpc(fs);
  if (fs->pc >= kMaxIntLimit) SyntaxError(fs->ls, "code size overflow");
  GrowVector(fs->L, f->code, fs->pc, f->sizecode, kMaxIntLimit, "code size overflow");
  f->code[fs->pc] = i;
  GrowVector(fs->L, f->lineinfo, fs->pc, f->sizelineinfo, kMaxIntLimit, "code size overflow");
  f->lineinfo[fs->pc] = line;
  return fs->pc++;
}

int CodeABC(FuncState* fs, OpCode o, int a, int b, int c) {
  return Code(fs, CreateABC(o, a, b, c), fs->ls->lastline);
}

int CodeABx(FuncState* fs, OpCode o, int a, int bx) {
  return Code(fs, CreateABx(o, a, bx), fs->ls->lastline);
}

void FixLine(FuncState* fs, int line) {
  fs->f->lineinfo[fs->pc - 1] = line;
}

void CodeNil(FuncState* fs, int from, int n) {
  // A LOADNIL right before, with no jump landing here, is extended instead.
  if (fs->pc > fs->lasttarget && fs->pc > 0) {
    Instruction* previous = &fs->f->code[fs->pc - 1];
    if (GetOp(*previous) == OP_LOADNIL) {
      const int pfrom = GetA(*previous), pto = GetB(*previous);
      if (pfrom <= from && from <= pto + 1) {
        if (from + n - 1 > pto) SetB(previous, from + n - 1);
        return;
      }
    }
  }
  CodeABC(fs, OP_LOADNIL, from, from + n - 1, 0);
}

void CheckStackRoom(FuncState* fs, int n) {
  const int newstack = fs->freereg + n;
  if (newstack > fs->f->maxstacksize) {
    if (newstack >= kMaxStack) SyntaxError(fs->ls, "function or expression too complex");
    fs->f->maxstacksize = static_cast<uint8_t>(newstack);
  }
}

void ReserveRegs(FuncState* fs, int n) {
  CheckStackRoom(fs, n);
  fs->freereg += n;
}

int StringK(FuncState* fs, TStr* s) {
  TValue o;
  SetGc(&o, s, kTString);
  return AddK(fs, &o, &o);
}

int WStringK(FuncState* fs, TStr* s) {
  TValue o;
  SetGc(&o, s, kTWString);
  return AddK(fs, &o, &o);
}

int NumberK(FuncState* fs, Number r) {
  TValue o;
  SetNumber(&o, r);
  return AddK(fs, &o, &o);
}

int Jump(FuncState* fs) {
  const int jpc = fs->jpc;  // jumps to here now jump to where this one goes
  fs->jpc = kNoJump;
  int j = CodeAsBx(fs, OP_JMP, 0, kNoJump);
  Concat(fs, &j, jpc);
  return j;
}

int GetLabel(FuncState* fs) {
  fs->lasttarget = fs->pc;
  return fs->pc;
}

void PatchList(FuncState* fs, int list, int target) {
  if (target == fs->pc)
    PatchToHere(fs, list);
  else
    PatchListAux(fs, list, target, kNoReg, target, kNoReg, target);
}

void PatchToHere(FuncState* fs, int list) {
  GetLabel(fs);
  Concat(fs, &fs->jpc, list);
}

void Concat(FuncState* fs, int* l1, int l2) {
  if (l2 == kNoJump) return;
  if (*l1 == kNoJump) {
    *l1 = l2;
    return;
  }
  int list = *l1;
  for (int next; (next = GetJump(fs, list)) != kNoJump;) list = next;
  FixJump(fs, list, l2);
}

void SetCallReturns(FuncState* fs, ExpDesc* e, int nresults) {
  if (e->k != VCALL) return;
  SetC(&GetCode(fs, e), nresults + 1);
  if (nresults == 1) {
    e->k = VNONRELOC;
    e->info = GetA(GetCode(fs, e));
  }
}

void DischargeVars(FuncState* fs, ExpDesc* e) {
  switch (e->k) {
    case VLOCAL:
      e->k = VNONRELOC;
      break;
    case VUPVAL:
      e->info = CodeABC(fs, OP_GETUPVAL, 0, e->info, 0);
      e->k = VRELOCABLE;
      break;
    case VGLOBAL:
      e->info = CodeABx(fs, OP_GETGLOBAL, 0, e->info);
      e->k = VRELOCABLE;
      break;
    case VINDEXED:
      FreeReg(fs, e->aux);
      FreeReg(fs, e->info);
      e->info = CodeABC(fs, OP_GETTABLE, 0, e->info, e->aux);
      e->k = VRELOCABLE;
      break;
    case VCALL:
      SetCallReturns(fs, e, 1);
      break;
    default:
      break;
  }
}

void Exp2NextReg(FuncState* fs, ExpDesc* e) {
  DischargeVars(fs, e);
  FreeExp(fs, e);
  ReserveRegs(fs, 1);
  Exp2Reg(fs, e, fs->freereg - 1);
}

int Exp2AnyReg(FuncState* fs, ExpDesc* e) {
  DischargeVars(fs, e);
  if (e->k == VNONRELOC) {
    if (!HasJumps(e)) return e->info;
    if (e->info >= fs->nactvar) {  // a temporary: the jumps can land in it
      Exp2Reg(fs, e, e->info);
      return e->info;
    }
  }
  Exp2NextReg(fs, e);
  return e->info;
}

void Exp2Val(FuncState* fs, ExpDesc* e) {
  if (HasJumps(e))
    Exp2AnyReg(fs, e);
  else
    DischargeVars(fs, e);
}

int Exp2RK(FuncState* fs, ExpDesc* e) {
  Exp2Val(fs, e);
  switch (e->k) {
    case VNIL:
      if (fs->nk <= kMaxRkIndex) {
        e->info = NilK(fs);
        e->k = VK;
        return e->info + kRkConstBase;
      }
      break;
    case VK:
      if (e->info <= kMaxRkIndex) return e->info + kRkConstBase;
      break;
    default:
      break;
  }
  return Exp2AnyReg(fs, e);
}

void StoreVar(FuncState* fs, ExpDesc* var, ExpDesc* ex) {
  switch (var->k) {
    case VLOCAL:
      FreeExp(fs, ex);
      Exp2Reg(fs, ex, var->info);
      return;
    case VUPVAL:
      CodeABC(fs, OP_SETUPVAL, Exp2AnyReg(fs, ex), var->info, 0);
      break;
    case VGLOBAL:
      CodeABx(fs, OP_SETGLOBAL, Exp2AnyReg(fs, ex), var->info);
      break;
    case VINDEXED:
      CodeABC(fs, OP_SETTABLE, var->info, var->aux, Exp2RK(fs, ex));
      break;
    default:
      break;
  }
  FreeExp(fs, ex);
}

void SelfOp(FuncState* fs, ExpDesc* e, ExpDesc* key) {
  Exp2AnyReg(fs, e);
  FreeExp(fs, e);
  const int func = fs->freereg;
  ReserveRegs(fs, 2);
  CodeABC(fs, OP_SELF, func, e->info, Exp2RK(fs, key));
  FreeExp(fs, key);
  SetExpReg(e, func);
}

void Indexed(FuncState* fs, ExpDesc* t, ExpDesc* k) {
  t->aux = Exp2RK(fs, k);
  t->k = VINDEXED;
}

void GoIfTrue(FuncState* fs, ExpDesc* e) {
  int pc;
  DischargeVars(fs, e);
  switch (e->k) {
    case VK:
    case VTRUE:
      pc = kNoJump;
      break;
    case VFALSE:
      pc = Jump(fs);
      break;
    case VJMP:
      InvertJump(fs, e);
      pc = e->info;
      break;
    default:
      pc = JumpOnCond(fs, e, 0);
      break;
  }
  Concat(fs, &e->f, pc);
}

void GoIfFalse(FuncState* fs, ExpDesc* e) {
  int pc;
  DischargeVars(fs, e);
  switch (e->k) {
    case VNIL:
    case VFALSE:
      pc = kNoJump;
      break;
    case VTRUE:
      pc = Jump(fs);
      break;
    case VJMP:
      pc = e->info;
      break;
    default:
      pc = JumpOnCond(fs, e, 1);
      break;
  }
  Concat(fs, &e->t, pc);
}

void Prefix(FuncState* fs, UnOpr op, ExpDesc* e) {
  if (op == OPR_NOT) {
    CodeNot(fs, e);
    return;
  }
  Exp2Val(fs, e);
  if (e->k == VK && fs->f->k[e->info].tt == kTNumber) {
    e->info = NumberK(fs, -fs->f->k[e->info].v.n);
    return;
  }
  Exp2AnyReg(fs, e);
  FreeExp(fs, e);
  e->info = CodeABC(fs, OP_UNM, 0, e->info, 0);
  e->k = VRELOCABLE;
}

void Infix(FuncState* fs, BinOpr op, ExpDesc* v) {
  switch (op) {
    case OPR_AND:
      GoIfTrue(fs, v);
      PatchToHere(fs, v->t);
      v->t = kNoJump;
      break;
    case OPR_OR:
      GoIfFalse(fs, v);
      PatchToHere(fs, v->f);
      v->f = kNoJump;
      break;
    case OPR_CONCAT:
      Exp2NextReg(fs, v);
      break;
    default: {
      const int rk = Exp2RK(fs, v);
      InitExp(v, VNONRELOC, rk);
      break;
    }
  }
}

void Posfix(FuncState* fs, BinOpr op, ExpDesc* e1, ExpDesc* e2) {
  switch (op) {
    case OPR_AND: {
      DischargeVars(fs, e2);
      Concat(fs, &e1->f, e2->f);
      const int f = e1->f;
      *e1 = *e2;
      e1->f = f;
      break;
    }
    case OPR_OR: {
      DischargeVars(fs, e2);
      Concat(fs, &e1->t, e2->t);
      const int t = e1->t;
      *e1 = *e2;
      e1->t = t;
      break;
    }
    case OPR_CONCAT: {
      Exp2Val(fs, e2);
      if (e2->k == VRELOCABLE && GetOp(GetCode(fs, e2)) == OP_CONCAT) {
        // Extend the following concatenation down to this operand's register.
        FreeExp(fs, e1);
        SetB(&GetCode(fs, e2), e1->info);
        e1->k = e2->k;
        e1->info = e2->info;
      } else {
        Exp2NextReg(fs, e2);
        FreeExp(fs, e2);
        FreeExp(fs, e1);
        e1->info = CodeABC(fs, OP_CONCAT, 0, e1->info, e2->info);
        e1->k = VRELOCABLE;
      }
      break;
    }
    default: {
      const int o1 = Exp2RK(fs, e1);
      const int o2 = Exp2RK(fs, e2);
      FreeExp(fs, e2);
      FreeExp(fs, e1);
      CodeBinOp(fs, e1, op, o1, o2);
    }
  }
}

}  // namespace tvs
