// The collector: memory stays bounded while scripts drop many objects; weak tables lose
// entries whose keys or values are gone; finalisers run once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
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
  luaopen_base(L);
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

TEST(Collector, BoxedPointersGiveBackAllTheirMemory) {
  Usage usage;
  lua_State* L = OpenState(CountingAlloc, &usage);
  ASSERT_NE(L, nullptr);
  FullGC(L);
  const size_t before = usage.current;
  for (int i = 0; i < 1000; ++i) {
    lua_pushboxedpointer(L, &usage);
    lua_pop(L, 1);
  }
  FullGC(L);
  EXPECT_EQ(usage.current, before);
  lua_close(L);
  EXPECT_EQ(usage.current, 0u);
}

// A vararg call allocates the table of its extra arguments and nothing else: calling one in a
// loop, directly or through __call, must still let the collector run.
TEST(Collector, MemoryStaysBoundedThroughVarargCalls) {
  for (const char* call : {"f(i, 2, 3)", "callable(i, 2, 3)"}) {
    Usage usage;
    lua_State* L = OpenState(CountingAlloc, &usage);
    ASSERT_NE(L, nullptr);
    luaopen_base(L);
    const std::string source =
        "local function f(...) return arg.n end\n"
        "local callable = setmetatable({}, {__call = function(self, ...) return arg.n end})\n"
        "for i = 1, 200000 do " +
        std::string(call) + " end\n";
    ASSERT_EQ(luaL_loadbuffer(L, source.data(), source.size(), "=vararg"), 0);
    ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0) << lua_tostring(L, -1);
    EXPECT_GT(usage.total, 20u * 1024 * 1024) << call;
    EXPECT_LT(usage.peak, 1024u * 1024) << call;
    lua_close(L);
  }
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

namespace tvs {
namespace {

// Fails every allocation from the N-th on (counting from 0), like a machine out of memory.
struct FailingAlloc {
  long countdown;
  static void* Alloc(void* ud, void* block, size_t, size_t nsize, int, int) {
    auto* self = static_cast<FailingAlloc*>(ud);
    if (nsize == 0) {
      std::free(block);
      return nullptr;
    }
    if (self->countdown-- <= 0) return nullptr;
    return std::realloc(block, nsize);
  }
};

int DumpSink(lua_State*, const void*, size_t, void*) {
  return 0;
}

const char* const kSweepProgram =
    "local t = {&4 &4; 1, 2, 3, name = 'x' .. 1}\n"
    "local function f(...) local s = L\"w\" .. arg.n for i = 1, 3 do t[i] = s .. i end return t "
    "end\n"
    "local r = f(1, 2) for k = 1, 20 do r['k' .. k] = {k} end\n"
    "return function() return r end\n";

// Every allocation failure over opening, compiling, running and dumping ends in "not enough
// memory" (or a state that could not open), never a crash or a leak.
TEST(Collector, AllocationFailureSweep) {
  int completed = 0;
  for (long n = 0; n < 4000 && completed == 0; n++) {
    FailingAlloc fail{n};
    lua_State* L = OpenState(FailingAlloc::Alloc, &fail);
    if (L == nullptr) continue;
    int status = luaL_loadbuffer(L, kSweepProgram, strlen(kSweepProgram), "=sweep");
    if (status == 0) status = lua_pcall(L, 0, 1, 0);
    if (status == 0) {
      // Dumping a function with upvalues is refused; dump the program itself instead.
      luaL_loadbuffer(L, kSweepProgram, strlen(kSweepProgram), "=sweep");
      lua_dump(L, DumpSink, nullptr);
      completed++;
    } else {
      EXPECT_EQ(status, LUA_ERRMEM) << n << ": " << lua_tostring(L, -1);
      EXPECT_STREQ(lua_tostring(L, -1), "not enough memory") << n;
    }
    lua_close(L);
  }
  EXPECT_EQ(completed, 1);
}

}  // namespace
}  // namespace tvs

namespace tvs {
namespace {

const char* const kStressProgram =
    "local fs = {}\n"
    "for i = 1, 30 do\n"
    "  local s = L\"v\" .. i .. L\"w\" .. i\n"
    "  local t = {i, {i * 2}, name = tostring(s)}\n"
    "  fs[i] = function() return t[2][1] .. t.name end\n"
    "  if i & 1 == 1 then continue end\n"
    "  local m = setmeta({}, {__index = function(_, k) return k .. i end})\n"
    "  t.m = m.key\n"
    "end\n"
    "local function va(...) return arg.n, arg[arg.n] end\n"
    "out(fs[1](), fs[30](), va(1, 2, 'x'))\n"
    "local co = '' for i = 1, 200 do co = co .. i end out(co == co .. '')\n";

// A collection at every check point finds every live object reachable.
TEST(Collector, StressCollectionKeepsEverythingLive) {
  test::ScriptState normal;
  const test::RunResult expected = normal.Run(kStressProgram);
  ASSERT_EQ(expected.status, 0) << expected.error;
  test::ScriptState stressed;
  SetGcStress(stressed.L(), true);
  const test::RunResult r = stressed.Run(kStressProgram);
  EXPECT_EQ(r.output, expected.output);
  EXPECT_EQ(r.error, expected.error);
  EXPECT_EQ(r.output, "2v1w1\t60v30w30\t3\tx\ntrue\n");
}

}  // namespace
}  // namespace tvs
