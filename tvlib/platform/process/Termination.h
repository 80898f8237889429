// The system's request to end the program (SIGTERM, SIGINT), standing in for the quit
// message a session end posts on Windows.
//
// Until start-up hands over to the game, and while a message box waits for the player, nothing
// would look at a request, so the signal ends the process at once (its default action). Once
// deferred, the signal only raises a flag, which the event pump turns into the quit message, so
// the program shuts down in order. A child the process forks (a dialog helper, say) gets the
// default handlers back and is ended when the process ends.
#pragma once

#include "tvlib/core/TTerminationRequest.h"

// Installs the handlers (requests end the process at once); later calls change nothing.
void CatchTerminationSignals();
// From now on a request waits for the event pump (TTerminationRequest.h takes it).
void DeferTerminationSignals();

// While one lives, requests end the process at once; one already waiting does so on creation.
class TImmediateTermination {
 public:
  TImmediateTermination();
  ~TImmediateTermination();
  TImmediateTermination(const TImmediateTermination&) = delete;
  TImmediateTermination& operator=(const TImmediateTermination&) = delete;

 private:
  int mWasDeferred;
};
