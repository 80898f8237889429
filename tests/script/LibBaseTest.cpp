// The base library and the language behaviours scripts of this engine rely on where they
// differ from later versions of the language: varargs in `arg', the numeric for variable as
// the counter, `for k, v in t', the scope of `until', getn/setn with `n', nested long
// strings and the quoting of error texts.
#include <gtest/gtest.h>

#include <string>

#include "tests/script/ScriptHelpers.h"

namespace tvs {
namespace {

using test::Case;
using test::ErrorCase;

TEST(LanguageHeritage, BehavioursPinned) {
  const Case cases[] = {
      // Varargs arrive in `arg' with its count in `n'.
      {"local function f(a, ...) return a, arg.n, arg[1], arg[2] end out(f(1, 2, nil))",
       "1\t2\t2\tnil\n"},
      // The numeric for variable is the counter itself: assigning to it moves the loop.
      {"local seen = '' for i = 1, 10 do seen = seen .. i i = i + 2 end out(seen)", "14710\n"},
      // Closures made in the loop share the one variable.
      {"local fs = {} for i = 1, 3 do fs[i] = function() return i end end out(fs[1](), fs[3]())",
       "3\t3\n"},
      // A bare table after `in' iterates it.
      {"local n = 0 for k, v in {a = 1, b = 2} do n = n + v end out(n)", "3\n"},
      // The `until' condition does not see the body's locals.
      {"x = 'global' local i = 0 repeat local x = 'body' i = i + 1 until x == 'global' out(i)",
       "1\n"},
      // getn: the `n' field first, then the size set by setn, then the first nil.
      {"out(table.getn({n = 5}), table.getn({1, 2, nil, 4}))", "5\t2\n"},
      {"local t = {} table.setn(t, 7) out(table.getn(t), t.n)", "7\tnil\n"},
      {"local t = {n = 1} table.setn(t, 3) out(t.n) table.insert(t, 'x') out(t.n, t[4])",
       "3\n4\tx\n"},
      {"out(unpack({1, 2, 3, n = 2}))", "1\t2\n"},
      // Long strings nest.
      {"local s = [[a [[b]] c]] out(s)", "a [[b]] c\n"},
      // string.byte gives one value; gsub drops a match whose function gives nil.
      {"out(string.byte('abc', 1, 3))", "97\n"},
      {"out(string.gsub('keep', 'e', function() return nil end))", "kp\t2\n"},
      // gcinfo counts kilobytes and the threshold.
      {"local a, b = gcinfo() out(a > 0 and a < 2000, type(b))", "true\tnumber\n"},
      // getmetatable never gives nil for values: numbers and strings have their type's table.
      {"out(getmetatable('x') == string, type(getmetatable(1)), type(getmetatable({})))",
       "true\ttable\ttable\n"},
      {"local t = setmetatable({}, nil) out(type(getmetatable(t)))", "table\n"},
      // Strings find the string functions as fields.
      {"out(('abc'):upper(), ('x'):rep(3))", "ABC\txxx\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(LanguageHeritage, ErrorTextsQuoteWithBackquote) {
  const ErrorCase cases[] = {
      {"local t = nil t.x = 1", "test:1: attempt to index local `t' (a nil value)"},
      {"string.rep()", "test:1: bad argument #1 to `rep' (string expected, got no value)"},
      {"setmetatable({}, 1)", "test:1: bad argument #2 to `setmetatable' (nil or table expected)"},
  };
  test::ExpectErrors(cases);
}

TEST(LibBase, MainPaths) {
  const Case cases[] = {
      {"out(type(nil), type(1), type('s'), type(L\"w\"), type({}), type(print))",
       "nil\tnumber\tstring\twstring\ttable\tfunction\n"},
      {"out(tonumber('12'), tonumber(' 1e2 '), tonumber('x'), tonumber(L\"42\"), tonumber('ff', "
       "16), tonumber('z', 36))",
       "12\t100\tnil\t42\t255\t35\n"},
      {"out(tonumber(L\"1010\", 2), tonumber('12 ', 10), tonumber('1 2', 16), tonumber('', 16))",
       "10\t12\tnil\tnil\n"},
      {"out(pcall(error, 'm', 0)) out(pcall(error, 'm')) out(select == nil)",
       "false\tm\nfalse\tm\ntrue\n"},
      {"local ok, e = pcall(error, {1}) out(ok, type(e), e[1])", "false\ttable\t1\n"},
      {"out(xpcall(function() error('x', 0) end, function(m) return m .. '!' end))", "false\tx!\n"},
      {"out(pcall(function() return 1, 2 end))", "true\t1\t2\n"},
      {"out(rawequal('a', 'a'), rawget({5}, 1), rawset({}, 'k', 1).k)", "true\t5\t1\n"},
      {"local t = {} for k, v in pairs({10, 20}) do t[k] = v end out(t[1], t[2])", "10\t20\n"},
      {"for i, v in ipairs({'a', 'b', nil, 'd'}) do out(i, v) end", "1\ta\n2\tb\n"},
      {"out(next({}), next({7}))", "nil\t1\t7\n"},
      {"out(assert(1, 'unused'))", "1\n"},
      {"local f = loadstring('return 1 + 1') out(f(), loadstring('x ='))",
       "2\tnil\t[string \"x =\"]:1: unexpected symbol near `<eof>'\n"},
      {"out(_G == getfenv(1), _G._G == _G, _VERSION)", "true\ttrue\tLua 5.0.2\n"},
      {"local e = {out = out} local function f() return y end setfenv(f, e) e.y = 3 out(f())",
       "3\n"},
      {"local p = newproxy(true) local q = newproxy(p) out(type(p), getmetatable(p) == "
       "getmetatable(q))",
       "userdata\ttrue\n"},
      {"out(tostring(12.5), tostring(L\"\\x263A\"), tostring(setmetatable({}, {__tostring = "
       "function() return 'T' end})))",
       "12.5\t:\tT\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(LibBase, Errors) {
  const ErrorCase cases[] = {
      {"assert(false)", "test:1: assertion failed!"},
      {"assert(nil, 'why')", "test:1: why"},
      {"tonumber('1', 99)", "test:1: bad argument #2 to `tonumber' (base out of range)"},
      {"towstring(true)", "test:1: bad argument #1 to `towstring' (value expected)"},
      {"setmetatable(setmetatable({}, {__metatable = 1}), {})",
       "test:1: cannot change a protected metatable"},
      {"newproxy({})", "test:1: bad argument #1 to `newproxy' (boolean or proxy expected)"},
      {"getfenv(-1)", "test:1: bad argument #1 to `getfenv' (level must be non-negative)"},
      {"ipairs(1)", "test:1: bad argument #1 to `ipairs' (table expected, got number)"},
      {"require('no-such-package')",
       "test:1: could not load package `no-such-package' from path `?;?.lua'"},
      {"print(setmetatable({}, {__tostring = function() return {} end}))",
       "test:1: `tostring' must return a string to `print'"},
  };
  test::ExpectErrors(cases);
}

TEST(LibBase, TowstringWidensBytesAsSigned) {
  const Case cases[] = {
      {"out(towstring(5) == L\"5\", towstring('') == L\"\", towstring(nil))", "true\ttrue\tnil\n"},
      {"out(towstring('\\128') == L\"\\xff80\", type(towstring({})))", "true\twstring\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(LibCoroutine, MainPathsAndErrors) {
  const Case cases[] = {
      {"local co = coroutine.create(function(a) local b = coroutine.yield(a * 2) return b + 1 "
       "end)\n"
       "out(coroutine.resume(co, 5)) out(coroutine.status(co)) out(coroutine.resume(co, 10))\n"
       "out(coroutine.status(co), coroutine.resume(co))",
       "true\t10\nsuspended\ntrue\t11\ndead\tfalse\tcannot resume dead coroutine\n"},
      {"local g = coroutine.wrap(function() for i = 1, 2 do coroutine.yield(i) end end) out(g(), "
       "g())",
       "1\t2\n"},
      {"local g = coroutine.wrap(function() error('in', 0) end) out(pcall(g))", "false\tin\n"},
      {"local co co = coroutine.create(function() out(coroutine.status(co)) end) "
       "coroutine.resume(co)",
       "running\n"},
      {"out(pcall(coroutine.create, print))",
       "false\tbad argument #1 to `?' (Lua function expected)\n"},
      {"out(pcall(coroutine.yield))",
       "false\tattempt to yield across metamethod/C-call boundary\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(LibMath, FunctionsAndGlobalPow) {
  const Case cases[] = {
      {"out(math.floor(2.5), math.ceil(2.1), math.mod(7, 3), math.abs(-1), math.max(1, 3, 2), "
       "math.min(4, 2))",
       "2\t3\t1\t1\t3\t2\n"},
      {"out(math.sin(0), math.cos(math.pi), math.deg(math.pi), math.sqrt(9), math.pow(2, 10))",
       "0\t-1\t180\t3\t1024\n"},
      // `^' on two numbers is exclusive or; on other operands it calls the global __pow.
      {"out(2 ^ 10, '2' ^ 3, __pow(2, 0.5) == math.sqrt(2))", "8\t8\ttrue\n"},
      {"math.randomseed(7) local a = math.random(10) math.randomseed(7) out(a == math.random(10), "
       "a >= 1 and a <= 10)",
       "true\ttrue\n"},
      {"local r = math.random() out(r >= 0 and r < 1, math.random(3, 3))", "true\t3\n"},
  };
  test::ExpectOutputs(cases);
  const ErrorCase errors[] = {
      {"math.random(0)", "test:1: bad argument #1 to `random' (interval is empty)"},
      {"math.random(1, 2, 3)", "test:1: wrong number of arguments"},
      {"math.floor('x')", "test:1: bad argument #1 to `floor' (number expected, got string)"},
  };
  test::ExpectErrors(errors);
}

}  // namespace
}  // namespace tvs
