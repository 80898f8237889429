// The system's request to end the program, as the platform's signal handler notes it: the
// event pump turns it into the quit message, and a script running long looks at it between
// its instructions, so that no script keeps the program from ending.
#pragma once

// Notes the request (the signal's number); safe in a signal handler.
void NoteTerminationRequest(int signal);
// The signal of a request not yet taken, or 0.
int PendingTerminationRequest();
// Takes the request: true once after one was noted.
bool TakeTerminationRequest();
