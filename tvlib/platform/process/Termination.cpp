// The termination signal handlers, their flag, and what a forked child inherits.
#include "tvlib/platform/process/Termination.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

#include "tvlib/core/TTerminationRequest.h"

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// 0 during start-up and message boxes: a request ends the process at once.
volatile std::sig_atomic_t gDeferred = 0;
// The forking process, for its child to tell whether it is already gone.
volatile pid_t gForkParent = 0;

void SetHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

// The default action, now: only async-signal-safe calls.
void EndBySignal(int signal) {
  SetHandler(signal, SIG_DFL);
  raise(signal);
}

void OnTerminationSignal(int signal) {
  if (!gDeferred) {
    EndBySignal(signal);
    return;
  }
  NoteTerminationRequest(signal);
}

void BeforeFork() {
  gForkParent = getpid();
}

void InForkedChild() {
  for (int signal : kSignals) SetHandler(signal, SIG_DFL);
  TakeTerminationRequest();
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != gForkParent) _exit(1);  // the parent ended before the line above
}

}  // namespace

void CatchTerminationSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  pthread_atfork(BeforeFork, nullptr, InForkedChild);
  for (int signal : kSignals) SetHandler(signal, OnTerminationSignal);
}

void DeferTerminationSignals() {
  gDeferred = 1;
}

TImmediateTermination::TImmediateTermination() : mWasDeferred(gDeferred) {
  gDeferred = 0;
  if (const int signal = PendingTerminationRequest()) EndBySignal(signal);
}

TImmediateTermination::~TImmediateTermination() {
  gDeferred = mWasDeferred;
}
