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

namespace tvs {
namespace {

std::string gEvents;

void RecordHook(lua_State* L, lua_Debug* ar) {
  static const char* const kNames[] = {"call", "return", "line", "count", "tail return"};
  gEvents += kNames[ar->event];
  if (ar->event == LUA_HOOKLINE) gEvents += " " + std::to_string(ar->currentline);
  if (ar->event == LUA_HOOKCALL || ar->event == LUA_HOOKRET) {
    lua_getinfo(L, "S", ar);
    gEvents += std::string(" ") + ar->what;
  }
  gEvents += "\n";
}

TEST(Debug, LineHookFollowsLinesAndLoops) {
  test::ScriptState s;
  ASSERT_EQ(s.Load("local a = 0\nfor i = 1, 2 do\n  a = a + i\nend\nlocal b = a"), 0);
  gEvents.clear();
  lua_sethook(s.L(), RecordHook, LUA_MASKLINE, 0);
  ASSERT_EQ(lua_pcall(s.L(), 0, 0, 0), 0);
  lua_sethook(s.L(), nullptr, 0, 0);
  EXPECT_EQ(gEvents, "line 1\nline 2\nline 3\nline 2\nline 3\nline 2\nline 5\n");
}

TEST(Debug, CallReturnAndCountHooks) {
  test::ScriptState s;
  ASSERT_EQ(s.Load("local function f() return 1 end\nlocal function g() return f() end\ng()"), 0);
  gEvents.clear();
  lua_sethook(s.L(), RecordHook, LUA_MASKCALL | LUA_MASKRET, 0);
  ASSERT_EQ(lua_pcall(s.L(), 0, 0, 0), 0);
  EXPECT_EQ(gEvents, "call main\ncall Lua\ncall Lua\nreturn Lua\ntail return\nreturn main\n");
  ASSERT_EQ(s.Load("local x = 0 for i = 1, 10 do x = x + i end"), 0);
  gEvents.clear();
  lua_sethook(s.L(), RecordHook, LUA_MASKCOUNT, 10);
  ASSERT_EQ(lua_pcall(s.L(), 0, 0, 0), 0);
  lua_sethook(s.L(), nullptr, 0, 0);
  EXPECT_EQ(gEvents, "count\ncount\n");  // 28 instructions, a count every 10
}

}  // namespace
}  // namespace tvs
