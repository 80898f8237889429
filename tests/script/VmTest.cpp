// The virtual machine: loops with `continue' and `break N' (closures see the values of their
// own pass), bitwise operators, the power path, concatenation modes, per-type tables,
// precedence, run-time error messages, and 16-bit sources.
#include <gtest/gtest.h>

#include <string>

#include "tests/script/ScriptHelpers.h"

namespace tvs {
namespace {

using test::Case;
using test::ErrorCase;

TEST(Vm, LoopsWithContinueAndBreakN) {
  const Case cases[] = {
      {"for i = 1, 3 do for j = 1, 3 do if j == 2 then break 2 end out(i, j) end end", "1\t1\n"},
      {"for i = 1, 2 do for j = 1, 3 do if j == 2 then continue 2 end out(i, j) end end",
       "1\t1\n2\t1\n"},
      {"for i = 1, 4 do if i == 2 then continue end out(i) end", "1\n3\n4\n"},
      {"for i = 1, 3 do if i == 2 then break 1 end out(i) end", "1\n"},
      {"local i = 0 while i < 4 do i = i + 1 if i == 2 then continue end out(i) end", "1\n3\n4\n"},
      {"local i = 0 repeat i = i + 1 if i < 3 then continue end out(i) until i >= 4", "3\n4\n"},
      {"local n = 0 repeat n = n + 1 do continue end until n == 3 out(n)", "3\n"},
  };
  test::ExpectOutputs(cases);
}

// Each pass's closure must keep the value of its own pass, however the pass ended.
TEST(Vm, ClosuresCaptureTheirOwnPass) {
  const Case cases[] = {
      // continue after the closure is made
      {"local fs = {} local i = 0 while i < 3 do i = i + 1 local x = i * 10 "
       "fs[i] = function() return x end if i < 3 then continue end end "
       "out(fs[1](), fs[2](), fs[3]())",
       "10\t20\t30\n"},
      // continue 2 out of an inner loop, the closure made before it in the outer body
      {"local fs = {} for i = 1, 3 do local x = i fs[i] = function() return x end "
       "for j = 1, 2 do if j == 1 then continue 2 end end end "
       "out(fs[1](), fs[2](), fs[3]())",
       "1\t2\t3\n"},
      // continue 2 where the closure appears later in the text than the continue but runs
      // in an earlier pass of the inner loop
      {"local fs = {} local n = 0 for i = 1, 3 do local x = i * 100 "
       "for j = 1, 2 do if j == 2 then continue 2 end n = n + 1 fs[n] = function() return x end "
       "end end "
       "out(fs[1](), fs[2](), fs[3]())",
       "100\t200\t300\n"},
      // break 2 with locals of the inner body captured
      {"local fs = {} for i = 1, 3 do local y = i for j = 1, 3 do local z = y + j "
       "fs[i] = function() return z end if j == 1 then break end end end "
       "out(fs[1](), fs[2](), fs[3]())",
       "2\t3\t4\n"},
      // repeat with continue after capture: the until condition still runs
      {"local fs = {} local i = 0 repeat i = i + 1 local v = i fs[i] = function() return v end "
       "if v < 3 then continue end until i >= 3 out(fs[1](), fs[2](), fs[3]())",
       "1\t2\t3\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(Vm, BitwiseOperators) {
  const Case cases[] = {
      {"out(6 & 3, -1 & 255, 1 << 33, -1 >> 28, -1 | 0)", "2\t255\t2\t15\t4294967295\n"},
      {"out(2.9 | 0, -2.9 | 0, 4294967296 | 1)", "2\t4294967294\t1\n"},
      {"out((1/0) | 5, (-1/0) | 5, (0/0) | 5, 1e30 | 5)", "5\t5\t5\t5\n"},
      {"out(2 ^ 3, 0x0F ^ 0xFF)", "1\t240\n"},
      {"out(1 + 2 & 3, 2 * 3 << 1, 1 << 2 << 3, -1 & 3, 1 .. 2 << 3)", "3\t12\t32\t3\t116\n"},
      {"__pow = function(a, b) return a * 1000 + b end out('2' ^ 3, 2 ^ '3')", "2003\t2003\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(Vm, ConcatenationModes) {
  const Case cases[] = {
      {"out(tostring(1 .. L\"a\"), typeof(1 .. L\"a\"))", "1a\twstring\n"},
      {"out(typeof('a' .. 1 .. 'b'), 'a' .. 1 .. 'b')", "string\ta1b\n"},
      {"out(typeof(L\"a\" .. L\"\" .. 2.5), tostring(L\"a\" .. 2.5))", "wstring\ta2.5\n"},
      {"out(L\"x\" == L\"x\", L\"x\" == 'x', 1 .. '' == '1')", "true\tfalse\ttrue\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(Vm, PerTypeTables) {
  const Case cases[] = {
      {"local s = 'abc' s.x = 5 out(('q').x, (5).x)", "5\tnil\n"},
      {"local n = 5 n.y = 7 out((6).y, ('s').y)", "7\tnil\n"},
      {"local w = L\"w\" w.z = 1 out((L\"\").z)", "1\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(Vm, TagMethods) {
  const Case cases[] = {
      {"local base = {x = 1} local t = setmeta({}, {__index = base}) out(t.x, t.y)", "1\tnil\n"},
      {"local t = setmeta({}, {__index = function(t, k) return k .. '!' end}) out(t.a)", "a!\n"},
      {"local log = {} local t = setmeta({}, {__newindex = function(t, k, v) log[k] = v end}) "
       "t.a = 5 out(rawa == nil, log.a)",
       "true\t5\n"},
      {"local mt = {__add = function(a, b) return 42 end, __concat = function(a, b) return 'cat' "
       "end, "
       "__unm = function(a) return 'neg' end} local t = setmeta({}, mt) out(t + 1, t .. 'x', -t)",
       "42\tcat\tneg\n"},
      {"local eq = function(a, b) return true end local m1 = {__eq = eq} local m2 = {__eq = eq} "
       "out(setmeta({}, m1) == setmeta({}, m2), setmeta({}, m1) == setmeta({}, {}))",
       "true\tfalse\n"},
      {"local mt = {__lt = function(a, b) return a.v < b.v end} "
       "local a, b = setmeta({v = 1}, mt), setmeta({v = 2}, mt) out(a < b, a <= b, b <= a)",
       "true\ttrue\tfalse\n"},
      {"local t = setmeta({}, {__call = function(self, a) return a * 2 end}) out(t(21))", "42\n"},
  };
  test::ExpectOutputs(cases);
  test::ScriptState s;
  EXPECT_EQ(s.Run("local a = {} local b = {} setmeta(a, {__index = b}) setmeta(b, {__index = a}) "
                  "local x = a.missing")
                .error,
            "test:1: loop in gettable");
  EXPECT_EQ(
      s.Run("local a = {} local b = {} setmeta(a, {__newindex = b}) setmeta(b, {__newindex = a}) "
            "a.missing = 1")
          .error,
      "test:1: loop in settable");
  // A number's tag method is its per-type table, which is not a function: the second
  // operand's tag method is never consulted.
  EXPECT_EQ(s.Run("local t = setmeta({}, {__add = function() return 1 end}) local x = 1 + t").error,
            "test:1: attempt to perform arithmetic on local `t' (a table value)");
}

int ErrorHandler(lua_State* L) {
  lua_pushstring(L, "handled: ");
  lua_insert(L, -2);
  lua_concat(L, 2);
  return 1;
}

TEST(Vm, ErrorHandlers) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_pushcfunction(L, ErrorHandler);
  ASSERT_EQ(s.Load("local x = nil .. 1"), 0);
  EXPECT_EQ(lua_pcall(L, 0, 0, 1), LUA_ERRRUN);
  EXPECT_STREQ(lua_tostring(L, -1), "handled: test:1: attempt to concatenate a nil value");
  lua_settop(L, 0);
  lua_pushnumber(L, 1);  // a handler that is not a function
  ASSERT_EQ(s.Load("local x = nil .. 1"), 0);
  EXPECT_EQ(lua_pcall(L, 0, 0, 1), LUA_ERRERR);
  EXPECT_STREQ(lua_tostring(L, -1), "error in error handling");
  lua_settop(L, 0);
  ASSERT_EQ(s.Load("return function(m) local y = nil .. m end"), 0);  // a handler that fails
  ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
  ASSERT_EQ(s.Load("local x = nil .. 1"), 0);
  EXPECT_EQ(lua_pcall(L, 0, 0, 1), LUA_ERRERR);
  EXPECT_STREQ(lua_tostring(L, -1), "error in error handling");
}

TEST(Vm, FiveZeroSemantics) {
  const Case cases[] = {
      // varargs arrive in `arg' with n
      {"local function f(...) return arg.n, arg[1], arg[3] end out(f(4, 5, 6))", "3\t4\t6\n"},
      // the numeric for variable is the counter
      {"for i = 1, 10 do out(i) i = i + 4 end", "1\n6\n"},
      // `until' cannot see the body's locals
      {"local n = 0 repeat local stop = true n = n + 1 until stop or n == 3 out(n)", "3\n"},
      {"local a, b, c = (function() return 1, 2, 3 end)() out(a, b, c)", "1\t2\t3\n"},
      {"local t = {} t.x, t.y = 1, 2 local a, b = t.y, t.x out(a, b)", "2\t1\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(Vm, RunTimeErrors) {
  const ErrorCase cases[] = {
      {"local x = undefinedName.field",
       "test:1: attempt to index global `undefinedName' (a nil value)"},
      {"local t = {} local y = t.a.b", "test:1: attempt to index field `a' (a nil value)"},
      {"local t = {} t:nomethod()", "test:1: attempt to call method `nomethod' (a nil value)"},
      {"local l\nl()", "test:2: attempt to call local `l' (a nil value)"},
      {"local a = {} .. 'x'", "test:1: attempt to concatenate a table value"},
      {"local a = 'x' .. {}", "test:1: attempt to concatenate a table value"},
      {"local a = 'a' .. 1 .. L\"w\"", "test:1: attempt to concatenate a wstring value"},
      {"local a = L\"w\" .. 'a'", "test:1: attempt to concatenate a wstring value"},
      {"local a = {} + 1", "test:1: attempt to perform arithmetic on a table value"},
      {"local s = '3' local a = s & 1", "test:1: attempt to perform arithmetic on a number value"},
      {"local s = 'x' local a = s & 1",
       "test:1: attempt to perform arithmetic on local `s' (a string value)"},
      {"local a = 1 < 'x'", "test:1: attempt to compare number with string"},
      {"local a = {} < {}", "test:1: attempt to compare two table values"},
      {"local a = true < false", "test:1: attempt to call a table value"},
      {"for i = 1, 'x' do end", "test:1: `for' limit must be a number"},
      {"local t local y = t.x", "test:1: attempt to index local `t' (a nil value)"},
      {"__pow = 1 local a = '2' ^ 3", "test:1: `__pow' (`^' operator) is not a function"},
      {"local t = {} t[nil] = 1", "test:1: table index is nil"},
      {"local function f() return f() + 1 end f()", "test:1: stack overflow"},
  };
  test::ExpectErrors(cases);
}

TEST(Vm, ChunkNamesInMessages) {
  test::ScriptState s;
  EXPECT_EQ(s.Run("x()", "@scripts/menu.lua").error,
            "scripts/menu.lua:1: attempt to call global `x' (a nil value)");
  EXPECT_EQ(s.Run("\n\nx()", "x = 1\ny").error,
            "[string \"x = 1...\"]:3: attempt to call global `x' (a nil value)");
}

TEST(Vm, SixteenBitSourceAfterByteOrderMark) {
  const std::u16string text = u"out(L\"\u263A\" == L\"\\x263a\", '\u0141')";
  std::string bytes = "\xFF\xFE";
  for (char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  test::ScriptState s;
  const test::RunResult r = s.Run(bytes);
  EXPECT_EQ(r.status, 0) << r.error;
  EXPECT_EQ(r.output, "true\tA\n");
}

}  // namespace
}  // namespace tvs
