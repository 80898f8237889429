// Layout scripts under their limits: a script that loops or grows without end is stopped with
// a logged error and the screen it was building goes; a dialog's layout the same; and a
// termination request ends a script that runs on, so the program can end.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "tests/ui/WindowScriptFixture.h"
#include "tvlib/platform/process/Termination.h"
#include "tvlib/script/TScriptLimits.h"
#include "tvlib/ui/TModalWindow.h"

namespace {

class ScriptLimitsTest : public WindowScriptFixture {
 protected:
  // A window script whose state has a small budget, so that the tests reach it quickly.
  void UseBudget(const TScriptBudget& budget) {
    SetAssetScriptBudgetForTests(budget);
    mScript = new TWindowScript;
    Manager().AttachScript(mScript);
    SetAssetScriptBudgetForTests(std::nullopt);
    BindFunction(L(), "Note", NoteFromScript);
  }
};

struct TRunaway {
  const char* script;
  const char* logged;
};

TEST_F(ScriptLimitsTest, ARunawayLayoutIsStoppedAndItsScreenDropped) {
  UseBudget({2'000'000, 8u << 20});
  const TRunaway runaways[] = {
      {"CreateWindow{ name = 'half' } while true do end", "instruction limit reached"},
      // Catching the error changes nothing: every further instruction stops it again.
      {"while true do pcall(function() while true do end end) end", "instruction limit reached"},
      {"local t = {} local i = 0 while true do i = i + 1 t[i] = string.rep('x', 1000) .. i end",
       "Script stopped: it needed more than"},
      // Out of memory, caught, and then a loop: the instruction bound still ends it.
      {"pcall(function() local t = {} local i = 0 while true do i = i + 1 "
       "t[i] = string.rep('x', 1000) .. i end end) while true do end",
       "instruction limit reached"},
  };
  for (const TRunaway& runaway : runaways) {
    WriteAsset("scripts/runaway.lua", runaway.script);
    auto* screen = new TModalWindow;
    Manager().PushModal(screen);
    EXPECT_FALSE(Manager().RunWindowScript(screen, "scripts/runaway.lua"));
    EXPECT_NE(mScript->GetStop(), TScriptStop::kNone);
    EXPECT_EQ(Manager().GetTopModal(), mRoot) << runaway.script;
    EXPECT_NE(Log().find(runaway.logged), std::string::npos) << runaway.script;
    EXPECT_NE(Log().find("its screen is dropped"), std::string::npos);
    Tick();
  }
  // The script goes on serving the screens that keep to the budget.
  Run("Note(string.rep('y', 3))");
  EXPECT_EQ(Notes(), "yyy;");
}

TEST_F(ScriptLimitsTest, ARunawayDialogLayoutDropsTheDialog) {
  UseBudget({2'000'000, 8u << 20});
  WriteAsset("scripts/dialog.lua", "while true do end");
  Manager().PushDialog("scripts/dialog.lua", "body", "title", "dialog");
  EXPECT_EQ(Manager().GetTopModal(), mRoot);
  EXPECT_NE(Log().find("its screen is dropped"), std::string::npos);
}

// A script with no instruction bound that never ends: a termination request stops it, and the
// request is still there for the event pump, which ends the program in order.
TEST_F(ScriptLimitsTest, ATerminationRequestEndsALoopingLayout) {
  UseBudget({0, 0});
  WriteAsset("scripts/forever.lua", "Note('running') while true do end");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    close(ready[0]);
    CatchTerminationSignals();
    DeferTerminationSignals();
    static int sReady = -1;
    sReady = ready[1];
    BindFunction(
        L(), "Note", +[](TString) {
          const char byte = 1;
          (void)!write(sReady, &byte, 1);
        });
    const bool ran = Manager().RunWindowScript(mRoot, "scripts/forever.lua");
    const bool stopped = mScript->GetStop() == TScriptStop::kTermination;
    _exit(!ran && stopped && TakeTerminationRequest() ? 0 : 1);
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);  // the script runs
  close(ready[0]);
  kill(pid, SIGTERM);
  int status = 0;
  pid_t ended = 0;
  for (int waited = 0; waited < 1000 && ended == 0; ++waited) {
    ended = waitpid(pid, &status, WNOHANG);
    if (ended == 0) usleep(10000);
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the script kept running after the termination request";
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
