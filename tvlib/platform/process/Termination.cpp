// The termination signal handlers and their flag.
#include "tvlib/platform/process/Termination.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t gTerminationRequested = 0;

void OnTerminationSignal(int) {
  gTerminationRequested = 1;
}

}  // namespace

void CatchTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool TakeTerminationRequest() {
  if (!gTerminationRequested) return false;
  gTerminationRequested = 0;
  return true;
}
