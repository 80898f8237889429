// Scripts as tasks and shared compiled assets, the engine bindings and typed table access:
// a script suspended by a bound function wakes when its task fires (on a paused clock), two
// scripts share one compiled file, bound members with each signature, bindings that fall
// silent when their object goes, typed reads with defaults, errors through "_ALERT" to the log.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/core/TClock.h"
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScript.h"
#include "tvlib/script/TScriptCode.h"

namespace {

class ScriptTest : public testing::Test {
 protected:
  ScriptTest() { SetLogDirectory(mDir.Path().c_str()); }
  std::string Log() const { return ReadWholeFile(GetLogPath().c_str()); }
  // A script file in the test folder, by its virtual name.
  std::string WriteScript(const std::string& name, const std::string& text) {
    WriteWholeFile(mDir / name, text);
    return "::" + (mDir / name);
  }

  TTempDir mDir;
  TAssetManager mAssets;
};

std::string gNotes;
void Note(TString text) {
  gNotes += std::string(text.c_str()) + ";";
}

// An engine object exposing members of each signature, and a wait that suspends the script.
class TWaiter {
 public:
  explicit TWaiter(TScript* script) : mScript(script) {
    lua_State* L = script->GetState();
    mBindings.Bind(L, "Wait", this, &TWaiter::Wait);
    mBindings.Bind(L, "Add", this, &TWaiter::Add);
    mBindings.Bind(L, "Scale", this, &TWaiter::Scale);
    mBindings.Bind(L, "Half", this, &TWaiter::Half);
    mBindings.Bind(L, "Negate", this, &TWaiter::Negate);
    mBindings.Bind(L, "Greet", this, &TWaiter::Greet);
    mBindings.Bind(L, "Count", this, &TWaiter::Count);
    mBindings.Bind(L, "Store", this, &TWaiter::Store);
  }
  int Wait(lua_State* L) {
    mScript->SetPeriod(static_cast<uint32_t>(lua_tonumber(L, 1)), false, true, false);
    return lua_yield(L, 0);
  }
  int Add(int a, int b) { return a + b; }
  double Scale(double x, float f) { return x * f; }
  unsigned Half(unsigned u) { return u / 2; }
  bool Negate(bool b) { return !b; }
  TString Greet(TString name) { return TString("hi ") + name; }
  void Count() { mCount++; }
  void Store(TString text, int n) { mStored = std::string(text.c_str()) + std::to_string(n); }

  TScript* mScript;
  int mCount = 0;
  std::string mStored;
  TLuaBindings mBindings;
};

// A class with several bases binds members of each: one of the second base is reached through
// that base's part of the object, not through the start of the whole object.
struct TFirstBase {
  virtual ~TFirstBase() = default;
  int first = 1;
};
struct TSecondBase {
  int Second(int add) { return second + add; }
  int second = 20;
};
class TSeveralBases : public TFirstBase, public TSecondBase {
 public:
  explicit TSeveralBases(lua_State* L) {
    mBindings.Bind(L, "Second", static_cast<TSecondBase*>(this), &TSecondBase::Second);
    mBindings.Bind(L, "Own", this, &TSeveralBases::Own);
  }
  int Own() { return first * 100 + second; }
  TLuaBindings mBindings;
};

TEST_F(ScriptTest, BindingsReachTheRightBaseOfAClassWithSeveral) {
  TScript script;
  TSeveralBases object(script.GetState());
  script.DoLuaString("a = Second(5) b = Own()");
  EXPECT_EQ(script.GetGlobalNumber("a"), 25);
  EXPECT_EQ(script.GetGlobalNumber("b"), 120);
}

TEST_F(ScriptTest, YieldThroughBoundFunctionResumesWhenTaskFires) {
  TScript script;
  TClock clock;
  clock.SetTime(1000);
  script.SetClock(&clock);
  TWaiter waiter(&script);
  gNotes.clear();
  BindFunction(script.GetState(), "Note", Note);
  EXPECT_TRUE(script.IsSuspended());
  const std::string file = WriteScript(
      "waits.lua",
      "return function() Note('a') Wait(100) Note('b') Wait(50) Note('c') return 1, 2 end");
  ASSERT_TRUE(script.RunScript(file.c_str()));
  EXPECT_EQ(gNotes, "a;");  // started at once, up to its first wait
  EXPECT_TRUE(script.IsYielded());
  EXPECT_FALSE(script.IsReady(kTimerPhase));
  clock.SetTime(1099);
  EXPECT_FALSE(script.IsReady(kTimerPhase));
  clock.SetTime(1100);
  ASSERT_TRUE(script.IsReady(kTimerPhase));
  EXPECT_TRUE(script.Run());
  EXPECT_EQ(gNotes, "a;b;");
  clock.SetTime(1150);
  EXPECT_TRUE(script.Run());
  EXPECT_EQ(gNotes, "a;b;c;");
  EXPECT_TRUE(script.IsSuspended());  // the coroutine ended
  EXPECT_FALSE(script.IsYielded());
  EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(ScriptTest, CoroutineEndingOnItsFirstRunLeavesTaskAndStackAsTheyWere) {
  TScript script;
  lua_State* L = script.GetState();
  gNotes.clear();
  BindFunction(L, "Note", Note);
  const std::string file = WriteScript("once.lua", "return function() Note('once') return 1 end");
  ASSERT_TRUE(script.RunScript(file.c_str()));
  EXPECT_TRUE(script.IsSuspended());
  EXPECT_EQ(lua_gettop(L), 0);
  // A value the caller keeps on the stack is neither started nor dropped.
  ASSERT_EQ(luaL_loadbuffer(L, "Note('stray')", 13, "=stray"), 0);
  script.DoLuaString("return function() Note('text') end");
  EXPECT_TRUE(script.IsSuspended());
  EXPECT_EQ(lua_gettop(L), 1);
  EXPECT_TRUE(lua_isfunction(L, 1));
  EXPECT_EQ(gNotes, "once;text;");
  EXPECT_EQ(Log().find("cannot resume"), std::string::npos);
  lua_settop(L, 0);
}

TEST_F(ScriptTest, MainChunkWithoutFunctionRunsOnceAndStaysSuspended) {
  TScript script;
  const std::string file = WriteScript("once.lua", "ran = (ran or 0) + 1");
  EXPECT_FALSE(script.RunScript(""));
  EXPECT_FALSE(script.RunScript("::/nonexistent/x.lua"));
  EXPECT_TRUE(script.RunScript(file.c_str()));
  EXPECT_EQ(script.GetGlobalNumber("ran"), 1);
  EXPECT_TRUE(script.IsSuspended());
  EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(ScriptTest, ASyntaxErrorIsLoggedWithItsFileAndLine) {
  TScript script;
  const std::string file = WriteScript("broken.lua", "a = 1\nb = 2\nc = = 3\n");
  EXPECT_FALSE(script.RunScript(file.c_str()));
  EXPECT_NE(Log().find("broken.lua:3: unexpected symbol near `='"), std::string::npos) << Log();
}

TEST_F(ScriptTest, ScriptsShareOneCompiledAsset) {
  const std::string file = WriteScript("shared.lua", "value = 'first'");
  std::shared_ptr<TScriptCode> held = TScriptCode::Get(file.c_str());
  ASSERT_TRUE(held);
  // Edit the file: users of the held code keep running the compiled first version.
  WriteScript("shared.lua", "value = 'second'");
  TScript a, b;
  EXPECT_TRUE(a.RunScript(file.c_str()));
  EXPECT_TRUE(b.RunScript(file.c_str()));
  EXPECT_STREQ(a.GetGlobalString("value").c_str(), "first");
  EXPECT_STREQ(b.GetGlobalString("value").c_str(), "first");
  EXPECT_EQ(TScriptCode::Get(file.c_str()), held);
  const std::string bytes = held->GetCode();
  EXPECT_EQ(bytes[0], '\x1b');
  EXPECT_EQ(static_cast<int>(bytes.size()), held->GetLength());
  // Once no one holds it, the file is compiled again.
  held.reset();
  TScript c;
  EXPECT_TRUE(c.RunScript(file.c_str()));
  EXPECT_STREQ(c.GetGlobalString("value").c_str(), "second");
}

TEST_F(ScriptTest, BoundMembersWithEachSignature) {
  TScript script;
  TWaiter waiter(&script);
  script.DoLuaString(
      "r1 = Add('7.9', -2.5) r2 = Scale(3, 0.5) r3 = Half(-2) r4 = Negate(0) r5 = Greet('you')"
      " r6 = Greet({}) r7 = Add() Count() Count() Store('n', 4.7)");
  EXPECT_EQ(script.GetGlobalNumber("r1"), 5);  // 7 + -2
  EXPECT_EQ(script.GetGlobalNumber("r2"), 1.5);
  EXPECT_EQ(script.GetGlobalNumber("r3"), 2147483647);  // -2 as unsigned, halved
  EXPECT_STREQ(script.GetGlobalString("r5").c_str(), "hi you");
  EXPECT_STREQ(script.GetGlobalString("r6").c_str(), "hi ");
  EXPECT_EQ(script.GetGlobalNumber("r7"), 0);
  lua_State* L = script.GetState();
  lua_pushstring(L, "r4");
  lua_gettable(L, LUA_GLOBALSINDEX);
  EXPECT_EQ(lua_type(L, -1), LUA_TBOOLEAN);
  EXPECT_FALSE(script.PopBool());  // 0 is true, negated
  EXPECT_EQ(waiter.mCount, 2);
  EXPECT_EQ(waiter.mStored, "n4");
}

TEST_F(ScriptTest, BindingFallsSilentWhenItsObjectGoes) {
  TScript script;
  auto waiter = std::make_unique<TWaiter>(&script);
  script.DoLuaString("Count() keptAdd, keptCount = Add, Count");
  EXPECT_EQ(waiter->mCount, 1);
  waiter.reset();
  script.DoLuaString("result = keptAdd(1, 2) keptCount() after = Add == nil and 'unbound'");
  EXPECT_EQ(script.GetGlobalNumber("result"), 0);  // nil: the call returned nothing
  EXPECT_STREQ(script.GetGlobalString("after").c_str(), "unbound");
  EXPECT_NE(Log().find("Script called `keptAdd', whose object is gone"), std::string::npos)
      << Log();
}

TEST_F(ScriptTest, ErrorsGoThroughAlertToTheLog) {
  TScript script;
  script.DoLuaString("local t = nil t.x = 1");
  EXPECT_NE(Log().find("Lua error: [string \"local t = nil t.x = 1\"]:1: attempt to index local "
                       "`t' (a nil value)"),
            std::string::npos)
      << Log();
  script.DoLuaString("error({})");
  EXPECT_NE(Log().find("Lua error: (a table value)"), std::string::npos);
  // A compiled chunk's bytes never reach the log.
  const auto compiled = TScriptCode::Get(WriteScript("boom.lua", "error('boom')").c_str());
  ASSERT_TRUE(compiled);
  script.DoLuaString(compiled->GetCode().data(), static_cast<int>(compiled->GetCode().size()));
  EXPECT_NE(Log().find("boom"), std::string::npos) << Log();
  EXPECT_NE(Log().find("(binary chunk)"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("\x1BLua"), std::string::npos);
  const std::string fails = WriteScript("fails.lua", "error('run')");
  EXPECT_FALSE(script.RunScript(fails.c_str()));
  EXPECT_NE(Log().find("Failed to run script " + fails + ": 1"), std::string::npos) << Log();
  // A broken file reports through _ALERT; a replaced _ALERT that is not a function cannot
  // end the program.
  const std::string bad = WriteScript("bad.lua", "x = = 1");
  script.DoLuaString("_ALERT = 5");
  EXPECT_FALSE(script.RunScript(bad.c_str()));
  script.DoLuaString("error('after replacing')");
  EXPECT_NE(Log().find("DoLuaString Lua Error:"), std::string::npos);
  EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(ScriptTest, DoLuaStringCallsLuaErrorMessage) {
  TScript script;
  script.DoLuaString("function LuaErrorMessage(m) seen = m end");
  script.DoLuaString("x = ");
  EXPECT_NE(script.GetGlobalString("seen").Find("\twhen parsing"), -1);
  script.DoLuaString("error('boom', 0)");
  EXPECT_STREQ(script.GetGlobalString("seen").c_str(), "Lua Error: (a nil value)\n\twhen running");
}

TEST_F(ScriptTest, CallsWhileYieldedGoThroughGetClosureWithEveryArgument) {
  TScript script;
  TWaiter waiter(&script);
  script.DoLuaString("function Record(...) got = table.getn(arg) .. ':' .. tostring(arg[7]) end");
  script.DoLuaString("return function() Wait(10) end");
  ASSERT_TRUE(script.IsYielded());
  lua_State* L = script.GetState();
  const int top = lua_gettop(L);
  lua_pushstring(L, "Record");
  lua_gettable(L, LUA_GLOBALSINDEX);
  for (int i = 1; i <= 7; i++) lua_pushnumber(L, i);
  EXPECT_EQ(script.RunFunction(7, 0), 0);  // declined offer: the closure runs now
  lua_settop(L, top);
  EXPECT_STREQ(script.GetGlobalString("got").c_str(), "7:7");
}

TEST_F(ScriptTest, QueuedObjectsAreDeletedBeforeTheScriptRunsAgain) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString("t = {1}");
  TLuaTable* table = script.GetGlobalTable("t");
  ASSERT_NE(table, nullptr);
  table->DeleteLater();
  lua_pushlightuserdata(L, table);
  lua_rawget(L, LUA_REGISTRYINDEX);
  EXPECT_TRUE(lua_istable(L, -1));  // anchored until the next run
  lua_pop(L, 1);
  script.DoLuaString("x = 1");
  lua_pushlightuserdata(L, table);
  lua_rawget(L, LUA_REGISTRYINDEX);
  EXPECT_TRUE(lua_isnil(L, -1));
  lua_pop(L, 1);
}

TEST_F(ScriptTest, TypedTableReadsWithDefaults) {
  TScript script;
  script.DoLuaString(
      "config = { name = 'box', count = '12', three = 3, flag = 0, off = false, sub = { 5, 'six' "
      "}, f = print,"
      " tbl = {} }");
  std::unique_ptr<TLuaTable> t(script.GetGlobalTable("config"));
  ASSERT_TRUE(t);
  EXPECT_STREQ(t->GetString("name", "d").c_str(), "box");
  EXPECT_STREQ(t->GetString("three", "d").c_str(), "3");
  EXPECT_STREQ(t->GetString("missing", "d").c_str(), "d");
  EXPECT_EQ(t->GetNumber("count", 1), 12);
  EXPECT_EQ(t->GetNumber("tbl", 1), 0);
  EXPECT_EQ(t->GetNumber("missing", 1), 1);
  EXPECT_TRUE(t->GetBool("flag", false));
  EXPECT_FALSE(t->GetBool("off", true));
  EXPECT_TRUE(t->GetBool("missing", true));
  std::unique_ptr<TLuaTable> sub(t->GetTable("sub"));
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->GetNumberAt(1, 0), 5);
  EXPECT_STREQ(sub->GetStringAt(2, "").c_str(), "six");
  EXPECT_EQ(sub->GetNumberAt(3, -1), -1);
  EXPECT_EQ(t->GetTable("name"), nullptr);
  EXPECT_EQ(t->GetTableAt(1), nullptr);
  std::unique_ptr<TLuaFunction> f(t->GetFunction("f"));
  EXPECT_TRUE(f);
  EXPECT_EQ(t->GetFunction("name"), nullptr);
  // The wrapper holds the table itself: replacing the field does not change it.
  script.DoLuaString("config.sub = nil collectgarbage()");
  EXPECT_STREQ(sub->GetStringAt(2, "").c_str(), "six");
  // Traversal.
  int pairs = 0;
  TLuaObjectWrapper* key = nullptr;
  while (TLuaObjectWrapper* value = t->Next(&key)) {
    pairs++;
    delete value;
  }
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(pairs, 7);
  std::unique_ptr<TLuaTable> empty(t->GetTable("tbl"));
  EXPECT_EQ(empty->Next(&key), nullptr);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(ScriptTest, ValueOperationsAndStyles) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "gCurrentDefaultStyle = { font = 'sans', size = 12, parent = { color = { 1, 0.5, 0, 1 } } }"
      " style = { size = 20, parent = { only = 'parent' } }");
  lua_pushstring(L, "style");
  lua_gettable(L, LUA_GLOBALSINDEX);
  EXPECT_EQ(script.GetStyleNumber("size", 0), 20);
  EXPECT_STREQ(script.GetStyleString("font", "").c_str(), "sans");
  const TLuaColor c = script.GetStyleColor("color", TLuaColor{});
  EXPECT_EQ(c.g, 0.5f);
  EXPECT_EQ(c.a, 1.0f);
  EXPECT_STREQ(script.GetStyleString("only", "absent").c_str(),
               "absent");  // own parent not followed
  EXPECT_TRUE(script.GetStyleBool("missing", true));
  EXPECT_EQ(lua_gettop(L), 1);
  lua_pop(L, 1);
  // PopBool by type; a table is logged and left on the stack.
  lua_newtable(L);
  EXPECT_FALSE(script.PopBool());
  EXPECT_EQ(lua_gettop(L), 1);
  EXPECT_NE(Log().find("(type: 5)"), std::string::npos);
  lua_pushstring(L, "yes");
  EXPECT_FALSE(script.PopBool());
  EXPECT_NE(Log().find("PopBool used on lua string yes"), std::string::npos);
  lua_pushnumber(L, 2);
  EXPECT_TRUE(script.PopBool());
  EXPECT_EQ(lua_gettop(L), 1);
  lua_pushnumber(L, 9);
  lua_rawseti(L, -2, 1);
  EXPECT_TRUE(script.PushTableItem(1));
  EXPECT_EQ(script.PopNumber(), 9);
  EXPECT_FALSE(script.PushTableItem(2));
  lua_settop(L, 0);
  script.DoLuaString("font = { 'serif', 22.7, { 0, 0, 1, 0.5 } } bare = {}");
  lua_pushstring(L, "font");
  lua_gettable(L, LUA_GLOBALSINDEX);
  const TFontSpec font = script.PopFontSpec();
  EXPECT_STREQ(font.face.c_str(), "serif");
  EXPECT_EQ(font.height, 22);
  EXPECT_EQ(font.color.b, 1.0f);
  EXPECT_EQ(font.color.a, 0.5f);
  lua_pushstring(L, "bare");
  lua_gettable(L, LUA_GLOBALSINDEX);
  const TFontSpec bare = script.PopFontSpec();
  EXPECT_STREQ(bare.face.c_str(), "");
  EXPECT_EQ(bare.height, 0);
  EXPECT_EQ(TFontSpec().height, 16);
  EXPECT_EQ(lua_gettop(L), 0);
  script.SetGlobalString("greeting", "hello");
  EXPECT_STREQ(script.GetGlobalString("greeting").c_str(), "hello");
  EXPECT_STREQ(script.GetGlobalString("nothing").c_str(), "");
  EXPECT_EQ(script.GetGlobalTable("greeting"), nullptr);
}

TEST_F(ScriptTest, WrappersAnchorIndependently) {
  TScript script;
  lua_State* L = script.GetState();
  lua_pushnil(L);
  auto nothing = std::make_unique<TLuaObjectWrapper>(L);
  nothing->Push();
  EXPECT_TRUE(lua_isnil(L, -1));
  lua_pop(L, 1);
  nothing.reset();
  lua_newtable(L);
  lua_pushvalue(L, -1);
  auto first = std::make_unique<TLuaObjectWrapper>(L);
  TLuaObjectWrapper second(L);
  first.reset();
  second.Push();
  EXPECT_TRUE(lua_istable(L, -1));
  lua_pop(L, 1);
  // A function wrapper calls with _ALERT as handler: an error leaves nil as the result.
  script.DoLuaString("function ok() return 5 end function bad() error('inside') end");
  lua_pushstring(L, "ok");
  lua_gettable(L, LUA_GLOBALSINDEX);
  TLuaFunction okFn(L);
  okFn.Call();
  EXPECT_EQ(lua_tonumber(L, -1), 5);
  lua_settop(L, 0);
  lua_pushstring(L, "bad");
  lua_gettable(L, LUA_GLOBALSINDEX);
  TLuaFunction badFn(L);
  badFn.Call();
  EXPECT_TRUE(lua_isnil(L, -1));
  EXPECT_NE(Log().find(
                "Lua error: [string \"function ok() return 5 end function bad() e...\"]:1: inside"),
            std::string::npos)
      << Log();
  lua_settop(L, 0);
}

TEST_F(ScriptTest, DumpTableAndDebugOut) {
  TScript script;
  script.DoLuaString("DumpTable({}) DebugOut('quiet') DumpTable({ k = 1 })");
  EXPECT_NE(Log().find("k[string] - 1[number]"), std::string::npos) << Log();
  EXPECT_EQ(Log().find("quiet"), std::string::npos);
}

}  // namespace
