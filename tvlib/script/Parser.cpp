// The parser. Each function carries its grammar rule. Blocks are tracked in BlockCnt records
// (innermost first); loop blocks collect the jumps of `break' and `continue'.
#include "tvlib/script/Parser.h"

#include <cmath>
#include <string>

#include "tvlib/script/Call.h"
#include "tvlib/script/CodeGen.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"
#include "tvlib/script/Table.h"

namespace tvs {

namespace {

// Priority of unary operators: binds tighter than every binary operator but "^".
constexpr int kUnaryPriority = 8;
// Table size hints at most this large: the array part and hash part limits.
constexpr Number kMaxSizeHint = 1 << kMaxHashBits;

struct Priority {
  uint8_t left, right;
};
const Priority kPriority[] = {
    {6, 6},  {6, 6}, {7, 7}, {7, 7},                  // + - * /
    {8, 8},  {8, 8}, {8, 8}, {8, 8},                  // & | << >>
    {10, 9},                                          // ^ (right associative)
    {5, 4},                                           // .. (right associative)
    {3, 3},  {3, 3}, {3, 3}, {3, 3}, {3, 3}, {3, 3},  // ~= == < <= > >=
    {2, 2},  {1, 1},                                  // and or
};

[[noreturn]] void ErrorExpected(LexState* ls, int token) {
  SyntaxError(ls, PushFString(ls->L, "`%s' expected", TokenToStr(ls, token)));
}

bool TestNext(LexState* ls, int c) {
  if (ls->t.token != c) return false;
  Next(ls);
  return true;
}

void Check(LexState* ls, int c) {
  if (ls->t.token != c) ErrorExpected(ls, c);
}

void CheckNext(LexState* ls, int c) {
  Check(ls, c);
  Next(ls);
}

void CheckCondition(LexState* ls, bool ok, const char* msg) {
  if (!ok) SyntaxError(ls, msg);
}

void CheckMatch(LexState* ls, int what, int who, int where) {
  if (TestNext(ls, what)) return;
  if (where == ls->linenumber) ErrorExpected(ls, what);
  // TokenToStr keeps one buffer for single characters: copy the first text.
  std::string whatText = TokenToStr(ls, what);
  SyntaxError(ls, PushFString(ls->L, "`%s' expected (to close `%s' at line %d)", whatText.c_str(),
                              TokenToStr(ls, who), where));
}

TStr* StrCheckName(LexState* ls) {
  CheckCondition(ls, ls->t.token == TK_NAME, "<name> expected");
  TStr* ts = ls->t.seminfo.ts;
  Next(ls);
  return ts;
}

void CodeString(LexState* ls, ExpDesc* e, TStr* s) {
  InitExp(e, VK, StringK(ls->fs, s));
}

void CheckName(LexState* ls, ExpDesc* e) {
  CodeString(ls, e, StrCheckName(ls));
}

void EnterLevel(LexState* ls) {
  if (++ls->nestlevel > kMaxCalls) SyntaxError(ls, "too many syntax levels");
}
void LeaveLevel(LexState* ls) {
  ls->nestlevel--;
}

int RegisterLocalVar(LexState* ls, TStr* varname) {
  FuncState* fs = ls->fs;
  TProto* f = fs->f;
  int oldsize = f->sizelocvars;
  GrowVector(ls->L, f->locvars, fs->nlocvars, f->sizelocvars, kMaxIntLimit,
             "too many local variables");
  for (; oldsize < f->sizelocvars; oldsize++) f->locvars[oldsize].name = nullptr;
  f->locvars[fs->nlocvars].name = varname;
  f->locvars[fs->nlocvars].startpc = 0;
  f->locvars[fs->nlocvars].endpc = 0;
  return fs->nlocvars++;
}

TLocVar& GetLocVar(FuncState* fs, int i) {
  return fs->f->locvars[fs->actvar[i]];
}

void NewLocalVar(LexState* ls, TStr* name, int n) {
  FuncState* fs = ls->fs;
  CheckLimit(ls, fs->nactvar + n + 1, kMaxVars, "local variables");
  fs->actvar[fs->nactvar + n] = RegisterLocalVar(ls, name);
}

void NewLocalVarStr(LexState* ls, const char* name, int n) {
  NewLocalVar(ls, NewStr(ls->L, name), n);
}

void AdjustLocalVars(LexState* ls, int nvars) {
  FuncState* fs = ls->fs;
  fs->nactvar += nvars;
  for (; nvars; nvars--) GetLocVar(fs, fs->nactvar - nvars).startpc = fs->pc;
}

void CreateLocal(LexState* ls, const char* name) {
  NewLocalVarStr(ls, name, 0);
  AdjustLocalVars(ls, 1);
}

void RemoveVars(LexState* ls, int tolevel) {
  FuncState* fs = ls->fs;
  while (fs->nactvar > tolevel) GetLocVar(fs, --fs->nactvar).endpc = fs->pc;
}

int IndexUpvalue(FuncState* fs, TStr* name, const ExpDesc* v) {
  TProto* f = fs->f;
  for (int i = 0; i < f->nups; i++)
    if (fs->upvalues[i].k == v->k && fs->upvalues[i].info == v->info) return i;
  CheckLimit(fs->ls, f->nups + 1, kMaxUpvalues, "upvalues");
  int oldsize = f->sizeupvalues;
  GrowVector(fs->L, f->upvalues, f->nups, f->sizeupvalues, kMaxIntLimit, "too many upvalues");
  for (; oldsize < f->sizeupvalues; oldsize++) f->upvalues[oldsize] = nullptr;
  f->upvalues[f->nups] = name;
  fs->upvalues[f->nups] = *v;
  return f->nups++;
}

int SearchVar(FuncState* fs, TStr* n) {
  for (int i = fs->nactvar - 1; i >= 0; i--)
    if (n == GetLocVar(fs, i).name) return i;
  return -1;
}

// The block declaring local `level' learns that a closure captures it.
void MarkUpval(FuncState* fs, int level) {
  BlockCnt* bl = fs->bl;
  while (bl && bl->nactvar > level) bl = bl->previous;
  if (bl) bl->upval = true;
}

void SingleVarAux(FuncState* fs, TStr* n, ExpDesc* var, bool base) {
  if (fs == nullptr) {
    InitExp(var, VGLOBAL, kNoReg);
    return;
  }
  const int v = SearchVar(fs, n);
  if (v >= 0) {
    InitExp(var, VLOCAL, v);
    if (!base) MarkUpval(fs, v);
    return;
  }
  SingleVarAux(fs->prev, n, var, false);
  if (var->k == VGLOBAL) {
    if (base) var->info = StringK(fs, n);
  } else {
    var->info = IndexUpvalue(fs, n, var);
    var->k = VUPVAL;
  }
}

void SingleVar(LexState* ls, ExpDesc* var, bool base) {
  SingleVarAux(ls->fs, StrCheckName(ls), var, base);
}

void AdjustAssign(LexState* ls, int nvars, int nexps, ExpDesc* e) {
  FuncState* fs = ls->fs;
  int extra = nvars - nexps;
  if (e->k == VCALL) {
    extra++;  // the call itself
    if (extra <= 0)
      extra = 0;
    else
      ReserveRegs(fs, extra - 1);
    SetCallReturns(fs, e, extra);
  } else {
    if (e->k != VVOID) Exp2NextReg(fs, e);
    if (extra > 0) {
      const int reg = fs->freereg;
      ReserveRegs(fs, extra);
      CodeNil(fs, reg, extra);
    }
  }
}

void EnterBlock(FuncState* fs, BlockCnt* bl, bool isloop) {
  bl->breaklist = kNoJump;
  bl->continuelist = kNoJump;
  bl->isloop = isloop;
  bl->nactvar = fs->nactvar;
  bl->upval = false;
  bl->previous = fs->bl;
  fs->bl = bl;
}

void LeaveBlock(FuncState* fs) {
  BlockCnt* bl = fs->bl;
  fs->bl = bl->previous;
  RemoveVars(fs->ls, bl->nactvar);
  if (bl->upval) CodeABC(fs, OP_CLOSE, bl->nactvar, 0, 0);
  fs->freereg = fs->nactvar;
  PatchToHere(fs, bl->breaklist);
}

void PushClosure(LexState* ls, FuncState* func, ExpDesc* v) {
  FuncState* fs = ls->fs;
  TProto* f = fs->f;
  if (fs->np > kMaxArgBx) SyntaxError(ls, "constant table overflow");
  int oldsize = f->sizep;
  GrowVector(ls->L, f->p, fs->np, f->sizep, kMaxArgBx + 1, "constant table overflow");
  for (; oldsize < f->sizep; oldsize++) f->p[oldsize] = nullptr;
  f->p[fs->np++] = func->f;
  InitExp(v, VRELOCABLE, CodeABx(fs, OP_CLOSURE, 0, fs->np - 1));
  for (int i = 0; i < func->f->nups; i++) {
    const OpCode o = func->upvalues[i].k == VLOCAL ? OP_MOVE : OP_GETUPVAL;
    CodeABC(fs, o, 0, func->upvalues[i].info, 0);
  }
}

void OpenFunc(LexState* ls, FuncState* fs) {
  lua_State* L = ls->L;
  TProto* f = NewProto(L);
  fs->f = f;
  fs->prev = ls->fs;
  fs->ls = ls;
  fs->L = L;
  ls->fs = fs;
  fs->pc = 0;
  fs->lasttarget = 0;
  fs->jpc = kNoJump;
  fs->freereg = 0;
  fs->nk = 0;
  fs->h = NewTable(L, 0, 0);
  fs->np = 0;
  fs->nlocvars = 0;
  fs->nactvar = 0;
  fs->bl = nullptr;
  f->source = ls->source;
  f->maxstacksize = 2;  // registers 0 and 1 are always valid
}

void CloseFunc(LexState* ls) {
  lua_State* L = ls->L;
  FuncState* fs = ls->fs;
  TProto* f = fs->f;
  RemoveVars(ls, 0);
  CodeABC(fs, OP_RETURN, 0, 1, 0);
  ShrinkVector(L, f->code, f->sizecode, fs->pc);
  ShrinkVector(L, f->lineinfo, f->sizelineinfo, fs->pc);
  ShrinkVector(L, f->k, f->sizek, fs->nk);
  ShrinkVector(L, f->p, f->sizep, fs->np);
  ShrinkVector(L, f->locvars, f->sizelocvars, fs->nlocvars);
  ShrinkVector(L, f->upvalues, f->sizeupvalues, static_cast<int>(f->nups));
  ls->fs = fs->prev;
}

// ---------------------------------------------------------------------------------------
// Rules for expressions
// ---------------------------------------------------------------------------------------

void Chunk(LexState* ls);
void Expr(LexState* ls, ExpDesc* v);
BinOpr SubExpr(LexState* ls, ExpDesc* v, int limit);

// field -> ['.' | ':'] NAME
void Field(LexState* ls, ExpDesc* v) {
  FuncState* fs = ls->fs;
  ExpDesc key;
  Exp2AnyReg(fs, v);
  Next(ls);  // skip the dot or colon
  CheckName(ls, &key);
  Indexed(fs, v, &key);
}

// index -> '[' expr ']'
void YIndex(LexState* ls, ExpDesc* v) {
  Next(ls);
  Expr(ls, v);
  Exp2Val(ls->fs, v);
  CheckNext(ls, ']');
}

struct ConsControl {
  ExpDesc v;    // last list item read
  ExpDesc* t;   // the table
  int nh;       // record fields
  int na;       // list items
  int tostore;  // list items waiting for a SETLIST
};

// recfield -> (NAME | '[' exp1 ']') '=' exp1
void RecField(LexState* ls, ConsControl* cc) {
  FuncState* fs = ls->fs;
  const int reg = fs->freereg;
  ExpDesc key, val;
  if (ls->t.token == TK_NAME) {
    CheckLimit(ls, cc->nh, kMaxIntLimit, "items in a constructor");
    CheckName(ls, &key);
  } else {
    YIndex(ls, &key);
  }
  cc->nh++;
  CheckNext(ls, '=');
  const int rkkey = Exp2RK(fs, &key);
  Expr(ls, &val);
  CodeABC(fs, OP_SETTABLE, cc->t->info, rkkey, Exp2RK(fs, &val));
  fs->freereg = reg;
}

void CloseListField(FuncState* fs, ConsControl* cc) {
  if (cc->v.k == VVOID) return;
  Exp2NextReg(fs, &cc->v);
  cc->v.k = VVOID;
  if (cc->tostore == kFieldsPerFlush) {
    CodeABx(fs, OP_SETLIST, cc->t->info, cc->na - 1);
    cc->tostore = 0;
    fs->freereg = cc->t->info + 1;
  }
}

void LastListField(FuncState* fs, ConsControl* cc) {
  if (cc->tostore == 0) return;
  if (cc->v.k == VCALL) {
    SetCallReturns(fs, &cc->v, kMultRet);
    CodeABx(fs, OP_SETLISTO, cc->t->info, cc->na - 1);
  } else {
    if (cc->v.k != VVOID) Exp2NextReg(fs, &cc->v);
    CodeABx(fs, OP_SETLIST, cc->t->info, cc->na - 1);
  }
  fs->freereg = cc->t->info + 1;
}

// listfield -> expr
void ListField(LexState* ls, ConsControl* cc) {
  Expr(ls, &cc->v);
  CheckLimit(ls, cc->na, kMaxArgBx, "items in a constructor");
  cc->na++;
  cc->tostore++;
}

// sizehint -> '&' Number ; read after '{' or after the first hint
int SizeHint(LexState* ls) {
  Next(ls);  // skip '&'
  if (ls->t.token != TK_NUMBER)
    SyntaxError(ls, PushFString(ls->L, "size expected following & (line %d)", ls->linenumber));
  const Number hint = std::trunc(ls->t.seminfo.r);
  if (hint >= kMaxSizeHint) SyntaxError(ls, "table overflow");
  Next(ls);
  return hint > 0 ? static_cast<int>(hint) : 0;
}

// constructor -> '{' ['&' Number ['&' Number]] [';'] [fieldlist] '}'
// fieldlist -> field {fieldsep field} [fieldsep] ; fieldsep -> ',' | ';'
void Constructor(LexState* ls, ExpDesc* t) {
  FuncState* fs = ls->fs;
  const int line = ls->linenumber;
  const int pc = CodeABC(fs, OP_NEWTABLE, 0, 0, 0);
  ConsControl cc;
  cc.na = cc.nh = cc.tostore = 0;
  cc.t = t;
  InitExp(t, VRELOCABLE, pc);
  InitExp(&cc.v, VVOID, 0);
  Exp2NextReg(fs, t);
  CheckNext(ls, '{');
  int hashHint = 0, arrayHint = 0;
  if (ls->t.token == '&') {
    hashHint = SizeHint(ls);
    if (ls->t.token == '&') arrayHint = SizeHint(ls);
    TestNext(ls, ';');
  }
  do {
    if (ls->t.token == '}') break;
    CloseListField(fs, &cc);
    switch (ls->t.token) {
      case TK_NAME:
        Lookahead(ls);
        if (ls->lookahead.token != '=')
          ListField(ls, &cc);
        else
          RecField(ls, &cc);
        break;
      case '[':
        RecField(ls, &cc);
        break;
      default:
        ListField(ls, &cc);
        break;
    }
  } while (TestNext(ls, ',') || TestNext(ls, ';'));
  CheckMatch(ls, '}', '{', line);
  LastListField(fs, &cc);
  const int na = cc.na > arrayHint ? cc.na : arrayHint;
  const int nh = cc.nh > hashHint ? cc.nh : hashHint;
  if (na > 0) SetB(&fs->f->code[pc], EncodeFloatByte(static_cast<unsigned>(na)));
  SetC(&fs->f->code[pc], nh > 0 ? FloorLog2(static_cast<unsigned>(nh)) + 1 : 0);
}

// parlist -> [ param { ',' param } ] ; param -> NAME | '...'
void ParList(LexState* ls) {
  FuncState* fs = ls->fs;
  int nparams = 0;
  bool dots = false;
  if (ls->t.token != ')') {
    do {
      switch (ls->t.token) {
        case TK_DOTS:
          dots = true;
          Next(ls);
          break;
        case TK_NAME:
          NewLocalVar(ls, StrCheckName(ls), nparams++);
          break;
        default:
          SyntaxError(ls, "<name> or `...' expected");
      }
    } while (!dots && TestNext(ls, ','));
  }
  AdjustLocalVars(ls, nparams);
  CheckLimit(ls, fs->nactvar, kMaxParams, "parameters");
  fs->f->numparams = static_cast<uint8_t>(fs->nactvar);
  fs->f->isVararg = dots;
  if (dots) CreateLocal(ls, "arg");
  ReserveRegs(fs, fs->nactvar);
}

// body -> '(' parlist ')' chunk END
void Body(LexState* ls, ExpDesc* e, bool needself, int line) {
  FuncState newFs;
  OpenFunc(ls, &newFs);
  newFs.f->lineDefined = line;
  CheckNext(ls, '(');
  if (needself) CreateLocal(ls, "self");
  ParList(ls);
  CheckNext(ls, ')');
  Chunk(ls);
  CheckMatch(ls, TK_END, TK_FUNCTION, line);
  CloseFunc(ls);
  PushClosure(ls, &newFs, e);
}

// explist1 -> expr { ',' expr }
int ExpList1(LexState* ls, ExpDesc* v) {
  int n = 1;
  Expr(ls, v);
  while (TestNext(ls, ',')) {
    Exp2NextReg(ls->fs, v);
    Expr(ls, v);
    n++;
  }
  return n;
}

// funcargs -> '(' [ explist1 ] ')' | constructor | STRING
void FuncArgs(LexState* ls, ExpDesc* f) {
  FuncState* fs = ls->fs;
  ExpDesc args;
  const int line = ls->linenumber;
  switch (ls->t.token) {
    case '(':
      if (line != ls->lastline) SyntaxError(ls, "ambiguous syntax (function call x new statement)");
      Next(ls);
      if (ls->t.token == ')') {
        args.k = VVOID;
      } else {
        ExpList1(ls, &args);
        SetCallReturns(fs, &args, kMultRet);
      }
      CheckMatch(ls, ')', '(', line);
      break;
    case '{':
      Constructor(ls, &args);
      break;
    case TK_STRING:
      CodeString(ls, &args, ls->t.seminfo.ts);
      Next(ls);
      break;
    default:
      SyntaxError(ls, "function arguments expected");
  }
  const int base = f->info;
  int nparams;
  if (args.k == VCALL) {
    nparams = kMultRet;
  } else {
    if (args.k != VVOID) Exp2NextReg(fs, &args);
    nparams = fs->freereg - (base + 1);
  }
  InitExp(f, VCALL, CodeABC(fs, OP_CALL, base, nparams + 1, 2));
  FixLine(fs, line);
  fs->freereg = base + 1;  // the call leaves one result unless told otherwise
}

// prefixexp -> NAME | '(' expr ')'
void PrefixExp(LexState* ls, ExpDesc* v) {
  switch (ls->t.token) {
    case '(': {
      const int line = ls->linenumber;
      Next(ls);
      Expr(ls, v);
      CheckMatch(ls, ')', '(', line);
      DischargeVars(ls->fs, v);
      return;
    }
    case TK_NAME:
      SingleVar(ls, v, true);
      return;
    default:
      SyntaxError(ls, "unexpected symbol");
  }
}

// primaryexp -> prefixexp { '.' NAME | '[' exp ']' | ':' NAME funcargs | funcargs }
void PrimaryExp(LexState* ls, ExpDesc* v) {
  FuncState* fs = ls->fs;
  PrefixExp(ls, v);
  for (;;) {
    switch (ls->t.token) {
      case '.':
        Field(ls, v);
        break;
      case '[': {
        ExpDesc key;
        Exp2AnyReg(fs, v);
        YIndex(ls, &key);
        Indexed(fs, v, &key);
        break;
      }
      case ':': {
        ExpDesc key;
        Next(ls);
        CheckName(ls, &key);
        SelfOp(fs, v, &key);
        FuncArgs(ls, v);
        break;
      }
      case '(':
      case TK_STRING:
      case '{':
        Exp2NextReg(fs, v);
        FuncArgs(ls, v);
        break;
      default:
        return;
    }
  }
}

// simpleexp -> NUMBER | STRING | WSTRING | NIL | TRUE | FALSE | constructor
//            | FUNCTION body | primaryexp
void SimpleExp(LexState* ls, ExpDesc* v) {
  switch (ls->t.token) {
    case TK_NUMBER:
      InitExp(v, VK, NumberK(ls->fs, ls->t.seminfo.r));
      break;
    case TK_STRING:
      CodeString(ls, v, ls->t.seminfo.ts);
      break;
    case TK_WSTRING:
      InitExp(v, VK, WStringK(ls->fs, ls->t.seminfo.ts));
      break;
    case TK_NIL:
      InitExp(v, VNIL, 0);
      break;
    case TK_TRUE:
      InitExp(v, VTRUE, 0);
      break;
    case TK_FALSE:
      InitExp(v, VFALSE, 0);
      break;
    case '{':
      Constructor(ls, v);
      return;
    case TK_FUNCTION: {
      Next(ls);
      Body(ls, v, false, ls->linenumber);
      return;
    }
    default:
      PrimaryExp(ls, v);
      return;
  }
  Next(ls);
}

UnOpr GetUnOpr(int op) {
  switch (op) {
    case TK_NOT:
      return OPR_NOT;
    case '-':
      return OPR_MINUS;
    default:
      return OPR_NOUNOPR;
  }
}

BinOpr GetBinOpr(int op) {
  switch (op) {
    case '+':
      return OPR_ADD;
    case '-':
      return OPR_SUB;
    case '*':
      return OPR_MULT;
    case '/':
      return OPR_DIV;
    case '&':
      return OPR_BAND;
    case '|':
      return OPR_BOR;
    case TK_SHL:
      return OPR_SHL;
    case TK_SHR:
      return OPR_SHR;
    case '^':
      return OPR_POW;
    case TK_CONCAT:
      return OPR_CONCAT;
    case TK_NE:
      return OPR_NE;
    case TK_EQ:
      return OPR_EQ;
    case '<':
      return OPR_LT;
    case TK_LE:
      return OPR_LE;
    case '>':
      return OPR_GT;
    case TK_GE:
      return OPR_GE;
    case TK_AND:
      return OPR_AND;
    case TK_OR:
      return OPR_OR;
    default:
      return OPR_NOBINOPR;
  }
}

// subexpr -> (simpleexp | unop subexpr) { binop subexpr }
// where binop is any binary operator with a priority higher than `limit'
BinOpr SubExpr(LexState* ls, ExpDesc* v, int limit) {
  EnterLevel(ls);
  const UnOpr uop = GetUnOpr(ls->t.token);
  if (uop != OPR_NOUNOPR) {
    Next(ls);
    SubExpr(ls, v, kUnaryPriority);
    Prefix(ls->fs, uop, v);
  } else {
    SimpleExp(ls, v);
  }
  BinOpr op = GetBinOpr(ls->t.token);
  while (op != OPR_NOBINOPR && kPriority[op].left > limit) {
    ExpDesc v2;
    Next(ls);
    Infix(ls->fs, op, v);
    const BinOpr nextop = SubExpr(ls, &v2, kPriority[op].right);
    Posfix(ls->fs, op, v, &v2);
    op = nextop;
  }
  LeaveLevel(ls);
  return op;
}

void Expr(LexState* ls, ExpDesc* v) {
  SubExpr(ls, v, -1);
}

// ---------------------------------------------------------------------------------------
// Rules for statements
// ---------------------------------------------------------------------------------------

bool BlockFollow(int token) {
  switch (token) {
    case TK_ELSE:
    case TK_ELSEIF:
    case TK_END:
    case TK_UNTIL:
    case TK_EOS:
      return true;
    default:
      return false;
  }
}

// block -> chunk
void Block(LexState* ls) {
  FuncState* fs = ls->fs;
  BlockCnt bl;
  EnterBlock(fs, &bl, false);
  Chunk(ls);
  LeaveBlock(fs);
}

// Targets of a multiple assignment, chained back to the first.
struct LhsAssign {
  LhsAssign* prev;
  ExpDesc v;
};

// A local assigned in a multiple assignment may be the table or key of an earlier indexed
// target: that target then uses a copy taken before the assignments.
void CheckConflict(LexState* ls, LhsAssign* lh, const ExpDesc* v) {
  FuncState* fs = ls->fs;
  const int extra = fs->freereg;
  bool conflict = false;
  for (; lh; lh = lh->prev) {
    if (lh->v.k != VINDEXED) continue;
    if (lh->v.info == v->info) {
      conflict = true;
      lh->v.info = extra;
    }
    if (lh->v.aux == v->info) {
      conflict = true;
      lh->v.aux = extra;
    }
  }
  if (conflict) {
    CodeABC(fs, OP_MOVE, fs->freereg, v->info, 0);
    ReserveRegs(fs, 1);
  }
}

// assignment -> ',' primaryexp assignment | '=' explist1
void Assignment(LexState* ls, LhsAssign* lh, int nvars) {
  ExpDesc e;
  CheckCondition(ls, VLOCAL <= lh->v.k && lh->v.k <= VINDEXED, "syntax error");
  if (TestNext(ls, ',')) {
    LhsAssign nv;
    nv.prev = lh;
    PrimaryExp(ls, &nv.v);
    if (nv.v.k == VLOCAL) CheckConflict(ls, lh, &nv.v);
    Assignment(ls, &nv, nvars + 1);
  } else {
    CheckNext(ls, '=');
    const int nexps = ExpList1(ls, &e);
    if (nexps == nvars) {
      SetCallReturns(ls->fs, &e, 1);
      StoreVar(ls->fs, &lh->v, &e);
      return;
    }
    AdjustAssign(ls, nvars, nexps, &e);
    if (nexps > nvars) ls->fs->freereg -= nexps - nvars;  // drop the extra values
  }
  InitExp(&e, VNONRELOC, ls->fs->freereg - 1);
  StoreVar(ls->fs, &lh->v, &e);
}

// cond -> exp
void Cond(LexState* ls, ExpDesc* v) {
  Expr(ls, v);
  if (v->k == VNIL) v->k = VFALSE;  // all false values are equal here
  GoIfTrue(ls->fs, v);
  PatchToHere(ls->fs, v->t);
}

// whilestat -> WHILE cond DO block END
// The condition is compiled, then moved after the body, so each pass runs one test.
void WhileStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  Instruction codeexp[kMaxWhileCond];
  ExpDesc v;
  BlockCnt bl;
  Next(ls);
  const int whileinit = Jump(fs);
  const int expinit = GetLabel(fs);
  Expr(ls, &v);
  if (v.k == VK) v.k = VTRUE;
  const int lineexp = ls->linenumber;
  GoIfFalse(fs, &v);
  Concat(fs, &v.f, fs->jpc);
  fs->jpc = kNoJump;
  const int sizeexp = fs->pc - expinit;
  if (sizeexp > kMaxWhileCond) SyntaxError(ls, "`while' condition too complex");
  for (int i = 0; i < sizeexp; i++) codeexp[i] = fs->f->code[expinit + i];
  fs->pc = expinit;
  EnterBlock(fs, &bl, true);
  CheckNext(ls, TK_DO);
  const int blockinit = GetLabel(fs);
  Block(ls);
  PatchToHere(fs, whileinit);
  PatchToHere(fs, bl.continuelist);
  if (v.t != kNoJump) v.t += fs->pc - expinit;
  if (v.f != kNoJump) v.f += fs->pc - expinit;
  for (int i = 0; i < sizeexp; i++) Code(fs, codeexp[i], lineexp);
  CheckMatch(ls, TK_END, TK_WHILE, line);
  LeaveBlock(fs);
  PatchList(fs, v.t, blockinit);
  PatchToHere(fs, v.f);
}

// repeatstat -> REPEAT block UNTIL cond
void RepeatStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  const int repeatInit = GetLabel(fs);
  ExpDesc v;
  BlockCnt bl;
  EnterBlock(fs, &bl, true);
  Next(ls);
  Block(ls);
  PatchToHere(fs, bl.continuelist);
  CheckMatch(ls, TK_UNTIL, TK_REPEAT, line);
  Cond(ls, &v);
  PatchList(fs, v.f, repeatInit);
  LeaveBlock(fs);
}

// exp1 -> expr (into the next register)
void Exp1(LexState* ls) {
  ExpDesc e;
  Expr(ls, &e);
  Exp2NextReg(ls->fs, &e);
}

// forbody -> DO block
void ForBody(LexState* ls, int base, int line, int nvars, bool isnum) {
  BlockCnt bl;
  FuncState* fs = ls->fs;
  AdjustLocalVars(ls, nvars);
  CheckNext(ls, TK_DO);
  EnterBlock(fs, &bl, true);
  const int prep = GetLabel(fs);
  Block(ls);
  PatchToHere(fs, prep - 1);  // the entry jump goes to the loop step
  PatchToHere(fs, bl.continuelist);
  const int endfor = isnum ? CodeAsBx(fs, OP_FORLOOP, base, kNoJump)
                           : CodeABC(fs, OP_TFORLOOP, base, 0, nvars - 3);
  FixLine(fs, line);
  PatchList(fs, isnum ? endfor : Jump(fs), prep);
  LeaveBlock(fs);
}

// fornum -> NAME = exp1 ',' exp1 [',' exp1] forbody
void ForNum(LexState* ls, TStr* varname, int line) {
  FuncState* fs = ls->fs;
  const int base = fs->freereg;
  NewLocalVar(ls, varname, 0);
  NewLocalVarStr(ls, "(for limit)", 1);
  NewLocalVarStr(ls, "(for step)", 2);
  CheckNext(ls, '=');
  Exp1(ls);
  CheckNext(ls, ',');
  Exp1(ls);
  if (TestNext(ls, ',')) {
    Exp1(ls);
  } else {
    CodeABx(fs, OP_LOADK, fs->freereg, NumberK(fs, 1));
    ReserveRegs(fs, 1);
  }
  CodeABC(fs, OP_SUB, fs->freereg - 3, fs->freereg - 3, fs->freereg - 1);
  Jump(fs);
  ForBody(ls, base, line, 3, true);
}

// forlist -> NAME {',' NAME} IN explist1 forbody
void ForList(LexState* ls, TStr* indexname) {
  FuncState* fs = ls->fs;
  ExpDesc e;
  int nvars = 0;
  const int base = fs->freereg;
  NewLocalVarStr(ls, "(for generator)", nvars++);
  NewLocalVarStr(ls, "(for state)", nvars++);
  NewLocalVar(ls, indexname, nvars++);
  while (TestNext(ls, ',')) NewLocalVar(ls, StrCheckName(ls), nvars++);
  CheckNext(ls, TK_IN);
  const int line = ls->linenumber;
  AdjustAssign(ls, nvars, ExpList1(ls, &e), &e);
  CheckStackRoom(fs, 3);  // room to call the generator
  CodeAsBx(fs, OP_TFORPREP, base, kNoJump);
  ForBody(ls, base, line, nvars, false);
}

// forstat -> FOR (fornum | forlist) END
void ForStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  BlockCnt bl;
  EnterBlock(fs, &bl, false);  // scope of the loop variables
  Next(ls);
  TStr* varname = StrCheckName(ls);
  switch (ls->t.token) {
    case '=':
      ForNum(ls, varname, line);
      break;
    case ',':
    case TK_IN:
      ForList(ls, varname);
      break;
    default:
      SyntaxError(ls, "`=' or `in' expected");
  }
  CheckMatch(ls, TK_END, TK_FOR, line);
  LeaveBlock(fs);
}

// test_then_block -> [IF | ELSEIF] cond THEN block
void TestThenBlock(LexState* ls, ExpDesc* v) {
  Next(ls);
  Cond(ls, v);
  CheckNext(ls, TK_THEN);
  Block(ls);
}

// ifstat -> IF cond THEN block {ELSEIF cond THEN block} [ELSE block] END
void IfStat(LexState* ls, int line) {
  FuncState* fs = ls->fs;
  ExpDesc v;
  int escapelist = kNoJump;
  TestThenBlock(ls, &v);
  int flist = v.f;
  while (ls->t.token == TK_ELSEIF) {
    Concat(fs, &escapelist, Jump(fs));
    PatchToHere(fs, flist);
    TestThenBlock(ls, &v);
    flist = v.f;
  }
  if (ls->t.token == TK_ELSE) {
    Concat(fs, &escapelist, Jump(fs));
    PatchToHere(fs, flist);
    Next(ls);
    Block(ls);
  } else {
    Concat(fs, &escapelist, flist);
  }
  PatchToHere(fs, escapelist);
  CheckMatch(ls, TK_END, TK_IF, line);
}

// localfunc -> LOCAL FUNCTION NAME body
void LocalFunc(LexState* ls) {
  ExpDesc v, b;
  FuncState* fs = ls->fs;
  NewLocalVar(ls, StrCheckName(ls), 0);
  InitExp(&v, VLOCAL, fs->freereg);
  ReserveRegs(fs, 1);
  AdjustLocalVars(ls, 1);
  Body(ls, &b, false, ls->linenumber);
  StoreVar(fs, &v, &b);
  GetLocVar(fs, fs->nactvar - 1).startpc = fs->pc;  // debug information sees it only now
}

// localstat -> LOCAL NAME {',' NAME} ['=' explist1]
void LocalStat(LexState* ls) {
  int nvars = 0, nexps;
  ExpDesc e;
  do {
    NewLocalVar(ls, StrCheckName(ls), nvars++);
  } while (TestNext(ls, ','));
  if (TestNext(ls, '=')) {
    nexps = ExpList1(ls, &e);
  } else {
    e.k = VVOID;
    nexps = 0;
  }
  AdjustAssign(ls, nvars, nexps, &e);
  AdjustLocalVars(ls, nvars);
}

// funcname -> NAME {'.' NAME} [':' NAME]
bool FuncName(LexState* ls, ExpDesc* v) {
  bool needself = false;
  SingleVar(ls, v, true);
  while (ls->t.token == '.') Field(ls, v);
  if (ls->t.token == ':') {
    needself = true;
    Field(ls, v);
  }
  return needself;
}

// funcstat -> FUNCTION funcname body
void FuncStat(LexState* ls, int line) {
  ExpDesc v, b;
  Next(ls);
  const bool needself = FuncName(ls, &v);
  Body(ls, &b, needself, line);
  StoreVar(ls->fs, &v, &b);
  FixLine(ls->fs, line);
}

// exprstat -> func | assignment
void ExprStat(LexState* ls) {
  FuncState* fs = ls->fs;
  LhsAssign v;
  PrimaryExp(ls, &v.v);
  if (v.v.k == VCALL) {
    SetCallReturns(fs, &v.v, 0);  // a call statement keeps no results
  } else {
    v.prev = nullptr;
    Assignment(ls, &v, 1);
  }
}

// retstat -> RETURN [explist1]
void RetStat(LexState* ls) {
  FuncState* fs = ls->fs;
  ExpDesc e;
  int first, nret;
  Next(ls);
  if (BlockFollow(ls->t.token) || ls->t.token == ';') {
    first = nret = 0;
  } else {
    nret = ExpList1(ls, &e);
    if (e.k == VCALL) {
      SetCallReturns(fs, &e, kMultRet);
      if (nret == 1) GetCode(fs, &e) = (GetCode(fs, &e) & ~Instruction{0x3F}) | OP_TAILCALL;
      first = fs->nactvar;
      nret = kMultRet;
    } else if (nret == 1) {
      first = Exp2AnyReg(fs, &e);
    } else {
      Exp2NextReg(fs, &e);
      first = fs->nactvar;
    }
  }
  CodeABC(fs, OP_RETURN, first, nret + 1, 0);
}

// loopjump -> (BREAK | CONTINUE) [Number]
// Jumps out of (break) or to the next pass of (continue) the count-th enclosing loop. Every
// upvalue of the scopes left is closed, so closures made in any pass keep their own values:
// within the innermost loop the captured flags known so far suffice (the text read so far
// is all that has run in this pass), across loops any local left is closed.
void LoopJumpStat(LexState* ls, bool isContinue) {
  FuncState* fs = ls->fs;
  Next(ls);
  int count = 1;
  if (ls->t.token == TK_NUMBER) {
    const Number n = ls->t.seminfo.r;
    Next(ls);
    if (n != std::floor(n)) SyntaxError(ls, "loop block number must be integer");
    if (n < 1 || n > kMaxLoopCount) SyntaxError(ls, "loop block number out of range");
    count = NumberToInt(n);
  }
  BlockCnt* bl = fs->bl;
  bool captured = false;
  for (int seen = 0; bl; bl = bl->previous) {
    if (bl->isloop && ++seen == count) break;
    captured |= bl->upval;
  }
  if (bl == nullptr) SyntaxError(ls, isContinue ? "no loop to continue" : "no loop to break");
  const bool close = count == 1 ? captured : fs->nactvar > bl->nactvar;
  if (close) CodeABC(fs, OP_CLOSE, bl->nactvar, 0, 0);
  Concat(fs, isContinue ? &bl->continuelist : &bl->breaklist, Jump(fs));
}

// statement -> ifstat | whilestat | DO block END | forstat | repeatstat | funcstat
//            | localstat | localfunc | retstat | loopjump | exprstat
// Returns true for a statement that must end its block.
bool Statement(LexState* ls) {
  const int line = ls->linenumber;
  switch (ls->t.token) {
    case TK_IF:
      IfStat(ls, line);
      return false;
    case TK_WHILE:
      WhileStat(ls, line);
      return false;
    case TK_DO:
      Next(ls);
      Block(ls);
      CheckMatch(ls, TK_END, TK_DO, line);
      return false;
    case TK_FOR:
      ForStat(ls, line);
      return false;
    case TK_REPEAT:
      RepeatStat(ls, line);
      return false;
    case TK_FUNCTION:
      FuncStat(ls, line);
      return false;
    case TK_LOCAL:
      Next(ls);
      if (TestNext(ls, TK_FUNCTION))
        LocalFunc(ls);
      else
        LocalStat(ls);
      return false;
    case TK_RETURN:
      RetStat(ls);
      return true;
    case TK_BREAK:
      LoopJumpStat(ls, false);
      return true;
    case TK_CONTINUE:
      LoopJumpStat(ls, true);
      return true;
    default:
      ExprStat(ls);
      return false;
  }
}

// chunk -> { stat [';'] }
void Chunk(LexState* ls) {
  bool islast = false;
  EnterLevel(ls);
  while (!islast && !BlockFollow(ls->t.token)) {
    islast = Statement(ls);
    TestNext(ls, ';');
    ls->fs->freereg = ls->fs->nactvar;  // free the registers of temporaries
  }
  LeaveLevel(ls);
}

}  // namespace

TProto* Parse(lua_State* L, Zio* z, TStr* source) {
  LexState lexstate;
  FuncState funcstate;
  lexstate.nestlevel = 0;
  SetInput(L, &lexstate, z, source);
  OpenFunc(&lexstate, &funcstate);
  Next(&lexstate);
  Chunk(&lexstate);
  CheckCondition(&lexstate, lexstate.t.token == TK_EOS, "<eof> expected");
  CloseFunc(&lexstate);
  return funcstate.f;
}

}  // namespace tvs
