// The debug interface: stack levels, function kinds, lines and names; argument errors built
// on it; tail calls.
#include <gtest/gtest.h>

#include <string>

#include "tests/script/ScriptHelpers.h"

namespace tvs {
namespace {

// where(level): short_src, currentline, what, namewhat, name of that level.
int Where(lua_State* L) {
  lua_Debug ar;
  if (!lua_getstack(L, static_cast<int>(lua_tonumber(L, 1)), &ar)) return 0;
  lua_getinfo(L, "Sln", &ar);
  lua_pushstring(L, ar.short_src);
  lua_pushnumber(L, ar.currentline);
  lua_pushstring(L, ar.what);
  lua_pushstring(L, ar.namewhat);
  lua_pushstring(L, ar.name);
  return 5;
}

int InfoOfNonFunction(lua_State* L) {
  lua_Debug ar;
  lua_pushnumber(L, 1);
  lua_getinfo(L, ">S", &ar);
  return 0;
}

TEST(Debug, StackLevelsAndNames) {
  test::ScriptState s;
  lua_register(s.L(), "where", Where);
  lua_register(s.L(), "infoOfNonFunction", InfoOfNonFunction);
  const test::RunResult r = s.Run(
      "function g()\n"
      "  out(where(1))\n"
      "end\n"
      "g()\n"
      "local t = {m = function(self) out(where(1)) end}\n"
      "t:m()\n"
      "local function h() out(where(0)) end\n"
      "h()\n"
      "out(where(1))\n"
      "out(where(5))\n"
      "out(pcall == nil, (towstring(true)))\n");
  EXPECT_EQ(r.output,
            "test\t2\tLua\tglobal\tg\n"
            "test\t5\tLua\tmethod\tm\n"
            "[C]\t-1\tC\tglobal\twhere\n"
            "test\t9\tmain\t\tnil\n"
            "\n");
  EXPECT_EQ(r.error, "test:11: bad argument #1 to `towstring' (value expected)");
  const test::RunResult bad = s.Run("infoOfNonFunction()");
  EXPECT_EQ(bad.error, "value for `lua_getinfo' is not a function");
}

}  // namespace
}  // namespace tvs
