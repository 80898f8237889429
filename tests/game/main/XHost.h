// The test tree's host: an X window of its own on the test X server that starts a game
// inside it with "-wnd=", sends it commands over the host channel and records what the game
// sends back. Also finds and closes the game's desktop window.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/XDisplayOpen.h"
#include "tvlib/platform/x11/HostMessage.h"

// After the engine's headers: Xlib's macros would break them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// A viewable window titled `title` at or below `window`; None when absent.
inline Window FindViewableBelow(Display* display, Window window, const char* title) {
  char* name = nullptr;
  XWindowAttributes attributes;
  if (XFetchName(display, window, &name) && name) {
    bool match = std::string(name) == title;
    XFree(name);
    if (match && XGetWindowAttributes(display, window, &attributes) &&
        attributes.map_state == IsViewable)
      return window;
  }
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = None;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && found == None; ++i)
      found = FindViewableBelow(display, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

class TXHost {
 public:
  TXHost(int width, int height) : mDisplay(OpenTestDisplay()) {
    if (!mDisplay) return;
    // Windows of other clients may go while they are looked at.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    mWindow =
        XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, width, height, 0, 0, 0);
    XMapWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
  }
  ~TXHost() {
    if (!mDisplay) return;
    if (mWindow) XDestroyWindow(mDisplay, mWindow);
    XCloseDisplay(mDisplay);
  }
  TXHost(const TXHost&) = delete;
  TXHost& operator=(const TXHost&) = delete;

  bool Ok() const { return mDisplay != nullptr; }
  Display* GetDisplay() const { return mDisplay; }
  Window GetWindow() const { return mWindow; }
  // The "-wnd=" switch naming this window.
  std::string WindowSwitch() const {
    char text[32];
    std::snprintf(text, sizeof text, "-wnd=%lx", mWindow);
    return text;
  }

  // The host window's children (the game's window once it has moved in).
  std::vector<Window> Children() const {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(mDisplay, mWindow, &root, &parent, &children, &count)) {
      result.assign(children, children + count);
      XFree(children);
    }
    return result;
  }
  // The game's window: the first child; None before it moved in.
  Window Game() const {
    std::vector<Window> children = Children();
    return children.empty() ? None : children.front();
  }
  bool Send(uint32_t message, long wParam, long lParam = 0) {
    return PostHostMessage(mDisplay, Game(), {message, wParam, lParam});
  }
  // Collects what the game sent since the last call into Received().
  const std::vector<THostMessage>& Receive() {
    XSync(mDisplay, False);
    XEvent event;
    while (XCheckTypedWindowEvent(mDisplay, mWindow, ClientMessage, &event)) {
      THostMessage message;
      if (ReadHostMessage(mDisplay, event, &message)) mReceived.push_back(message);
    }
    return mReceived;
  }
  bool HasReceived(uint32_t message, long wParam, long lParam) {
    for (const THostMessage& m : Receive())
      if (m.message == message && m.wParam == wParam && m.lParam == lParam) return true;
    return false;
  }
  // Goes away as a closing web page would: the window and the game's inside it.
  void DestroyWindow() {
    XDestroyWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
    mWindow = None;
  }

  // A viewable top-level window titled `title`, searched below the root; None when absent.
  Window FindViewable(const char* title) const {
    return FindViewableBelow(mDisplay, DefaultRootWindow(mDisplay), title);
  }

 private:
  Display* mDisplay;
  Window mWindow = None;
  std::vector<THostMessage> mReceived;
};
