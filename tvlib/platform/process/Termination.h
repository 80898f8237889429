// The system's request to end the program (SIGTERM, SIGINT), standing in for the quit
// message a session end posts on Windows: the signal only raises a flag, which the event
// pump turns into the quit message, so the program shuts down in order.
#pragma once

// Installs the handlers; later calls change nothing.
void CatchTerminationSignals();
// True once after a termination signal arrived.
bool TakeTerminationRequest();
