// The string library: pattern matching as tables of cases, format with its additions, the
// escape decoder lualex, pack/unpack round trips and their edge cases.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/script/ScriptHelpers.h"

namespace tvs {
namespace {

struct FindCase {
  const char* subject;
  const char* pattern;
  const char* result;  // out(string.find(subject, pattern))
};

TEST(LibString, PatternTable) {
  const FindCase cases[] = {
      {"hello", "l+", "3\t4"},
      {"hello", "^h", "1\t1"},
      {"hello", "^e", "nil"},
      {"hello", "o$", "5\t5"},
      {"a$b", "$b", "2\t3"},
      {"x = 12", "(%w+) = (%d+)", "1\t6\tx\t12"},
      {"abc", "()b()", "2\t2\t2\t3"},
      {"aaab", "a-b", "1\t4"},
      {"aaa", "a-", "1\t0"},
      {"ab", "a?b", "1\t2"},
      {"b", "a?b", "1\t1"},
      {"f(a(b)c)", "%b()", "2\t8"},
      {"f(a(b", "%b()", "nil"},
      {"abab", "(ab)%1", "1\t4\tab"},
      {"A1 b2", "%u%d", "1\t2"},
      {"tab\there", "%s", "4\t4"},
      {"x]y", "[]]", "2\t2"},
      {"a-z", "[a%-]+", "1\t2"},
      {"09af", "^%x+$", "1\t4"},
      {"q", "[^%a]", "nil"},
      {"\xe9t\xe9", "t", "2\t2"},
      {"", "", "1\t0"},
      {"abc", "", "1\t0"},
  };
  for (const FindCase& c : cases) {
    test::ScriptState s;
    lua_State* L = s.L();
    lua_pushstring(L, "subject");
    lua_pushstring(L, c.subject);
    lua_settable(L, LUA_GLOBALSINDEX);
    const test::RunResult r = s.Run(std::string("out(string.find(subject, '") + c.pattern + "'))");
    EXPECT_EQ(r.output, std::string(c.result) + "\n")
        << c.subject << " ~ " << c.pattern << " " << r.error;
  }
}

TEST(LibString, PatternErrors) {
  const test::ErrorCase cases[] = {
      {"string.find('a', '%')", "test:1: malformed pattern (ends with `%')"},
      {"string.find('a', '[a')", "test:1: malformed pattern (missing `]')"},
      {"string.find('a', '(()')", "test:1: unfinished capture"},
      {"string.find('a', '(a))')", "test:1: invalid pattern capture"},
      {"string.find('a', '%1')", "test:1: invalid capture index"},
      {"string.gsub('a', 'a', '%0')", "test:1: invalid capture index"},
      {"string.find('a', '%b')", "test:1: unbalanced pattern"},
      {"string.find(string.rep('a', 300), string.rep('a?', 300))", "test:1: pattern too complex"},
      // Quantifiers that backtrack over one another: exponential in the subject, stopped by the
      // step allowance of one attempt.
      {"string.find(string.rep('a', 40), string.rep('.-', 20) .. 'b')",
       "test:1: pattern too complex"},
      {"string.find(string.rep('a', 64), string.rep('a*', 30) .. 'b')",
       "test:1: pattern too complex"},
      {"string.gsub(string.rep('x', 50), string.rep('x?', 40) .. string.rep('x+', 8) .. 'y', '')",
       "test:1: pattern too complex"},
      {"for w in string.gfind(string.rep('ab', 30), string.rep('(.-)', 12) .. 'c') do end",
       "test:1: pattern too complex"},
      {"string.find('a', string.rep('(', 40))", "test:1: too many captures"},
      {"string.rep('ab', 2147483647)", "test:1: string size overflow"},
      {"string.gsub('a', 'a', true)",
       "test:1: bad argument #3 to `gsub' (string or function expected)"},
  };
  test::ExpectErrors(cases);
}

// Patterns that scan long subjects in the ordinary way stay well inside the step allowance.
TEST(LibString, OrdinaryPatternsOnLongSubjects) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "local line = string.rep('word ', 20000) .. '\\n'\n"
      "out(string.find(line, '(.-)\\n') ~= nil, string.find(line, '^[%w ]*\\n$') ~= nil)\n"
      "local n = 0 for w in string.gfind(line, '%a+') do n = n + 1 end out(n)\n"
      "local _, count = string.gsub(line, '%s*(%w+)%s*', '%1') out(count)\n"
      "out(string.find(string.rep('a', 3000), 'a*b'))");
  EXPECT_EQ(r.output, "true\ttrue\n20000\n20000\nnil\n") << r.error;
}

// string.rep sizes its result first: a size the allocator refuses fails at once with the memory
// error, whatever the count.
TEST(LibString, RepSizesItsResultFirst) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "out(string.rep('ab', 3), string.len(string.rep('xyz', 1001)), string.rep('q', -1) == '')");
  EXPECT_EQ(r.output, "ababab\t3003\ttrue\n") << r.error;

  // An allocator that refuses more than 64 MB in use and counts every byte it handed out.
  struct Capped {
    size_t inUse = 0;
    size_t handedOut = 0;
    static void* Alloc(void* ud, void* block, size_t osize, size_t nsize, int, int) {
      auto* self = static_cast<Capped*>(ud);
      if (nsize == 0) {
        self->inUse -= osize;
        std::free(block);
        return nullptr;
      }
      if (nsize > osize && self->inUse + (nsize - osize) > (64u << 20)) return nullptr;
      void* fresh = std::realloc(block, nsize);
      if (fresh == nullptr) return nullptr;
      self->inUse = self->inUse - osize + nsize;
      if (nsize > osize) self->handedOut += nsize - osize;
      return fresh;
    }
  } capped;
  lua_State* L = lua_newstate(Capped::Alloc, &capped);
  ASSERT_NE(L, nullptr);
  luaopen_all(L);
  const size_t before = capped.handedOut;
  const std::string source = "return string.rep('x', 2147483648)";
  ASSERT_EQ(luaL_loadbuffer(L, source.data(), source.size(), "=rep"), 0);
  EXPECT_EQ(lua_pcall(L, 0, 1, 0), LUA_ERRMEM);
  EXPECT_STREQ(lua_tostring(L, -1), "not enough memory");
  // Refused at once: nothing of the result was built before the refusal.
  EXPECT_LT(capped.handedOut - before, 64u * 1024);
  lua_close(L);
}

TEST(LibString, GsubAndGfind) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "out(string.gsub('hello world', '(o)', '[%1]'))\n"
      "out(string.gsub('abc', '%w', '%%'))\n"
      "out(string.gsub('abc', '', '-', 2))\n"
      "out(string.gsub('  x', '^%s*', ''))\n"
      "out(string.gsub('a b', '%w', {}))\n");
  EXPECT_NE(r.status, 0);  // a table replacement is refused
  EXPECT_EQ(r.output, "hell[o] w[o]rld\t2\n%%%\t3\n-a-bc\t2\nx\t1\n");
  const test::RunResult g = s.Run(
      "local t = {} for k, v in string.gfind('a=1,b=2', '(%w)=(%w)') do t[table.getn(t) + 1] = k "
      ".. v end\n"
      "out(table.concat(t, ' ')) for e in string.gfind('ab', '') do out(e == '') end");
  EXPECT_EQ(g.output, "a1 b2\ntrue\ntrue\ntrue\n") << g.error;
}

TEST(LibString, BasicFunctions) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "out(string.sub('hello', 2, 3), string.sub('hello', -3), string.sub('hello', 4, 100), "
      "string.sub('hello', 0))\n"
      "out(string.sub('hello', -100, 2), string.sub('hello', 3, 2), string.sub('hello', 1e10))\n"
      "out(string.len(''), string.rep('ab', 0), string.rep('-', 3), string.char(), "
      "string.char(104, 105))\n"
      "out(string.byte('A'), string.byte('ABC', -1), string.byte('A', 5), string.lower('MiX'), "
      "string.upper('MiX'))\n"
      "local f = loadstring(string.dump(function() return 7 end)) out(f())");
  EXPECT_EQ(r.output, "el\tllo\tlo\thello\nhe\t\t\n0\t\t---\t\thi\n65\t67\tnil\tmix\tMIX\n7\n")
      << r.error;
  EXPECT_EQ(s.Run("string.char(256)").error, "test:1: bad argument #1 to `char' (invalid value)");
  EXPECT_EQ(s.Run("string.dump(print)").error, "test:1: unable to dump given function");
}

TEST(LibString, Format) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "out(string.format('%d|%5.1f|%-3s|%x|%c|%%|%q', 3.9, 2.25, 'a', 255, 65, 'a\\n\"'))\n"
      "out(string.format('%B %B', true, nil))\n"
      "out(string.format('%Q', 'a\\n'), string.format('%Q', L\"\\x263Ab\\t\"), string.format('%Q', "
      "'\\0\\200'))\n"
      "out(string.format('%5B|%s', false, string.rep('x', 3)))");
  EXPECT_EQ(r.output,
            "3|  2.2|a  |ff|A|%|\"a\\\n\\\"\"\n"
            "true false\n"
            "\"a\\n\"\tL\"\\x263ab\\t\"\t\"\\x00\\xc8\"\n"
            "false|xxx\n")
      << r.error;
  // Raw bytes: w two bytes, d four, b one, F eight, any other letter nothing.
  const test::RunResult b = s.Run(
      "local w = string.format('%bw', 65) out(string.len(w), string.byte(w, 1), string.byte(w, "
      "2))\n"
      "out(string.len(string.format('%bd%bb%bF%bf%bz', -1, 300, 1.5, 1.5, 9)))\n"
      "out(string.byte(string.format('%bd', -2), 1, 1), string.byte(string.format('%bd', 0/0), "
      "4))");
  EXPECT_EQ(b.output, "2\t65\t0\n17\n254\t0\n") << b.error;
  // Integers out of range clamp as every integer argument does, never keeping low bits.
  const test::RunResult wide = s.Run(
      "out(string.format('%d|%i|%d|%d', 3e9, -3e9, 0/0, -2.5))\n"
      "out(string.byte(string.format('%c', 4294967361)))");
  EXPECT_EQ(wide.output, "2147483647|-2147483648|-2147483648|-2\n255\n") << wide.error;
  const struct {
    const char* source;
    const char* error;
  } errors[] = {
      {"string.format('%123d', 1)", "test:1: invalid format (width or precision too long)"},
      {"string.format('%1$d', 1)", "test:1: obsolete option (d$) to `format'"},
      {"string.format('%y', 1)", "test:1: invalid option to `format'"},
      {"string.format('%d')", "test:1: bad argument #2 to `format' (no value)"},
      {"string.format('%B', 1)",
       "test:1: bad argument #2 to `format' (boolean expected, got number)"},
      {"string.format('%d', 'x')",
       "test:1: bad argument #2 to `format' (number expected, got string)"},
  };
  for (const auto& e : errors) EXPECT_EQ(s.Run(e.source).error, e.error) << e.source;
}

TEST(LibString, Lualex) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "out(string.lualex('\\\\65B', 0), string.lualex('\\\\q', 0), string.lualex('a\\\\tb', 0) == "
      "'a\\tb')\n"
      "out(string.len(string.lualex('\\\\x41', 0)), string.lualex('\\\\xz', 0), "
      "string.lualex('\\\\1234', 0))\n"
      "local w = string.lualex('a\\\\x263A', 1) out(string.len(w), string.byte(w, 3), "
      "string.byte(w, 4))");
  EXPECT_EQ(r.output, "AB\tq\ttrue\n2\txz\t{4\n4\t58\t38\n") << r.error;
  EXPECT_EQ(s.Run("string.lualex('x')").error,
            "test:1: bad argument #2 to `lualex' (number expected, got no value)");
}

TEST(LibString, PackUnpack) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "local p = string.pack('>h', 1) out(string.byte(p, 1), string.byte(p, 2))\n"
      "out(string.unpack(string.pack('Ai', 'ab', 7), 'A2i'))\n"
      "out(string.pack('@4:32A@', 'x') == 'x   ', string.len(string.pack('@3 @', 'unused')))\n"
      "out(string.unpack('\\1', 'h'))\n"
      "out(string.unpack(string.pack('bBcHhIiLlfdnzpPa', 200, true, -2, 65535, -3, 4000000000, -5, "
      "6, -7, 0.5,"
      " 1.25, 2, 'zz', 'p', 'P', 'a'), 'bBcHhIiLlfdnzpPa'))\n"
      "out(string.unpack(string.pack('<i>i', 1, 1), '<i>i'))\n"
      "local w = string.pack('wzwp', L\"h\\x263A\", L\"q\") out(string.len(w))\n"
      "local pos, a, b = string.unpack(w, 'wzwp') out(pos, a == L\"h\\x263A\", b == L\"q\")\n"
      "out(string.unpack(string.pack('i3', 1, 2, 3), 'i2', 5))\n"
      "out(string.len(string.pack('@600:1 A @', string.rep('x', 700))), "
      "string.len(string.pack('A@1000@', string.rep('y', 600))))");
  EXPECT_EQ(r.output,
            "0\t1\n"
            "7\tab\t7\n"
            "true\t3\n"
            "1\n"
            "57\t200\ttrue\t-2\t65535\t-3\t4000000000\t-5\t6\t-7\t0.5\t1.25\t2\tzz\tp\tP\ta\n"
            "9\t1\t1\n"
            "9\n"
            "10\ttrue\ttrue\n"
            "13\t2\t3\n"
            "700\t1600\n")
      << r.error;
  const struct {
    const char* source;
    const char* error;
  } errors[] = {
      {"string.pack('q', 1)", "test:1: bad argument #1 to `pack' (bad code `q')"},
      {"string.unpack('x', '@')", "test:1: bad argument #1 to `unpack' (bad code `@')"},
      {"string.pack('B', 1)", "test:1: expected a boolean"},
      {"string.pack('p', string.rep('x', 256))",
       "test:1: bad argument #2 to `pack' (string too long for its length prefix)"},
      {"string.pack('i')", "test:1: bad argument #2 to `pack' (number expected, got no value)"},
      {"string.pack('@4:256 @')", "test:1: bad argument #1 to `pack' (fill byte above 255)"},
  };
  for (const auto& e : errors) EXPECT_EQ(s.Run(e.source).error, e.error) << e.source;
}

}  // namespace
}  // namespace tvs
