// The interface pieces built so far: registry-reference indices (read only), pushes beyond the
// guaranteed room, and the text functions print, tostring and towstring.
#include <gtest/gtest.h>

#include <string>

#include "tests/script/ScriptHelpers.h"

namespace tvs {
namespace {

TEST(Api, RegistryReferenceIndicesAreReadOnly) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_pushstring(L, "seven");
  lua_rawseti(L, LUA_REGISTRYINDEX, 7);
  lua_pushvalue(L, -40007);
  EXPECT_STREQ(lua_tostring(L, -1), "seven");
  EXPECT_EQ(lua_type(L, -40008), LUA_TNIL);  // absent: nil, not none
  lua_pushstring(L, "other");
  lua_replace(L, -40007);  // refused
  lua_rawgeti(L, LUA_REGISTRYINDEX, 7);
  EXPECT_STREQ(lua_tostring(L, -1), "seven");
}

int PushHundred(lua_State* L) {
  for (int i = 0; i < 100; i++) lua_pushnumber(L, i);
  return 100;
}

TEST(Api, NativeFunctionsMayPushBeyondTheirRoom) {
  test::ScriptState s;
  lua_register(s.L(), "hundred", PushHundred);
  const test::RunResult r = s.Run("local t = {hundred()} out(t[1], t[100], t[101])");
  EXPECT_EQ(r.output, "0\t99\tnil\n");
}

TEST(Api, TextFunctions) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "out(tostring(L\"A\\x263A\"), tostring(nil), tostring(12))\n"
      "local w = towstring('\\128a') out(typeof(w), w == L\"\\xff80a\", towstring(nil), "
      "towstring(L\"x\") == L\"x\")\n"
      "out(towstring(2.5) == L\"2.5\")");
  EXPECT_EQ(r.status, 0) << r.error;
  EXPECT_EQ(r.output, "A:\tnil\t12\nwstring\ttrue\tnil\ttrue\ntrue\n");
  testing::internal::CaptureStdout();
  const test::RunResult printed = s.Run("print(L\"caf\\xe9 \\x263A\", 1, nil, 'x')");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "caf\xc3\xa9 \xe2\x98\xba\t1\tnil\tx\n");
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(s.Run("tostring = function() return {} end print(1)").error,
            "test:1: `tostring' must return a string to `print'");
}

}  // namespace
}  // namespace tvs
