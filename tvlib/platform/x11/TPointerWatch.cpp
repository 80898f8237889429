// The pointer watch: a private Xlib connection selecting raw motion on the root window (or the
// window's core motion, enter and leave events), and an event descriptor that ends a wait
// early.
#include "tvlib/platform/x11/TPointerWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

TPointerWatch::TPointerWatch(uint64_t window) {
  if (window == 0) return;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return;
  int event = 0, error = 0, major = 2, minor = 2;  // from 2.1 raw events ignore grabs
  if (XQueryExtension(mDisplay, "XInputExtension", &mInputOpcode, &event, &error) &&
      XIQueryVersion(mDisplay, &major, &minor) == Success) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawMotion);
    XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
    XISelectEvents(mDisplay, DefaultRootWindow(mDisplay), &mask, 1);
  } else {
    mInputOpcode = -1;
    XSelectInput(mDisplay, static_cast<Window>(window),
                 PointerMotionMask | EnterWindowMask | LeaveWindowMask);
  }
  XFlush(mDisplay);
  mWakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

TPointerWatch::~TPointerWatch() {
  if (mWakeFd >= 0) close(mWakeFd);
  if (mDisplay) XCloseDisplay(mDisplay);
}

bool TPointerWatch::Wait(int timeoutMs) {
  if (!Ok()) return false;
  for (;;) {
    // Events already read from the connection first: poll sees only what is still unread.
    bool moved = false;
    while (XPending(mDisplay) > 0) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      moved = moved || event.type == MotionNotify || event.type == EnterNotify ||
              event.type == LeaveNotify ||
              (event.xcookie.type == GenericEvent && event.xcookie.extension == mInputOpcode);
    }
    if (moved) return true;
    pollfd fds[2] = {{ConnectionNumber(mDisplay), POLLIN, 0}, {mWakeFd, POLLIN, 0}};
    const int ready = poll(fds, 2, timeoutMs);
    if (ready == 0) return false;
    if (ready < 0) continue;  // a signal: look again
    if (fds[1].revents & POLLIN) {
      uint64_t count = 0;
      [[maybe_unused]] ssize_t got = read(mWakeFd, &count, sizeof count);
      return false;
    }
    if (fds[0].revents & (POLLERR | POLLHUP)) {
      // The server went away: no more events, so callers go back to asking.
      XCloseDisplay(mDisplay);
      mDisplay = nullptr;
      return false;
    }
  }
}

void TPointerWatch::Wake() {
  if (mWakeFd < 0) return;
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t put = write(mWakeFd, &one, sizeof one);
}
