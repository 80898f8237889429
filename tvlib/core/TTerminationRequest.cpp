// The termination request's flag, written by a signal handler.
#include "tvlib/core/TTerminationRequest.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t gTerminationRequested = 0;

}  // namespace

void NoteTerminationRequest(int signal) {
  gTerminationRequested = signal;
}

int PendingTerminationRequest() {
  return gTerminationRequested;
}

bool TakeTerminationRequest() {
  if (!gTerminationRequested) return false;
  gTerminationRequested = 0;
  return true;
}
