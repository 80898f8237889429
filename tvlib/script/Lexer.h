// The lexer: 8-bit or 16-bit (UTF-16LE) source text to tokens, one token of look-ahead.
// Token texts are collected in the state's scratch buffer; every error is a syntax error.
#pragma once

#include "tvlib/script/State.h"
#include "tvlib/script/Zio.h"

namespace tvs {

constexpr int kFirstReserved = 257;

enum Token : int {
  TK_AND = kFirstReserved,
  TK_BREAK,
  TK_CONTINUE,
  TK_DO,
  TK_ELSE,
  TK_ELSEIF,
  TK_END,
  TK_FALSE,
  TK_FOR,
  TK_FUNCTION,
  TK_IF,
  TK_IN,
  TK_LOCAL,
  TK_NIL,
  TK_NOT,
  TK_OR,
  TK_REPEAT,
  TK_RETURN,
  TK_THEN,
  TK_TRUE,
  TK_UNTIL,
  TK_WHILE,
  TK_NAME,
  TK_CONCAT,
  TK_DOTS,
  TK_EQ,
  TK_GE,
  TK_LE,
  TK_NE,
  TK_NUMBER,
  TK_STRING,
  TK_WSTRING,
  TK_SHL,
  TK_SHR,
  TK_EOS,
};
constexpr int kNumReserved = TK_WHILE - kFirstReserved + 1;

struct SemInfo {
  Number r = 0;
  TStr* ts = nullptr;
};

struct TokenInfo {
  int token = TK_EOS;
  SemInfo seminfo;
};

struct FuncState;

struct LexState {
  int current = 0;     // current character (-1 at the end)
  int linenumber = 1;  // line of the current character
  int lastline = 1;    // line of the last token consumed
  TokenInfo t;         // current token
  TokenInfo lookahead;
  FuncState* fs = nullptr;
  lua_State* L = nullptr;
  Zio* z = nullptr;
  TStr* source = nullptr;
  size_t nbuf = 0;  // bytes of token text in the scratch buffer
  int nestlevel = 0;
};

void InitReservedWords(lua_State* L);
void SetInput(lua_State* L, LexState* ls, Zio* z, TStr* source);
int Lex(LexState* ls, SemInfo* seminfo);
// Advances to the next token (taking the look-ahead when there is one).
void Next(LexState* ls);
void Lookahead(LexState* ls);
// Text of a token code for messages ("*name", "<<", "x", "char(7)").
const char* TokenToStr(LexState* ls, int token);
[[noreturn]] void SyntaxError(LexState* ls, const char* msg);
[[noreturn]] void LexError(LexState* ls, const char* msg, int token);
// "too many %s (limit=%d)" when v exceeds l.
void CheckLimit(LexState* ls, int v, int l, const char* what);

}  // namespace tvs
