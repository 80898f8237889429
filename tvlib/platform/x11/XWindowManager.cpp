// The window manager's offer, read from the root window.
#include "tvlib/platform/x11/XWindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

TXWindowManager QueryXWindowManager(TXDisplay* display) {
  if (!display) return TXWindowManager::kNone;
  const Window root = DefaultRootWindow(display);
  // A window manager is the one client that redirects the root window's children.
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, root, &attributes) ||
      !(attributes.all_event_masks & SubstructureRedirectMask)) {
    return TXWindowManager::kNone;
  }
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
  const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  TXWindowManager result = TXWindowManager::kOther;
  if (XGetWindowProperty(display, root, supported, 0, 4096, False, XA_ATOM, &type, &format, &count,
                         &after, &data) == Success &&
      data && type == XA_ATOM && format == 32) {
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i)
      if (atoms[i] == fullScreen) result = TXWindowManager::kFullScreen;
  }
  if (data) XFree(data);
  return result;
}
