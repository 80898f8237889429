// Opening and closing the control's X connections under its error handler.
#include "webcontrol/XConnection.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

std::mutex gMutex;
std::vector<Display*> gConnections;  // the control connections that are open
XErrorHandler gReplaced = nullptr;   // the handler before ours, while ours is installed

int OnXError(Display* display, XErrorEvent* error) {
  XErrorHandler passOn = nullptr;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    if (std::find(gConnections.begin(), gConnections.end(), display) != gConnections.end())
      return 0;
    passOn = gReplaced;
  }
  return passOn ? passOn(display, error) : 0;
}

}  // namespace

Display* OpenControlConnection(const char* name) {
  Display* display = XOpenDisplay(name);
  if (!display) return nullptr;
  std::lock_guard<std::mutex> lock(gMutex);
  if (gConnections.empty()) gReplaced = XSetErrorHandler(OnXError);
  gConnections.push_back(display);
  return display;
}

void CloseControlConnection(Display* display) {
  if (!display) return;
  XSync(display, False);  // the errors of every request so far arrive while it is still ours
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gConnections.erase(std::remove(gConnections.begin(), gConnections.end(), display),
                       gConnections.end());
    if (gConnections.empty()) {
      XErrorHandler current = XSetErrorHandler(gReplaced);
      if (current != OnXError) XSetErrorHandler(current);  // the host's own since: keep it
      gReplaced = nullptr;
    }
  }
  // Unlisted first: a connection opened meanwhile may be given the same address.
  XCloseDisplay(display);
}
