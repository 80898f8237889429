// Termination signals: they end the process at once during start-up and inside message boxes,
// become the pump's request once deferred, and a forked child gets the default handlers back
// and the order to end with its parent. Each case runs in a child process of its own.
#include "tvlib/platform/process/Termination.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "tvlib/platform/dialog/TMessageBox.h"

namespace {

// Runs `body` in a forked child with the handlers installed; answers its wait status.
int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    CatchTerminationSignals();
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

bool EndedBy(int status, int signal) {
  return WIFSIGNALED(status) && WTERMSIG(status) == signal;
}

int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Termination, EndsTheProcessDuringStartUp) {
  EXPECT_TRUE(EndedBy(InChild([] {
                        raise(SIGTERM);
                        return 0;
                      }),
                      SIGTERM));
}

TEST(Termination, OnceDeferredBecomesTheRequest) {
  EXPECT_EQ(ExitCode(InChild([] {
              DeferTerminationSignals();
              raise(SIGTERM);
              return TakeTerminationRequest() && !TakeTerminationRequest() ? 7 : 1;
            })),
            7);
}

TEST(Termination, EndsTheProcessInsideAMessageBox) {
  // The box appears while the game runs; the signal arrives while it waits.
  EXPECT_TRUE(EndedBy(InChild([] {
                        DeferTerminationSignals();
                        SetMessageBoxHook(
                            [](const char*, const char*, uint32_t) { raise(SIGTERM); });
                        ShowMessageBox("text", "caption", kMbOk);
                        return 0;
                      }),
                      SIGTERM));
  // A request that came before the box is not left waiting behind it.
  EXPECT_TRUE(EndedBy(InChild([] {
                        DeferTerminationSignals();
                        raise(SIGINT);
                        SetMessageBoxHook([](const char*, const char*, uint32_t) {});
                        ShowMessageBox("text", "caption", kMbOk);
                        return 0;
                      }),
                      SIGINT));
}

TEST(Termination, AForkedChildHasDefaultHandlersAndEndsWithItsParent) {
  EXPECT_EQ(ExitCode(InChild([] {
              DeferTerminationSignals();
              const pid_t helper = fork();
              if (helper == 0) {
                struct sigaction action {};
                sigaction(SIGTERM, nullptr, &action);
                int deathSignal = 0;
                prctl(PR_GET_PDEATHSIG, &deathSignal);
                _exit(action.sa_handler == SIG_DFL && deathSignal == SIGTERM ? 5 : 1);
              }
              int status = 0;
              waitpid(helper, &status, 0);
              return ExitCode(status);
            })),
            5);
}

}  // namespace
