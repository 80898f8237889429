// The lexer. Character classes are fixed ASCII sets, independent of the locale. In a 16-bit
// source each character is one unit; narrow literals and long strings keep its low byte.
#include "tvlib/script/Lexer.h"

#include <cstdio>
#include <cstring>

#include "tvlib/script/Call.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"

namespace tvs {

namespace {

// Chunk identifiers in syntax errors hold at most this many characters.
constexpr int kMaxSrc = 80;
// Free bytes always kept in the token buffer, and its least growth.
constexpr size_t kBufferSlack = 5;
constexpr size_t kBufferGrowth = 32;
// Hexadecimal numerals hold at most 8 digits (one 32-bit word).
constexpr int kMaxHexDigits = 8;
// Decimal escapes hold at most 3 digits; \x at most 2 digits narrow and 4 wide.
constexpr int kMaxDecEscape = 3;

const char* const kTokenNames[] = {
    "and",      "break", "continue", "do",      "else",     "elseif", "end", "false",  "for",
    "function", "if",    "in",       "local",   "nil",      "not",    "or",  "repeat", "return",
    "then",     "true",  "until",    "while",   "*name",    "..",     "...", "==",     ">=",
    "<=",       "~=",    "*number",  "*string", "*wstring", "<<",     ">>",  "<eof>",
};
static_assert(sizeof(kTokenNames) / sizeof(kTokenNames[0]) == TK_EOS - kFirstReserved + 1);

bool IsSpace(int c) {
  return c == ' ' || (c >= 9 && c <= 13);
}
bool IsAlpha(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(int c) {
  return c >= '0' && c <= '9';
}
int HexDigit(int c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void NextChar(LexState* ls) {
  Zio* z = ls->z;
  const int lo = ZGetc(z);
  if (!z->wide || lo == kEndOfStream) {
    ls->current = lo;
    return;
  }
  const int hi = ZGetc(z);
  ls->current = hi == kEndOfStream ? kEndOfStream : (lo | (hi << 8));
}

void Reserve(LexState* ls, size_t bytes) {
  GlobalState* g = G(ls->L);
  if (g->buffsize - ls->nbuf >= bytes + kBufferSlack) return;
  size_t newsize = ls->nbuf + bytes + kBufferGrowth;
  if (newsize < 2 * g->buffsize) newsize = 2 * g->buffsize;
  g->buff = static_cast<char*>(Realloc(ls->L, g->buff, g->buffsize, newsize, true));
  g->buffsize = newsize;
}

void Save(LexState* ls, int c) {
  Reserve(ls, 1);
  G(ls->L)->buff[ls->nbuf++] = static_cast<char>(c);
}

void SaveUnit(LexState* ls, int u) {
  Reserve(ls, 2 * sizeof(char16_t));  // the unit and room for the terminator
  const char16_t unit = static_cast<char16_t>(u);
  memcpy(G(ls->L)->buff + ls->nbuf, &unit, sizeof unit);
  ls->nbuf += sizeof unit;
}

void SaveAndNext(LexState* ls) {
  Save(ls, ls->current);
  NextChar(ls);
}

// The token text read so far, zero-terminated.
const char* BufferText(LexState* ls) {
  Save(ls, '\0');
  ls->nbuf--;
  return G(ls->L)->buff;
}

[[noreturn]] void ErrorNear(LexState* ls, const char* msg, const char* near) {
  char id[kMaxSrc];
  ChunkId(id, ls->source->Data(), kMaxSrc);
  PushFString(ls->L, "%s:%d: %s near `%s'", id, ls->linenumber, msg, near);
  Throw(ls->L, kErrSyntax);
}

void IncLineNumber(LexState* ls) {
  NextChar(ls);
  ++ls->linenumber;
  CheckLimit(ls, ls->linenumber, kMaxIntLimit, "lines in a chunk");
}

// "[[" ... "]]" with nesting; the opening brackets are consumed already. With no seminfo
// (a long comment) nothing is kept.
void ReadLongString(LexState* ls, SemInfo* seminfo) {
  int depth = 0;
  if (seminfo) {
    Save(ls, '[');
    Save(ls, '[');
  }
  if (ls->current == '\n') IncLineNumber(ls);
  for (;;) {
    switch (ls->current) {
      case kEndOfStream:
        LexError(ls, seminfo ? "unfinished long string" : "unfinished long comment", TK_EOS);
      case '[':
        if (seminfo) Save(ls, '[');
        NextChar(ls);
        if (ls->current == '[') {
          depth++;
          if (seminfo) Save(ls, '[');
          NextChar(ls);
        }
        continue;
      case ']':
        if (seminfo) Save(ls, ']');
        NextChar(ls);
        if (ls->current == ']') {
          if (depth-- == 0) {
            if (seminfo) Save(ls, ']');
            NextChar(ls);
            if (seminfo) seminfo->ts = NewStr(ls->L, G(ls->L)->buff + 2, ls->nbuf - 4);
            return;
          }
          if (seminfo) Save(ls, ']');
          NextChar(ls);
        }
        continue;
      case '\n':
        if (seminfo) Save(ls, '\n');
        IncLineNumber(ls);
        if (!seminfo) ls->nbuf = 0;
        continue;
      default:
        if (seminfo) Save(ls, ls->current & 0xFF);
        NextChar(ls);
    }
  }
}

// The value of the escape after a backslash: letter, decimal and \x escapes; any other
// character stands for itself.
int ReadEscape(LexState* ls, bool wide, int token) {
  switch (ls->current) {
    case 'a':
      NextChar(ls);
      return '\a';
    case 'b':
      NextChar(ls);
      return '\b';
    case 'f':
      NextChar(ls);
      return '\f';
    case 'n':
      NextChar(ls);
      return '\n';
    case 'r':
      NextChar(ls);
      return '\r';
    case 't':
      NextChar(ls);
      return '\t';
    case 'v':
      NextChar(ls);
      return '\v';
    case 'x': {
      NextChar(ls);
      const int maxDigits = wide ? 4 : 2;
      int value = 0, digits = 0;
      for (int d; digits < maxDigits && (d = HexDigit(ls->current)) >= 0; digits++) {
        value = value * 16 + d;
        NextChar(ls);
      }
      return digits == 0 ? 'x' : value;
    }
    default: {
      if (!IsDigit(ls->current)) {
        const int c = ls->current;
        NextChar(ls);
        return c;
      }
      int value = 0;
      for (int i = 0; i < kMaxDecEscape && IsDigit(ls->current); i++) {
        value = 10 * value + (ls->current - '0');
        NextChar(ls);
      }
      if (value > 255) LexError(ls, "escape sequence too large", token);
      return value;
    }
  }
}

// A string literal up to `del'. Narrow literals collect bytes, the text read so far (opening
// quote included) naming the token in messages; wide literals collect 16-bit units, each
// reserving room for itself and the terminator, and are named "*wstring" in messages.
void ReadString(LexState* ls, int del, SemInfo* seminfo, bool wide) {
  const int token = wide ? TK_WSTRING : TK_STRING;
  ls->nbuf = 0;
  if (!wide) Save(ls, ls->current);
  NextChar(ls);
  while (ls->current != del) {
    int c;
    switch (ls->current) {
      case kEndOfStream:
        LexError(ls, "unfinished string", TK_EOS);
      case '\n':
        LexError(ls, "unfinished string", token);
      case '\\':
        NextChar(ls);
        if (ls->current == '\n') {
          IncLineNumber(ls);
          c = '\n';
        } else if (ls->current == kEndOfStream) {
          continue;  // reported as unfinished
        } else {
          c = ReadEscape(ls, wide, token);
        }
        break;
      default:
        c = ls->current;
        NextChar(ls);
    }
    if (wide)
      SaveUnit(ls, c);
    else
      Save(ls, c & 0xFF);
  }
  NextChar(ls);
  if (wide) {
    seminfo->ts = NewWStr(ls->L, reinterpret_cast<const char16_t*>(G(ls->L)->buff), ls->nbuf / 2);
  } else {
    Save(ls, del);
    seminfo->ts = NewStr(ls->L, G(ls->L)->buff + 1, ls->nbuf - 2);
  }
}

// A numeral; `dot' when it started with a '.' (already consumed).
void ReadNumeral(LexState* ls, bool dot, SemInfo* seminfo) {
  ls->nbuf = 0;
  bool decimalForm = dot;
  if (dot) Save(ls, '.');
  if (!dot && ls->current == '0') {
    SaveAndNext(ls);
    if (ls->current == 'x') {
      SaveAndNext(ls);
      uint32_t word = 0;
      int digits = 0;
      for (int d; digits < kMaxHexDigits && (d = HexDigit(ls->current)) >= 0; digits++) {
        word = word * 16 + static_cast<uint32_t>(d);
        SaveAndNext(ls);
      }
      if (digits == 0) LexError(ls, "malformed number", TK_NUMBER);
      seminfo->r = static_cast<int32_t>(word);
      return;
    }
  }
  while (IsDigit(ls->current)) SaveAndNext(ls);
  if (ls->current == '.') {
    decimalForm = true;
    SaveAndNext(ls);
    if (ls->current == '.') {
      SaveAndNext(ls);
      LexError(ls, "ambiguous syntax (decimal point x string concatenation)", TK_NUMBER);
    }
  }
  while (IsDigit(ls->current)) SaveAndNext(ls);
  if (ls->current == 'e' || ls->current == 'E') {
    decimalForm = true;
    SaveAndNext(ls);
    if (ls->current == '+' || ls->current == '-') SaveAndNext(ls);
    while (IsDigit(ls->current)) SaveAndNext(ls);
  }
  if (!StrToNumber(G(ls->L)->buff, ls->nbuf, &seminfo->r))
    LexError(ls, decimalForm ? "malformed number" : "malformed integer", TK_NUMBER);
}

}  // namespace

void InitReservedWords(lua_State* L) {
  for (int i = 0; i < kNumReserved; i++) {
    TStr* ts = NewStr(L, kTokenNames[i]);
    ts->fixed = 1;
    ts->reserved = static_cast<uint8_t>(i + 1);
  }
}

const char* TokenToStr(LexState* ls, int token) {
  if (token >= kFirstReserved) return kTokenNames[token - kFirstReserved];
  static thread_local char text[24];
  if ((token >= 0 && token < 32) || token == 127 || token >= 255)
    std::snprintf(text, sizeof text, "char(%d)", token);
  else
    std::snprintf(text, sizeof text, "%c", token);
  (void)ls;
  return text;
}

void LexError(LexState* ls, const char* msg, int token) {
  const bool hasText = token == TK_NAME || token == TK_STRING || token == TK_NUMBER;
  ErrorNear(ls, msg, hasText ? BufferText(ls) : TokenToStr(ls, token));
}

void SyntaxError(LexState* ls, const char* msg) {
  LexError(ls, msg, ls->t.token);
}

void CheckLimit(LexState* ls, int v, int l, const char* what) {
  if (v > l) {
    const char* msg = PushFString(ls->L, "too many %s (limit=%d)", what, l);
    SyntaxError(ls, msg);
  }
}

void SetInput(lua_State* L, LexState* ls, Zio* z, TStr* source) {
  ls->L = L;
  ls->lookahead.token = TK_EOS;
  ls->z = z;
  ls->fs = nullptr;
  ls->linenumber = 1;
  ls->lastline = 1;
  ls->source = source;
  ls->nbuf = 0;
  NextChar(ls);
  if (ls->current == '#') {
    while (ls->current != '\n' && ls->current != kEndOfStream) NextChar(ls);
  }
}

int Lex(LexState* ls, SemInfo* seminfo) {
  for (;;) {
    const int c = ls->current;
    switch (c) {
      case '\n':
        IncLineNumber(ls);
        continue;
      case '-':
        NextChar(ls);
        if (ls->current != '-') return '-';
        NextChar(ls);
        if (ls->current == '[') {
          NextChar(ls);
          if (ls->current == '[') {
            NextChar(ls);
            ls->nbuf = 0;
            ReadLongString(ls, nullptr);
            continue;
          }
        }
        while (ls->current != '\n' && ls->current != kEndOfStream) NextChar(ls);
        continue;
      case '[':
        NextChar(ls);
        if (ls->current != '[') return '[';
        NextChar(ls);
        ls->nbuf = 0;
        ReadLongString(ls, seminfo);
        return TK_STRING;
      case '=':
        NextChar(ls);
        if (ls->current != '=') return '=';
        NextChar(ls);
        return TK_EQ;
      case '<':
        NextChar(ls);
        if (ls->current == '<') return NextChar(ls), TK_SHL;
        if (ls->current == '=') return NextChar(ls), TK_LE;
        return '<';
      case '>':
        NextChar(ls);
        if (ls->current == '>') return NextChar(ls), TK_SHR;
        if (ls->current == '=') return NextChar(ls), TK_GE;
        return '>';
      case '~':
        NextChar(ls);
        if (ls->current != '=') return '~';
        NextChar(ls);
        return TK_NE;
      case '"':
      case '\'':
        ReadString(ls, c, seminfo, false);
        return TK_STRING;
      case '.':
        NextChar(ls);
        if (ls->current == '.') {
          NextChar(ls);
          if (ls->current == '.') return NextChar(ls), TK_DOTS;
          return TK_CONCAT;
        }
        if (!IsDigit(ls->current)) return '.';
        ReadNumeral(ls, true, seminfo);
        return TK_NUMBER;
      case kEndOfStream:
        return TK_EOS;
      default:
        if (IsSpace(c)) {
          NextChar(ls);
          continue;
        }
        if (IsDigit(c)) {
          ReadNumeral(ls, false, seminfo);
          return TK_NUMBER;
        }
        if (IsAlpha(c)) {
          ls->nbuf = 0;
          SaveAndNext(ls);
          if (c == 'L' && ls->current == '"') {
            ReadString(ls, '"', seminfo, true);
            return TK_WSTRING;
          }
          while (IsAlpha(ls->current) || IsDigit(ls->current)) SaveAndNext(ls);
          TStr* ts = NewStr(ls->L, G(ls->L)->buff, ls->nbuf);
          if (ts->reserved) return ts->reserved - 1 + kFirstReserved;
          seminfo->ts = ts;
          return TK_NAME;
        }
        if (c >= 255 || c < 32 || c == 127) {
          char text[24];
          std::snprintf(text, sizeof text, "char(%d)", c);
          ErrorNear(ls, c >= 255 ? "invalid wide char" : "invalid control char", text);
        }
        NextChar(ls);
        return c;
    }
  }
}

void Next(LexState* ls) {
  ls->lastline = ls->linenumber;
  if (ls->lookahead.token != TK_EOS) {
    ls->t = ls->lookahead;
    ls->lookahead.token = TK_EOS;
  } else {
    ls->t.token = Lex(ls, &ls->t.seminfo);
  }
}

void Lookahead(LexState* ls) {
  ls->lookahead.token = Lex(ls, &ls->lookahead.seminfo);
}

}  // namespace tvs
