// The code generator: emits a function's instructions while the parser reads it. Expressions
// are described by ExpDesc until they are discharged into registers; pending jumps are chained
// through their sBx fields (kNoJump ends a list).
#pragma once

#include "tvlib/script/Lexer.h"
#include "tvlib/script/Opcodes.h"

namespace tvs {

constexpr int kNoJump = -1;

enum ExpKind {
  VVOID,  // no value
  VNIL,
  VTRUE,
  VFALSE,
  VK,          // info = constant index
  VLOCAL,      // info = register
  VUPVAL,      // info = upvalue index
  VGLOBAL,     // info = constant index of the name
  VINDEXED,    // info = table register, aux = key RK
  VJMP,        // info = pc of the jump
  VRELOCABLE,  // info = pc of the instruction whose A is still to be set
  VNONRELOC,   // info = result register
  VCALL,       // info = pc of the call
};

struct ExpDesc {
  ExpKind k;
  int info, aux;
  int t;  // jumps taken when true
  int f;  // jumps taken when false
};

// Binary operators, numbered as the parser passes them.
enum BinOpr {
  OPR_ADD,
  OPR_SUB,
  OPR_MULT,
  OPR_DIV,
  OPR_BAND,
  OPR_BOR,
  OPR_SHL,
  OPR_SHR,
  OPR_POW,
  OPR_CONCAT,
  OPR_NE,
  OPR_EQ,
  OPR_LT,
  OPR_LE,
  OPR_GT,
  OPR_GE,
  OPR_AND,
  OPR_OR,
  OPR_NOBINOPR
};
enum UnOpr { OPR_MINUS, OPR_NOT, OPR_NOUNOPR };

struct BlockCnt {
  BlockCnt* previous;
  int breaklist;
  int continuelist;
  int nactvar;  // active locals outside the block
  bool upval;   // some local of this block is captured by a closure
  bool isloop;
};

struct FuncState {
  TProto* f;
  TTable* h;  // constant value -> index
  FuncState* prev;
  LexState* ls;
  lua_State* L;
  BlockCnt* bl;
  int pc;
  int lasttarget;  // pc of the last jump target
  int jpc;         // jumps pending to the current pc
  int freereg;
  int nk;
  int np;
  int nlocvars;
  int nactvar;
  ExpDesc upvalues[kMaxUpvalues];
  int actvar[kMaxVars];
};

inline void InitExp(ExpDesc* e, ExpKind k, int info) {
  e->k = k;
  e->info = info;
  e->aux = 0;
  e->t = e->f = kNoJump;
}
inline Instruction& GetCode(FuncState* fs, const ExpDesc* e) {
  return fs->f->code[e->info];
}

int Code(FuncState* fs, Instruction i, int line);
int CodeABC(FuncState* fs, OpCode o, int a, int b, int c);
int CodeABx(FuncState* fs, OpCode o, int a, int bx);
inline int CodeAsBx(FuncState* fs, OpCode o, int a, int sbx) {
  return CodeABx(fs, o, a, sbx + kMaxArgSBx);
}
void FixLine(FuncState* fs, int line);
void CodeNil(FuncState* fs, int from, int n);
void ReserveRegs(FuncState* fs, int n);
void CheckStackRoom(FuncState* fs, int n);
int StringK(FuncState* fs, TStr* s);
int WStringK(FuncState* fs, TStr* s);
int NumberK(FuncState* fs, Number r);
void DischargeVars(FuncState* fs, ExpDesc* e);
int Exp2AnyReg(FuncState* fs, ExpDesc* e);
void Exp2NextReg(FuncState* fs, ExpDesc* e);
void Exp2Val(FuncState* fs, ExpDesc* e);
int Exp2RK(FuncState* fs, ExpDesc* e);
void SelfOp(FuncState* fs, ExpDesc* e, ExpDesc* key);
void Indexed(FuncState* fs, ExpDesc* t, ExpDesc* k);
void GoIfTrue(FuncState* fs, ExpDesc* e);
void StoreVar(FuncState* fs, ExpDesc* var, ExpDesc* e);
void SetCallReturns(FuncState* fs, ExpDesc* e, int nresults);
int Jump(FuncState* fs);
void PatchList(FuncState* fs, int list, int target);
void PatchToHere(FuncState* fs, int list);
void Concat(FuncState* fs, int* l1, int l2);
int GetLabel(FuncState* fs);
void Prefix(FuncState* fs, UnOpr op, ExpDesc* v);
void Infix(FuncState* fs, BinOpr op, ExpDesc* v);
void Posfix(FuncState* fs, BinOpr op, ExpDesc* v1, ExpDesc* v2);
// True when the expression has pending jumps of its own.
inline bool HasJumps(const ExpDesc* e) {
  return e->t != e->f;
}
void GoIfFalse(FuncState* fs, ExpDesc* e);

}  // namespace tvs
