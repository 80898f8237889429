// The system pointer through a private Xlib connection, serialised by a lock.
#include "tvlib/platform/x11/TSystemPointer.h"

#include <X11/Xlib.h>

#include <mutex>

namespace {

std::mutex gLock;
Display* gDisplay = nullptr;
bool gTried = false;

}  // namespace

bool ReadSystemPointer(int* x, int* y) {
  std::lock_guard<std::mutex> lock(gLock);
  if (!gTried) {
    gTried = true;
    gDisplay = XOpenDisplay(nullptr);
  }
  if (!gDisplay) return false;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(gDisplay, DefaultRootWindow(gDisplay), &root, &child, &rootX, &rootY, &winX,
                     &winY, &mask)) {
    return false;
  }
  *x = rootX;
  *y = rootY;
  return true;
}
