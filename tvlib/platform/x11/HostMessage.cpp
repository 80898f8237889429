// Packing, sending and reading the host channel's X client messages.
#include "tvlib/platform/x11/HostMessage.h"

#include <X11/Xlib.h>

#include "tvlib/platform/x11/XErrorTrap.h"

TXAtom GetHostMessageAtom(TXDisplay* display) {
  return XInternAtom(display, kHostMessageAtomName, False);
}

bool PostHostMessage(TXDisplay* display, TXWindow target, const THostMessage& message) {
  if (!display || target == None) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = target;
  event.xclient.message_type = GetHostMessageAtom(display);
  event.xclient.format = kHostMessageFormat;
  WriteHostMessageFields(message, event.xclient.data.l);
  TXErrorTrap trap(display);
  Status sent = XSendEvent(display, target, False, NoEventMask, &event);
  return sent != 0 && trap.Succeeded();
}

bool ReadHostMessage(TXDisplay* display, const XEvent& event, THostMessage* message) {
  if (event.type != ClientMessage || event.xclient.format != kHostMessageFormat ||
      event.xclient.message_type != GetHostMessageAtom(display))
    return false;
  *message = ReadHostMessageFields(event.xclient.data.l);
  return true;
}

bool IsHostWindow(TXDisplay* display, TXWindow window) {
  if (!display || window == None) return false;
  // A screen's root window is no host: the game would cover the whole desktop.
  for (int screen = 0; screen < ScreenCount(display); screen++)
    if (window == RootWindow(display, screen)) return false;
  TXErrorTrap trap(display);
  XWindowAttributes attributes;
  Status found = XGetWindowAttributes(display, window, &attributes);
  return trap.Succeeded() && found != 0;
}

namespace {

// A short-lived connection to the default display, closed when it goes out of scope.
class TOwnDisplay {
 public:
  TOwnDisplay() : mDisplay(XOpenDisplay(nullptr)) {}
  ~TOwnDisplay() {
    if (mDisplay) XCloseDisplay(mDisplay);
  }
  TOwnDisplay(const TOwnDisplay&) = delete;
  TOwnDisplay& operator=(const TOwnDisplay&) = delete;
  TXDisplay* Get() const { return mDisplay; }

 private:
  TXDisplay* mDisplay;
};

}  // namespace

bool IsHostWindowOnDisplay(TXWindow window) {
  TOwnDisplay display;
  return display.Get() && IsHostWindow(display.Get(), window);
}

bool PostHostMessageOnDisplay(TXWindow target, const THostMessage& message) {
  TOwnDisplay display;
  return display.Get() && PostHostMessage(display.Get(), target, message);
}
