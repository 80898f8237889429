// Coroutines at the interface level: yields through nested script calls, values passed both
// ways, the main thread resumed as a coroutine, and the refused cases with their messages.
#include <gtest/gtest.h>

#include <string>

#include "tests/script/ScriptHelpers.h"
#include "tvlib/script/Collector.h"

namespace tvs {
namespace {

int YieldAll(lua_State* L) {
  return lua_yield(L, lua_gettop(L));
}

int ResumeSelf(lua_State* L) {
  const int status = lua_resume(L, 0);
  lua_pushnumber(L, status);
  lua_insert(L, -2);
  return 2;
}

int Collect(lua_State* L) {
  FullGC(L);
  return 0;
}

class CoroutineTest : public ::testing::Test {
 protected:
  CoroutineTest() {
    lua_register(mS.L(), "yield", YieldAll);
    lua_register(mS.L(), "resumeself", ResumeSelf);
    lua_register(mS.L(), "collect", Collect);
  }

  // A new thread running the function defined by `source' (which must return it).
  lua_State* Start(const std::string& source) {
    lua_State* L = mS.L();
    EXPECT_EQ(mS.Load(source), 0);
    EXPECT_EQ(lua_pcall(L, 0, 1, 0), 0);
    lua_State* co = lua_newthread(L);
    lua_pushstring(L, "co");  // keep the thread reachable
    lua_pushvalue(L, -2);
    lua_settable(L, LUA_GLOBALSINDEX);
    lua_pop(L, 1);
    lua_xmove(L, co, 1);
    return co;
  }

  // Resumes with numeric arguments; returns "status: v1 v2 ..." of what came back.
  static std::string Resume(lua_State* co, std::initializer_list<double> args) {
    for (double a : args) lua_pushnumber(co, a);
    const int status = lua_resume(co, static_cast<int>(args.size()));
    std::string out = std::to_string(status) + ":";
    const int n = lua_gettop(co);
    for (int i = 1; i <= n; i++) {
      const char* s = lua_tostring(co, i);
      out += " ";
      out += s ? s : lua_typename(co, lua_type(co, i));
    }
    lua_settop(co, 0);
    return out;
  }

  test::ScriptState mS;
};

TEST_F(CoroutineTest, YieldsAndResumesThroughNestedCalls) {
  lua_State* co = Start(
      "local function inner(x) local y = yield(x + 1) return y * 2 end\n"
      "local function middle(x) local r = inner(x) local z = yield(r, 'mid') return r + z end\n"
      "return function(a) local v = middle(a) collect() return v, 'done' end");
  EXPECT_EQ(Resume(co, {10}), "0: 11");
  EXPECT_EQ(Resume(co, {4}), "0: 8 mid");
  EXPECT_EQ(Resume(co, {100}), "0: 108 done");
  EXPECT_EQ(Resume(co, {}), "1: cannot resume dead coroutine");
}

TEST_F(CoroutineTest, LocalsSurviveCollectionWhileSuspended) {
  lua_State* co = Start(
      "return function() local t = {} for i = 1, 50 do t[i] = 'v' .. i end "
      "yield() return t[50] end");
  EXPECT_EQ(Resume(co, {}), "0:");
  FullGC(mS.L());
  EXPECT_EQ(Resume(co, {}), "0: v50");
}

// A suspended coroutine that nothing references is collected; closures over its locals keep
// their values.
TEST_F(CoroutineTest, CollectedCoroutineClosesItsUpvalues) {
  lua_State* L = mS.L();
  ASSERT_EQ(
      mS.Load(
          "return function() local v = {'kept'} getter = function() return v[1] end yield() end"),
      0);
  ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
  lua_State* co = lua_newthread(L);
  lua_insert(L, -2);
  lua_xmove(L, co, 1);
  EXPECT_EQ(Resume(co, {}), "0:");
  lua_settop(L, 0);  // the thread is now unreachable
  FullGC(L);
  FullGC(L);
  const test::RunResult r = mS.Run("out(getter())");
  EXPECT_EQ(r.output, "kept\n");
}

TEST_F(CoroutineTest, RefusedYieldsAndResumes) {
  lua_State* co = Start("return function() return resumeself() end");
  EXPECT_EQ(Resume(co, {}), "0: 1 cannot resume non-suspended coroutine");
  lua_State* c2 = Start("return yield");
  EXPECT_EQ(Resume(c2, {1}), "1: cannot yield a C function");
  lua_State* c3 = Start("return function() error_here() end");
  EXPECT_EQ(Resume(c3, {}), "1: test:1: attempt to call global `error_here' (a nil value)");
  EXPECT_EQ(Resume(c3, {}), "1: cannot resume dead coroutine");
}

TEST_F(CoroutineTest, YieldAcrossANativeCallIsRefused) {
  // tostring calls a __tostring tag method through a native call: no yield may cross it.
  lua_State* co = Start("return function() return tostring(setmeta({}, {__tostring = yield})) end");
  EXPECT_EQ(Resume(co, {}), "1: attempt to yield across metamethod/C-call boundary");
}

TEST_F(CoroutineTest, MainThreadResumesLikeACoroutine) {
  lua_State* L = mS.L();
  ASSERT_EQ(mS.Load("local a = yield(1) local b = yield(a + 1) return a + b"), 0);
  EXPECT_EQ(lua_resume(L, 0), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 1);
  lua_settop(L, 0);
  lua_pushnumber(L, 5);
  EXPECT_EQ(lua_resume(L, 1), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 6);
  lua_settop(L, 0);
  lua_pushnumber(L, 7);
  EXPECT_EQ(lua_resume(L, 1), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 12);
}

// Every resume nests the machine on the native stack once more: a chain of coroutines that
// each resume the next ends with "C stack overflow" at the limit of nested native calls.
TEST_F(CoroutineTest, ChainedResumesMeetTheNativeCallLimit) {
  const test::RunResult viaResume = mS.Run(
      "local depth, msg = 0\n"
      "local function nest()\n"
      "  depth = depth + 1\n"
      "  local ok, e = coroutine.resume(coroutine.create(nest))\n"
      "  if not ok and not msg then msg = e end\n"
      "end\n"
      "nest() out(msg, depth < 200, depth > 150)");
  EXPECT_EQ(viaResume.status, 0) << viaResume.error;
  EXPECT_EQ(viaResume.output, "C stack overflow\ttrue\ttrue\n");

  const test::RunResult viaWrap =
      mS.Run("local function nest() return coroutine.wrap(nest)() end nest()");
  EXPECT_NE(viaWrap.status, 0);
  EXPECT_NE(viaWrap.error.find("C stack overflow"), std::string::npos) << viaWrap.error;

  // The limit counts nesting, not resumes: many resumes one after another all run.
  const test::RunResult sequential = mS.Run(
      "local n = 0\n"
      "for i = 1, 1000 do\n"
      "  local co = coroutine.create(function(a) local b = coroutine.yield(a + 1) n = n + b end)\n"
      "  coroutine.resume(co, i) coroutine.resume(co, 1)\n"
      "end out(n)");
  EXPECT_EQ(sequential.output, "1000\n") << sequential.error;
}

}  // namespace
}  // namespace tvs
