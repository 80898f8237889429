// Starts a program for a test and waits for it: its own environment additions, working
// folder and output file; a time limit after which it is killed.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class TChildProcess {
 public:
  using TEnvironment = std::vector<std::pair<std::string, std::string>>;

  // Starts argv[0] with stdout and stderr going to `outputPath`; with `withInput`, its
  // standard input is a pipe that WriteInput feeds.
  TChildProcess(const std::vector<std::string>& argv, const TEnvironment& environment,
                const std::string& workingFolder, const std::string& outputPath,
                bool withInput = false) {
    int input[2] = {-1, -1};
    if (withInput && pipe2(input, O_CLOEXEC) != 0) return;  // no other child inherits it
    mPid = fork();
    if (mPid != 0) {
      if (withInput) close(input[0]);
      mInput = input[1];
      return;
    }
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || chdir(workingFolder.c_str()) != 0) _exit(127);
    dup2(out, 1);
    dup2(out, 2);
    if (withInput) dup2(input[0], 0);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  ~TChildProcess() {
    CloseInput();
    if (mPid > 0 && !mDone) {
      kill(mPid, SIGKILL);
      waitpid(mPid, nullptr, 0);
    }
  }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // The exit status; -1 when the program was still running after `limitMs` (it is then
  // killed) or ended by a signal.
  int Wait(int limitMs = 20000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    int status = 0;
    while (waitpid(mPid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    mDone = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Signal(int signal) { kill(mPid, signal); }
  bool WriteInput(const std::string& text) {
    return mInput >= 0 &&
           write(mInput, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }
  // Ends the program's input.
  void CloseInput() {
    if (mInput >= 0) close(mInput);
    mInput = -1;
  }

 private:
  pid_t mPid = -1;
  bool mDone = false;
  int mInput = -1;  // the write end of the program's input pipe
};

// Polls `condition` every 20 ms for up to `limitMs`; answers its last value.
template <typename F>
bool WaitFor(F condition, int limitMs = 20000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
