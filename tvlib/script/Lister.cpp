// The lister. One line per instruction: 1-based pc, source line, opcode name, operands as
// stored (RK operands of 250 and more name constants), and a comment with the constant,
// upvalue or jump target the operands designate.
#include "tvlib/script/Lister.h"

#include <cstdio>

#include "tvlib/script/Opcodes.h"

namespace tvs {

namespace {

void Append(std::string& out, const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  out += buf;
}

void QuoteNarrow(std::string& out, const TStr* s) {
  out += '"';
  for (uint32_t i = 0; i < s->len; i++) {
    const unsigned char c = static_cast<unsigned char>(s->Data()[i]);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 32 || c >= 127)
          Append(out, "\\%03d", c);
        else
          out += static_cast<char>(c);
    }
  }
  out += '"';
}

void QuoteWide(std::string& out, const TStr* s) {
  out += "L\"";
  for (uint32_t i = 0; i < s->len; i++) {
    const char16_t u = s->WData()[i];
    if (u == '"' || u == '\\') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u >= 32 && u < 127) {
      out += static_cast<char>(u);
    } else {
      Append(out, "\\x%04x", static_cast<unsigned>(u));
    }
  }
  out += '"';
}

void AppendConstant(std::string& out, const TProto* f, int i) {
  const TValue* o = &f->k[i];
  switch (o->tt) {
    case kTNil:
      out += "nil";
      break;
    case kTNumber:
      Append(out, "%.14g", o->v.n);
      break;
    case kTString:
      QuoteNarrow(out, StrValue(o));
      break;
    case kTWString:
      QuoteWide(out, StrValue(o));
      break;
    default:
      out += "?";
      break;
  }
}

void AppendRK(std::string& out, const TProto* f, int rk, bool& first) {
  if (!IsK(rk)) return;
  if (!first) out += ' ';
  first = false;
  AppendConstant(out, f, rk - kRkConstBase);
}

void ListCode(std::string& out, const TProto* f) {
  for (int pc = 0; pc < f->sizecode; pc++) {
    const Instruction i = f->code[pc];
    const OpCode op = GetOp(i);
    const int a = GetA(i), b = GetB(i), c = GetC(i), bx = GetBx(i), sbx = GetSBx(i);
    const int line = f->sizelineinfo > pc ? f->lineinfo[pc] : 0;
    Append(out, "\t%d\t[%d]\t%-9s\t", pc + 1, line, op < kNumOpcodes ? kOpNames[op] : "?");
    std::string comment;
    bool first = true;
    switch (op < kNumOpcodes ? GetFormat(op) : iABC) {
      case iABC:
        if (op == OP_JMP) break;
        Append(out, "%d %d %d", a, b, c);
        break;
      case iABx:
        Append(out, "%d %d", a, bx);
        break;
      case iAsBx:
        if (op == OP_JMP)
          Append(out, "%d", sbx);
        else
          Append(out, "%d %d", a, sbx);
        break;
    }
    switch (op) {
      case OP_LOADK:
      case OP_GETGLOBAL:
      case OP_SETGLOBAL:
        if (bx < f->sizek) AppendConstant(comment, f, bx);
        break;
      case OP_GETUPVAL:
      case OP_SETUPVAL:
        if (b < f->sizeupvalues && f->upvalues[b]) comment = f->upvalues[b]->Data();
        break;
      case OP_GETTABLE:
      case OP_SELF:
        AppendRK(comment, f, c, first);
        break;
      case OP_SETTABLE:
      case OP_ADD:
      case OP_SUB:
      case OP_MUL:
      case OP_DIV:
      case OP_BAND:
      case OP_BOR:
      case OP_SHL:
      case OP_SHR:
      case OP_POW:
      case OP_EQ:
      case OP_LT:
      case OP_LE:
        AppendRK(comment, f, b, first);
        AppendRK(comment, f, c, first);
        break;
      case OP_JMP:
      case OP_FORLOOP:
      case OP_TFORPREP:
        Append(comment, "to %d", pc + 2 + sbx);
        break;
      case OP_CLOSURE:
        Append(comment, "function %d", bx);
        break;
      default:
        break;
    }
    if (!comment.empty()) {
      out += "\t; ";
      out += comment;
    }
    out += '\n';
  }
}

}  // namespace

std::string ListFunction(const TProto* f, bool nested) {
  std::string out;
  const char* source = f->source ? f->source->Data() : "=?";
  if (*source == '@' || *source == '=') source++;
  Append(out, "%s <%s:%d> (%d instructions)\n", f->lineDefined == 0 ? "main" : "function", source,
         f->lineDefined, f->sizecode);
  Append(out, "%d%s params, %d slots, %d upvalues, %d locals, %d constants, %d functions\n",
         f->numparams, f->isVararg ? "+" : "", f->maxstacksize, f->nups, f->sizelocvars, f->sizek,
         f->sizep);
  ListCode(out, f);
  if (nested)
    for (int i = 0; i < f->sizep; i++) {
      out += '\n';
      out += ListFunction(f->p[i], true);
    }
  return out;
}

}  // namespace tvs
