// A window script's message loop driven by engine events: delivery in each wait state, the
// queues served newest first, modal dialogs and their close messages, Pause, FlushMessages,
// messages a script posts coming back as the same value, a button's Lua action reaching the
// command queue, the library's small helpers and the movie window that never plays.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/RecordingWindow.h"
#include "tests/ui/WindowScriptFixture.h"
#include "tvlib/ui/TButton.h"

namespace {

class ScriptMessageLoopTest : public WindowScriptFixture {
 protected:
  double Number(const char* expression) {
    Run((std::string("gValue = ") + expression).c_str());
    return mScript->GetGlobalNumber("gValue");
  }
};

// Counts its deletions.
int gCountedDeleted = 0;
struct TCountedMessage : TMessage {
  TCountedMessage(int type, const char* name) : TMessage(type, name) {}
  ~TCountedMessage() override { ++gCountedDeleted; }
};

TEST_F(ScriptMessageLoopTest, DeliveryInEachWaitState) {
  gCountedDeleted = 0;
  // Not started: queued, newest served first.
  EXPECT_TRUE(mScript->QueueMessageToLua(new TMessage(3, "first"), nullptr));
  EXPECT_TRUE(mScript->QueueMessageToLua(new TMessage(3, "second"), nullptr));
  Run("return function()"
      "  Note(WaitForMessage().name) Note(WaitForMessage().name)"
      "  local m = WaitForMessage() Note(m.type .. ':' .. m.name)"
      "  m = WaitForMessage(5) Note(tostring(m))"
      "  Yield() Note('never')"
      "end");
  EXPECT_EQ(Notes(), "second;first;");
  // Waiting in HandleGetMessage: resumed with the message.
  EXPECT_TRUE(mScript->IsWaitingForMessage());
  EXPECT_TRUE(mScript->QueueMessageToLua(new TMessage(4, "raw:65"), nullptr));
  EXPECT_EQ(Notes(), "second;first;4:raw:65;");
  // A timed wait ends with nothing when its time is up.
  Tick(4);
  EXPECT_EQ(Notes(), "second;first;4:raw:65;");
  Tick(1);
  EXPECT_EQ(Notes(), "second;first;4:raw:65;nil;");
  // A plain yield: the message is refused (the window manager deletes it), a command given
  // with it runs at once.
  ASSERT_TRUE(mScript->IsYielded());
  Run("gCommand = function() Note('command') end");
  lua_pushstring(L(), "gCommand");
  lua_gettable(L(), LUA_GLOBALSINDEX);
  TLuaObjectWrapper command(L());
  auto* refused = new TCountedMessage(3, "lost");
  EXPECT_FALSE(mScript->QueueMessageToLua(refused, &command));
  delete refused;
  Manager().PostToScript(new TCountedMessage(3, "lost"), &command);
  EXPECT_EQ(gCountedDeleted, 2);
  EXPECT_EQ(Notes(), "second;first;4:raw:65;nil;command;command;");
  Run("Note(table.getn(gMessageQueue) .. ' ' .. table.getn(gCommandQueue))");
  EXPECT_EQ(Notes(), "second;first;4:raw:65;nil;command;command;0 0;");
}

TEST_F(ScriptMessageLoopTest, AButtonsLuaActionReachesTheCommandQueue) {
  Run("MakeDialog{ Button{ name = 'go', x = 0, y = 0, w = 20, h = 10,"
      "  command = function() Note('go pressed') return 'result' end } }");
  TButton* button = TButton::CastToButton(Find("go"));
  ASSERT_NE(button, nullptr);
  button->Fire();
  Manager().DrainQueue();
  // The script was busy: the message and the command wait in their queues.
  Run("Note(table.getn(gMessageQueue) .. ' ' .. table.getn(gCommandQueue))"
      "Note(gMessageQueue[1].type .. ' ' .. gMessageQueue[1].name)"
      "Note(gMessageQueue[2].type .. ' ' .. gMessageQueue[2].name)");
  EXPECT_EQ(Notes(), "2 1;8 LuaAction:go;3 go;");
  // Queued messages are served newest first; the queued command runs once a wait ends.
  Run("return function() Note(WaitForMessage().type) Note(WaitForMessage().type)"
      "  local m = WaitForMessage(10)"
      "  Note(tostring(m) .. ' ' .. tostring(gYieldResult) .. ' ' .. table.getn(gCommandQueue))"
      "end");
  Tick(10);
  EXPECT_EQ(Notes(), "2 1;8 LuaAction:go;3 go;3;8;go pressed;nil result 0;");
  // While the script waits, the command comes with its message and runs in the script.
  Run("return function() local m = WaitForMessage() Note(m.name .. ' ' .. gYieldResult) end");
  button->Fire();
  Manager().DrainQueue();
  EXPECT_EQ(Notes(),
            "2 1;8 LuaAction:go;3 go;3;8;go pressed;nil result 0;go pressed;LuaAction:go result;");
}

TEST_F(ScriptMessageLoopTest, PostedMessagesComeBackAsTheSameValue) {
  // The windows on the way see ordinary messages.
  std::vector<std::string> seen;
  auto* focus = new TRecWindow("focus", &seen);
  mRoot->AddChild(focus, false);
  Manager().SetFocus(focus);
  Run("gNative = CreateNamedMessage('hello', 3) PostMessage(gNative)"
      "gTable = { type = 7, name = 'edit' } PostMessage(gTable)");
  Manager().DrainQueue();
  EXPECT_EQ(seen, (std::vector<std::string>{"focus:focus", "msg3:hello:focus", "msg7:edit:focus"}));
  // Nobody took them: the script finds the very values it posted.
  Run("Note(table.getn(gMessageQueue))"
      "Note(tostring(gMessageQueue[1] == gNative) .. ' ' .. tostring(gMessageQueue[2] == gTable))");
  EXPECT_EQ(Notes(), "2;true true;");
}

TEST_F(ScriptMessageLoopTest, DoModalWaitsForItsDialogAndReturnsItsValue) {
  WriteAsset("ask.lua",
             "MakeDialog{ Window{ name = 'frame', x = 0, y = 0, w = 100, h = 50,"
             "  Button{ name = 'yes', close = true, x = 0, y = 0, w = 20, h = 10 } } }");
  Run("return function() Note(tostring(DoModal('ask.lua'))) Note(tostring(gReturnValue)) end");
  ASSERT_EQ(Manager().GetModalStack().size(), 2u);
  EXPECT_STREQ(Manager().GetTopModal()->GetName().c_str(), "ask.lua");
  TButton* yes = TButton::CastToButton(Manager().GetTopModal()->FindChild("yes", -1));
  ASSERT_NE(yes, nullptr);
  yes->Fire();
  Tick();
  EXPECT_EQ(Manager().GetModalStack().size(), 1u);
  EXPECT_EQ(Notes(), "yes;nil;");
}

TEST_F(ScriptMessageLoopTest, DisplayDialogPublishesItsTableAndRefusesAnEmptyScript) {
  WriteAsset("note.lua", "Note(gDialogTable.greeting) PopModal('done')");
  Run("return function()"
      "  Note(tostring(DisplayDialog{ '' })) Note(tostring(DisplayDialog{}))"
      "  Note(DisplayDialog{ 'note.lua', greeting = 'hi' }) end");
  Tick();
  EXPECT_EQ(Notes(), "nil;nil;hi;done;");
  EXPECT_EQ(Manager().GetModalStack().size(), 1u);
}

TEST_F(ScriptMessageLoopTest, CloseMessagesOutOfOrderAreKeptForTheirWait) {
  Run("return function()"
      "  WaitForCloseMessage('inner') Note('inner closed')"
      "  WaitForCloseMessage('outer') Note('outer closed')"
      "  Note(tostring(gClosedWindows.outer))"
      "end");
  Send(kMessageModalClosed, "outer");
  EXPECT_EQ(Notes(), "");
  Send(kMessageClick, "noise");
  EXPECT_EQ(Notes(), "");
  Send(kMessageModalClosed, "inner");
  EXPECT_EQ(Notes(), "inner closed;outer closed;nil;");
}

TEST_F(ScriptMessageLoopTest, PauseEndsOnAnyKeyAndKeepsOtherMessages) {
  Run("return function() local t = GetTimer() Pause(500, true)"
      "  Note('paused ' .. (GetTimer() - t)) Pause(300) Note('waited ' .. (GetTimer() - t))"
      "  Note(table.getn(gMessageQueue) .. ' ' .. WaitForMessage().name) end");
  Tick(100);
  Send(kMessageClick, "kept");
  Tick(100);
  EXPECT_EQ(Notes(), "");
  Send(kMessageRawInput, "raw:32");
  EXPECT_EQ(Notes(), "paused 200;");
  Send(kMessageRawInput, "raw:13");  // without anyKey a key is kept like the rest
  Tick(299);
  EXPECT_EQ(Notes(), "paused 200;");
  Tick(1);
  EXPECT_EQ(Notes(), "paused 200;waited 500;2 raw:13;");
}

TEST_F(ScriptMessageLoopTest, FlushMessagesEmptiesBothQueues) {
  Send(kMessageClick, "old");
  Run("table.insert(gCommandQueue, function() Note('stale') end)"
      "return function() FlushMessages() Note('flushed ' .. table.getn(gMessageQueue) .. ' ' .."
      "  table.getn(gCommandQueue)) Note(WaitForMessage().name) end");
  Send(kMessageClick, "during");  // taken by the flush's own wait
  EXPECT_EQ(Notes(), "");
  Tick(1);
  EXPECT_EQ(Notes(), "flushed 0 0;");
  Send(kMessageClick, "new");
  EXPECT_EQ(Notes(), "flushed 0 0;new;");
}

TEST_F(ScriptMessageLoopTest, ColoursAndDistributions) {
  Run("gDialogWidth = 400 gDialogHeight = 90"
      "local c = Color(255, 0, 0) local a = Color(0, 0, 0, 128)"
      "local x = DistributeX(3) local y = DistributeY(2)"
      "Note(c[1] .. ' ' .. c[2] .. ' ' .. c[4] .. ' ' .. string.format('%.4f', a[4]))"
      "Note(x[1] .. ' ' .. x[2] .. ' ' .. x[3] .. ' ' .. table.getn(x) .. ' ' .. divisor)"
      "Note(y[1] .. ' ' .. y[2] .. ' ' .. table.getn(y))");
  EXPECT_EQ(Notes(), "1 0 1 0.5020;100 200 300 3 4;30 60 2;");
  EXPECT_EQ(Number("kCenter + kMax + kDefault + kAllLayers"), 80000 + 160000 + 128 - 1);
  EXPECT_EQ(Number("kPushButtonAlignment + kRadioButtonAlignment * 10"), 5 + 40);
  EXPECT_EQ(Number("kModalClosed + gCurID"), 106);
}

TEST_F(ScriptMessageLoopTest, MoviesNeverPlayAndTheSplashFallsBackToItsImage) {
  Run("Note(tostring(StartMovie('intro.swf')) .. ' ' .. tostring(IsMoviePlaying()))"
      "Note(tostring(StartMovie(''))) StopMovie()");
  EXPECT_EQ(Notes(), "false false;false;");
  EXPECT_NE(Log().find("movie playback not available"), std::string::npos);
  EXPECT_FALSE(Manager().mDrawingDisabled);
  // No movie and an image that does not load: the splash gives up after its two pauses.
  Run("return function() DisplaySplash('intro.swf', 'missing.png', 5000) Note('splash over') end");
  EXPECT_EQ(Manager().GetModalStack().size(), 2u);
  Tick(50);
  EXPECT_EQ(Notes(), "false false;false;");
  Tick(50);
  EXPECT_EQ(Notes(), "false false;false;splash over;");
  EXPECT_EQ(Manager().GetModalStack().size(), 1u);
}

}  // namespace
