// Where the system pointer is on the desktop, readable from any thread.
//
// Reads the X server's pointer through a private connection of its own (never through SDL, so
// the cursor thread may ask while the main thread pumps SDL events). Without an X display the
// answer is false.
#pragma once

// Desktop pixels; false when no display can be asked.
bool ReadSystemPointer(int* x, int* y);
