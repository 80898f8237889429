// The control's X window: creation, events, drawing and posts.
#include "webcontrol/TControlWindow.h"

#include <X11/Xlib.h>

#include <cstring>

#include "webcontrol/ControlLog.h"
#include "webcontrol/XConnection.h"

TControlWindow::~TControlWindow() {
  Destroy();
  CloseControlConnection(mDisplay);
}

bool TControlWindow::Create(const char* displayName, unsigned long parent, int x, int y, int width,
                            int height) {
  if (mExists || width <= 0 || height <= 0) {
    ControlLog("TControlWindow::Create: the window exists, or its size is empty");
    return false;
  }
  if (!mDisplay) {
    mDisplay = OpenControlConnection(displayName);
    if (!mDisplay) {
      ControlLog("TControlWindow::Create: cannot open the display %s",
                 displayName ? displayName : "$DISPLAY");
      return false;
    }
    mDisplayName = DisplayString(mDisplay);
    mAtom = XInternAtom(mDisplay, kHostMessageAtomName, False);
  }
  int screen = DefaultScreen(mDisplay);
  // Made under the error handler: a parent that is no window leaves an id that names nothing.
  Window window = XCreateSimpleWindow(mDisplay, parent, x, y, static_cast<unsigned>(width),
                                      static_cast<unsigned>(height), 0,
                                      BlackPixel(mDisplay, screen), WhitePixel(mDisplay, screen));
  XSelectInput(mDisplay, window, ExposureMask | StructureNotifyMask);
  XMapWindow(mDisplay, window);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, window, &attributes)) {
    ControlLog("TControlWindow::Create: %lx is no window to create the control in", parent);
    return false;
  }
  mId = window;
  mExists = true;
  return true;
}

int TControlWindow::GetConnectionNumber() const {
  return mDisplay ? ConnectionNumber(mDisplay) : -1;
}

void TControlWindow::DispatchEvents() {
  if (!mDisplay) return;
  while (XPending(mDisplay) > 0) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    if (event.xany.window != mId) continue;
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0 && mExists) Draw();
        break;
      case DestroyNotify:
        mExists = false;  // with its parent: the page has closed it
        break;
      case ClientMessage:
        if (event.xclient.message_type == mAtom && event.xclient.format == kHostMessageFormat)
          mOwner.OnHostMessage(ReadHostMessageFields(event.xclient.data.l));
        break;
      default:
        break;
    }
  }
}

void TControlWindow::Draw() {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, mId, &attributes)) return;
  int screen = DefaultScreen(mDisplay);
  GC gc = XCreateGC(mDisplay, mId, 0, nullptr);
  // A rectangle over the whole window in the default pen and brush (black and white)...
  XSetForeground(mDisplay, gc, WhitePixel(mDisplay, screen));
  XFillRectangle(mDisplay, mId, gc, 0, 0, static_cast<unsigned>(attributes.width),
                 static_cast<unsigned>(attributes.height));
  XSetForeground(mDisplay, gc, BlackPixel(mDisplay, screen));
  XDrawRectangle(mDisplay, mId, gc, 0, 0, static_cast<unsigned>(attributes.width - 1),
                 static_cast<unsigned>(attributes.height - 1));
  // ... and the line of text centred, its baseline at the middle.
  const char* text = mOwner.GetStatusText();
  int length = static_cast<int>(std::strlen(text));
  if (length > 0) {
    XFontStruct* font = XQueryFont(mDisplay, XGContextFromGC(gc));
    int textWidth = font ? XTextWidth(font, text, length) : 0;
    if (font) XFreeFontInfo(nullptr, font, 1);
    XDrawString(mDisplay, mId, gc, (attributes.width - textWidth) / 2, attributes.height / 2, text,
                length);
  }
  XFreeGC(mDisplay, gc);
  XFlush(mDisplay);
}

unsigned long TControlWindow::FindGameWindow() {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(mDisplay, mId, &root, &parent, &children, &count)) return None;
  // Children come bottom to top: the topmost, the one Windows would name first, is last.
  Window game = count > 0 ? children[count - 1] : None;
  if (children) XFree(children);
  return game;
}

void TControlWindow::PostToGame(const THostMessage& message) {
  if (!mExists) return;
  unsigned long game = FindGameWindow();
  if (game != None) Post(game, message);
}

void TControlWindow::Post(unsigned long target, const THostMessage& message) {
  if (!mDisplay) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = target;
  event.xclient.message_type = mAtom;
  event.xclient.format = kHostMessageFormat;
  WriteHostMessageFields(message, event.xclient.data.l);
  XSendEvent(mDisplay, target, False, NoEventMask, &event);
  XFlush(mDisplay);
}

void TControlWindow::Destroy() {
  if (!mExists) return;
  XDestroyWindow(mDisplay, mId);
  XFlush(mDisplay);
  mExists = false;
}
