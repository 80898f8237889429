// The lexer's token table, over narrow and 16-bit sources, and its error messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tvlib/script/Api.h"
#include "tvlib/script/Call.h"
#include "tvlib/script/Lexer.h"
#include "tvlib/script/StringTable.h"

namespace tvs {
namespace {

struct LexRun {
  std::string source;  // bytes as given to the lexer
  bool wide;
  std::string tokens;  // space-separated descriptions
};

const char* ReadAll(lua_State*, void* ud, size_t* size) {
  auto* s = static_cast<std::string*>(ud);
  if (s->empty()) return nullptr;
  *size = s->size();
  static std::string held;
  held.swap(*s);
  s->clear();
  return held.data();
}

std::string Describe(LexState* ls, int token, const SemInfo& si) {
  char buf[64];
  switch (token) {
    case TK_NAME:
      return "name:" + std::string(si.ts->Data());
    case TK_NUMBER:
      std::snprintf(buf, sizeof buf, "number:%.14g", si.r);
      return buf;
    case TK_STRING: {
      std::string out = "string:";
      for (uint32_t i = 0; i < si.ts->len; i++) {
        const unsigned char c = static_cast<unsigned char>(si.ts->Data()[i]);
        if (c < 32 || c >= 127) {
          std::snprintf(buf, sizeof buf, "\\%d", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
      }
      return out;
    }
    case TK_WSTRING: {
      std::string out = "wstring:";
      for (uint32_t i = 0; i < si.ts->len; i++) {
        std::snprintf(buf, sizeof buf, "%s%04x", i ? "," : "",
                      static_cast<unsigned>(si.ts->WData()[i]));
        out += buf;
      }
      return out;
    }
    default:
      return TokenToStr(ls, token);
  }
}

// Lexes the whole source; returns the token descriptions or the error message.
std::string LexAll(const std::string& source, bool wide) {
  lua_State* L = lua_open();
  LexRun run{source, wide, {}};
  const int status = RunProtected(
      L,
      [](lua_State* L, void* ud) {
        auto* run = static_cast<LexRun*>(ud);
        std::string input = run->source;
        Zio z;
        ZInit(&z, L, ReadAll, &input, "=lex");
        z.wide = run->wide;
        LexState ls;
        SetInput(L, &ls, &z, NewStr(L, "=lex"));
        SemInfo si;
        for (int t; (t = Lex(&ls, &si)) != TK_EOS;) {
          if (!run->tokens.empty()) run->tokens += ' ';
          run->tokens += Describe(&ls, t, si);
        }
      },
      &run);
  std::string result = status == 0 ? run.tokens : "error: " + std::string(lua_tostring(L, -1));
  lua_close(L);
  return result;
}

// UTF-16LE bytes of a text given as 16-bit units.
std::string Utf16(const std::u16string& units) {
  std::string bytes;
  for (char16_t u : units) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

struct Case {
  const char* source;
  const char* expected;
};

TEST(Lexer, TokenTable) {
  const Case cases[] = {
      {"a<<b", "name:a << name:b"},
      {"a< <b", "name:a < < name:b"},
      {"a<=b>=c>>d>e", "name:a <= name:b >= name:c >> name:d > name:e"},
      {"~= == = ~ ... .. .", "~= == = ~ ... .. ."},
      {"& | ^ - -x", "& | ^ - - name:x"},
      {"continue break and while", "continue break and while"},
      {"x.continue", "name:x . continue"},
      {"0x10 0xff 0xFF 0xFFFFFFFF 0x7FFFFFFF",
       "number:16 number:255 number:255 number:-1 number:2147483647"},
      {"0x123456789", "number:305419896 number:9"},
      {"0X1", "number:0 name:X1"},
      {"12 1.5e3 .5 0123 3e-2", "number:12 number:1500 number:0.5 number:123 number:0.03"},
      {R"("\x41" "\x4z" "\xg" '\65\066')", R"(string:A string:\4z string:xg string:AB)"},
      {R"("a\tb\\\"\n" 'q"')", R"(string:a\9b\"\10 string:q")"},
      {R"(L"\x263A" L"\65" L"ab" L"\xg" L"")",
       "wstring:263a wstring:0041 wstring:0061,0062 wstring:0078,0067 wstring:"},
      {"L'x' L Lx", "name:L string:x name:L name:Lx"},
      {"[[a[[b]]c]] [[\nline]]", "string:a[[b]]c string:line"},
      {"-- note\n--[[ long\n [[nested]] ]] x --[ short\ny", "name:x name:y"},
      {"\t\v\f\r x", "name:x"},
      {"#!first line\nx", "name:x"},
      {"\xc8 @", "\xc8 @"},
  };
  for (const Case& c : cases) EXPECT_EQ(LexAll(c.source, false), c.expected) << c.source;
}

TEST(Lexer, Errors) {
  const Case cases[] = {
      {"0x", "error: lex:1: malformed number near `0x'"},
      {"0xg", "error: lex:1: malformed number near `0x'"},
      {"1e", "error: lex:1: malformed number near `1e'"},
      {"1e+", "error: lex:1: malformed number near `1e+'"},
      {"1..2", "error: lex:1: ambiguous syntax (decimal point x string concatenation) near `1..'"},
      {"\"abc", "error: lex:1: unfinished string near `<eof>'"},
      {"x\n\"abc\n\"", "error: lex:2: unfinished string near `\"abc'"},
      {"L\"abc\n\"", "error: lex:1: unfinished string near `*wstring'"},
      {R"("ab\300")", "error: lex:1: escape sequence too large near `\"ab'"},
      {R"(L"\300")", "error: lex:1: escape sequence too large near `*wstring'"},
      {"[[abc", "error: lex:1: unfinished long string near `<eof>'"},
      {"--[[abc\n", "error: lex:2: unfinished long comment near `<eof>'"},
      {"x \x01", "error: lex:1: invalid control char near `char(1)'"},
      {"\x7f", "error: lex:1: invalid control char near `char(127)'"},
      {"\xff", "error: lex:1: invalid wide char near `char(255)'"},
  };
  for (const Case& c : cases) EXPECT_EQ(LexAll(c.source, false), c.expected) << c.source;
}

TEST(Lexer, WideSource) {
  // Every character is one 16-bit unit; narrow literals keep the low byte of each.
  EXPECT_EQ(LexAll(Utf16(u"x = L\"\u263A\u00e9\" .. '\u0141b'"), true),
            "name:x = wstring:263a,00e9 .. string:Ab");
  EXPECT_EQ(LexAll(Utf16(u"a<<0x1F"), true), "name:a << number:31");
  EXPECT_EQ(LexAll(Utf16(u"x \u263A"), true), "error: lex:1: invalid wide char near `char(9786)'");
  // A stream ending after the first byte of a unit ends the text there.
  EXPECT_EQ(LexAll(Utf16(u"ab") + "c", true), "name:ab");
}

}  // namespace
}  // namespace tvs
