// The collector: memory stays bounded while scripts drop many objects; weak tables lose
// entries whose keys or values are gone; finalisers run once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/script/ScriptHelpers.h"
#include "tvlib/script/Collector.h"
#include "tvlib/script/State.h"

namespace tvs {
namespace {

struct Usage {
  size_t current = 0;
  size_t peak = 0;
  size_t total = 0;
};

void* CountingAlloc(void* ud, void* block, size_t osize, size_t nsize, int, int) {
  Usage* u = static_cast<Usage*>(ud);
  u->current = u->current - osize + nsize;
  if (u->current > u->peak) u->peak = u->current;
  if (nsize > osize) u->total += nsize - osize;
  if (nsize == 0) {
    std::free(block);
    return nullptr;
  }
  return std::realloc(block, nsize);
}

TEST(Collector, MemoryStaysBoundedWhileObjectsAreDropped) {
  Usage usage;
  lua_State* L = OpenState(CountingAlloc, &usage);
  ASSERT_NE(L, nullptr);
  luaopen_print(L);
  const std::string source =
      "for i = 1, 100000 do\n"
      "  local t = {i, i + 1; name = tostring(i) .. 'x'}\n"
      "  local s = L\"key\" .. i .. L\"w\"\n"
      "  local f = function() return t, s end\n"
      "end\n";
  ASSERT_EQ(luaL_loadbuffer(L, source.data(), source.size(), "=gc"), 0);
  ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0) << lua_tostring(L, -1);
  // Far more was allocated than was ever alive at once.
  EXPECT_GT(usage.total, 20u * 1024 * 1024);
  EXPECT_LT(usage.peak, 1024u * 1024);
  lua_close(L);
  EXPECT_EQ(usage.current, 0u);
}

int Collect(lua_State* L) {
  FullGC(L);
  return 0;
}

int finalised = 0;
int CountFinaliser(lua_State*) {
  finalised++;
  return 0;
}

TEST(Collector, WeakEntriesAndFinalisers) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_register(L, "collect", Collect);
  lua_pushstring(L, "weak");
  lua_newtable(L);
  lua_newtable(L);
  lua_pushstring(L, "__mode");
  lua_pushstring(L, "kv");
  lua_rawset(L, -3);
  lua_setmetatable(L, -2);
  lua_settable(L, LUA_GLOBALSINDEX);
  // proxy = a userdata whose metatable has __gc
  lua_pushstring(L, "proxy");
  lua_newuserdata(L, 3);
  lua_newtable(L);
  lua_pushstring(L, "__gc");
  lua_pushcfunction(L, CountFinaliser);
  lua_rawset(L, -3);
  lua_setmetatable(L, -2);
  lua_settable(L, LUA_GLOBALSINDEX);
  finalised = 0;
  const test::RunResult r = s.Run(
      "weak[1] = {} weak.keep = 'text' weak[2] = L\"wide\" local held = {} weak[3] = held\n"
      "collect()\n"
      "out(weak[1], weak.keep, typeof(weak[2]), weak[3] == held)\n"
      "proxy = nil collect() collect()");
  EXPECT_EQ(r.status, 0) << r.error;
  EXPECT_EQ(r.output, "nil\ttext\twstring\ttrue\n");
  EXPECT_EQ(finalised, 1);
}

}  // namespace
}  // namespace tvs
