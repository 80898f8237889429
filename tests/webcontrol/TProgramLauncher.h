// A launcher for tests: starts a given program as the game, "<program> -wnd=<control window>"
// with the control's environment, and waits for it as the control's launcher waits for the
// game (a look every 100 ms). Optionally it first waits for a gate the test opens, so that a
// test sees the control before the start. A program still running after a minute is killed,
// so that a failing test ends.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <thread>

#include "webcontrol/TLauncher.h"

extern char** environ;

class TProgramLauncher final : public TLauncher {
 public:
  explicit TProgramLauncher(std::string program, std::shared_future<void> gate = {})
      : mProgram(std::move(program)), mGate(std::move(gate)) {}

  void Run(TLaunchSite& site) override {
    if (mGate.valid()) mGate.wait();
    ++mRuns;
    if (!site.ControlWindowExists()) return;
    char window[32];
    std::snprintf(window, sizeof window, "-wnd=%lx", site.GetControlWindow());
    char* argv[] = {mProgram.data(), window, nullptr};
    pid_t pid = 0;
    bool started = posix_spawn(&pid, mProgram.c_str(), nullptr, nullptr, argv, environ) == 0;
    if (started) site.SetGameStarted();
    site.RequestRepaint();
    if (!started) return;
    int status = 0;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 100) {
      if (waited > kLimitMs) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }

  int GetRuns() const { return mRuns; }

 private:
  static constexpr int kLimitMs = 60000;

  std::string mProgram;
  std::shared_future<void> mGate;
  std::atomic<int> mRuns{0};
};
