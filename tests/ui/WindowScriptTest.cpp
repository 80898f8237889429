// The window script and its window-manager side: the message wait woken by its timer (on a
// paused clock) or by a command handed over as a closure, messages as script values, the
// script's attachment and label flag, and the font cache's clearing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TClock.h"
#include "tvlib/render/TVecFont.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TFontCache.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

std::string gNotes;
void Note(TString text) {
  gNotes += std::string(text.c_str()) + ";";
}

class WindowScriptTest : public testing::Test {
 protected:
  WindowScriptTest() {
    SetLogDirectory(mDir.Path().c_str());
    gNotes.clear();
    mClock.SetTime(1000);
    mScript.SetClock(&mClock);
    BindFunction(mScript.GetState(), "Note", Note);
  }
  std::string Log() const { return ReadWholeFile(GetLogPath().c_str()); }
  // Calls the global Note with `text` as engine code does; while the script is suspended the
  // call is offered to it as a closure.
  int CallNote(const char* text) {
    lua_State* L = mScript.GetState();
    lua_pushstring(L, "Note");
    lua_gettable(L, LUA_GLOBALSINDEX);
    lua_pushstring(L, text);
    return mScript.RunFunction(1, 0);
  }

  TTempDir mDir;
  TClock mClock;
  TWindowScript mScript;
};

// Waits once with a time, then without one, and runs the command it is handed.
constexpr char kWaiter[] =
    "return function()"
    "  local m, f = HandleGetMessage(100)"
    "  Note('timer ' .. tostring(m) .. ' ' .. tostring(f))"
    "  m, f = HandleGetMessage()"
    "  Note('got ' .. tostring(m) .. ' ' .. type(f))"
    "  f()"
    "  Note('end')"
    "end";

TEST_F(WindowScriptTest, WaitWakesOnTimerThenOnOfferedClosure) {
  mScript.DoLuaString(kWaiter);
  EXPECT_TRUE(mScript.IsWaitingForMessage());
  mClock.SetTime(1099);
  EXPECT_FALSE(mScript.IsReady(kTimerPhase));
  mClock.SetTime(1100);
  ASSERT_TRUE(mScript.IsReady(kTimerPhase));
  EXPECT_TRUE(mScript.Run());
  EXPECT_EQ(gNotes, "timer nil nil;");
  // Now waiting without a time: the task stays suspended until a command comes.
  EXPECT_TRUE(mScript.IsWaitingForMessage());
  EXPECT_TRUE(mScript.IsSuspended());
  mClock.SetTime(100000);
  EXPECT_FALSE(mScript.IsReady(kTimerPhase));
  EXPECT_EQ(CallNote("command"), 0);
  // The command ran inside the coroutine, between its wait and its end, and only there.
  EXPECT_EQ(gNotes, "timer nil nil;got nil function;command;end;");
  EXPECT_FALSE(mScript.IsWaitingForMessage());
  EXPECT_FALSE(mScript.IsYielded());
  EXPECT_TRUE(mScript.IsSuspended());
}

TEST_F(WindowScriptTest, WaitYieldsTheYieldResultAndEndsWhenTheTimerWakesIt) {
  mScript.DoLuaString(
      "gYieldResult = 'kept' "
      "return function()"
      "  Note(tostring(coroutine.wrap(function() return HandleGetMessage(1) end)()))"
      "  HandleGetMessage(-5)"
      "  coroutine.yield()"
      "end");
  EXPECT_EQ(gNotes, "kept;");  // a nested coroutine receives the yielded value
  EXPECT_TRUE(mScript.IsWaitingForMessage());
  ASSERT_TRUE(mScript.IsReady(kTimerPhase));  // a negative time is due at once
  EXPECT_TRUE(mScript.Run());
  // Suspended again, but in a plain yield: no message may resume it now.
  EXPECT_TRUE(mScript.IsYielded());
  EXPECT_FALSE(mScript.IsWaitingForMessage());
}

TEST_F(WindowScriptTest, FailingCoroutineTakesTheCommandOnce) {
  mScript.DoLuaString("return function() local m, f = HandleGetMessage() f() error('broken') end");
  EXPECT_EQ(CallNote("command"), 0);
  EXPECT_EQ(gNotes, "command;");  // not run again outside the coroutine
  EXPECT_NE(Log().find("lua_resume ERROR"), std::string::npos);
  EXPECT_TRUE(mScript.IsSuspended());
  // No longer suspended in a yield: the next call runs at once.
  EXPECT_EQ(CallNote("later"), 0);
  EXPECT_EQ(gNotes, "command;later;");
}

// Counts its deletions.
int gDeletedMessages = 0;
struct TCountedMessage : TMessage {
  using TMessage::TMessage;
  ~TCountedMessage() override { ++gDeletedMessages; }
};

TEST_F(WindowScriptTest, MessageCarriesTheMetatableAndGoesWithItsValue) {
  lua_State* L = mScript.GetState();
  gDeletedMessages = 0;
  auto* message = new TCountedMessage(3, "play");
  TMessage::PushMessage(L, message);
  EXPECT_EQ(lua_touserdata(L, -1), message);
  ASSERT_TRUE(lua_getmetatable(L, -1));
  lua_pushstring(L, kMessageMetatable);
  lua_gettable(L, LUA_REGISTRYINDEX);
  EXPECT_TRUE(lua_rawequal(L, -1, -2));
  lua_pop(L, 2);
  lua_pushstring(L, "m");
  lua_insert(L, -2);
  lua_settable(L, LUA_GLOBALSINDEX);
  mScript.DoLuaString("Note(m.type .. ' ' .. m.name .. ' ' .. tostring(m.target))");
  EXPECT_EQ(gNotes, "3 play nil;");
  mScript.DoLuaString("m = nil collectgarbage()");
  EXPECT_EQ(gDeletedMessages, 1);
}

TEST_F(WindowScriptTest, ToMessageGivesBackOnlyPushedMessages) {
  lua_State* L = mScript.GetState();
  auto* message = new TMessage(3, "play");
  lua_pushnil(L);
  EXPECT_EQ(TMessage::ToMessage(L, -1), nullptr);
  TMessage::PushMessage(L, message);
  EXPECT_EQ(TMessage::ToMessage(L, -1), message);
  EXPECT_EQ(TMessage::ToMessage(L, lua_gettop(L)), message);
  lua_pushboxedpointer(L, message);  // a boxed pointer without the message metatable
  EXPECT_EQ(TMessage::ToMessage(L, -1), nullptr);
  lua_newtable(L);
  EXPECT_EQ(TMessage::ToMessage(L, -1), nullptr);
  lua_pop(L, 4);
}

TEST(WindowManagerScriptTest, AttachKeepsTheScriptAndBindsItsFunctions) {
  TWindowManager manager;
  EXPECT_FALSE(manager.SetLocalizeLabels(true));  // no script: nothing to set
  auto* early = new TWindowScript();
  manager.AttachScript(early);
  EXPECT_TRUE(early->GetParents().empty());  // no modal window yet
  auto* screen = new TScreen();
  manager.SetRootWindow(screen);
  EXPECT_EQ(early->GetParents(), std::vector<TWindow*>{screen});

  auto* script = new TWindowScript();
  manager.AttachScript(script);  // the earlier one is deleted
  EXPECT_EQ(manager.GetWindowScript(), script);
  EXPECT_EQ(script->GetParents(), std::vector<TWindow*>{screen});
  EXPECT_FALSE(manager.SetLocalizeLabels(true));
  EXPECT_TRUE(script->GetLocalizeLabels());
  EXPECT_TRUE(manager.SetLocalizeLabels(false));
  EXPECT_FALSE(script->GetLocalizeLabels());
  script->DoLuaString("SetTopModalOnly(true)");
  EXPECT_TRUE(manager.mTopModalOnly);
  script->DoLuaString("SetTopModalOnly(nil)");
  EXPECT_FALSE(manager.mTopModalOnly);
}

TEST(WindowManagerScriptTest, TheScriptLeavesItsTaskListWhenThePlatformGoesFirst) {
  TTempDir dir;
  SetLogDirectory(dir.Path().c_str());
  TPlatformData data;
  auto platform = std::make_unique<TAppPlatform>(&data);
  data.windowManager->AttachScript(new TWindowScript());
  data.windowManager->AttachScript(new TWindowScript());  // the first leaves the list too
  EXPECT_EQ(data.taskList.GetCount(), 1);
  platform.reset();  // the data, its window manager and task list outlive the platform object
}

TEST(FontCacheTest, ClearingDropsTheCacheReferences) {
  TFontCache cache;
  auto held = std::make_shared<TVecFont>();
  cache["held"] = held;
  cache["cached"] = std::make_shared<TVecFont>();
  std::weak_ptr<TVecFont> cachedOnly = cache["cached"];
  ClearFontCache(&cache);
  EXPECT_TRUE(cache.empty());
  EXPECT_TRUE(cachedOnly.expired());
  EXPECT_EQ(held.use_count(), 1);  // a text run's font lives on until the run lets it go
}

}  // namespace
