// Opens the test X server for a test that needs it. A busy server may refuse a connection for
// a moment, so it is asked again for a few seconds; null only when it never answers (a failure
// of the test, not a reason to skip it) or when there is no display at all.
#pragma once

#include <unistd.h>

#include <cstdlib>

#include <X11/Xlib.h>

inline Display* OpenTestDisplay(const char* name = nullptr) {
  if (!name && !std::getenv("DISPLAY")) return nullptr;
  for (int i = 0; i < 50; ++i) {
    if (Display* display = XOpenDisplay(name)) return display;
    usleep(100 * 1000);
  }
  return nullptr;
}
