// The X server's screen and pointer for the real-window tests, behind plain functions so that
// Xlib's macros stay out of the test sources.
#pragma once

#include <cstdint>
#include <vector>

// Opens the connection once; false without an X display.
bool XScreenOpen();
void XScreenClose();
// The colour shown at a desktop position, as 0xRRGGBB.
uint32_t XScreenPixel(int x, int y);
// The desktop's pixels in a rectangle, row by row, as 0xFFRRGGBB (empty when it fails).
std::vector<uint32_t> XScreenGrab(int x, int y, int width, int height);
// Moves the pointer to a desktop position and waits until the server has done it.
void XScreenMovePointer(int x, int y);
