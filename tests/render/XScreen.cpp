// Xlib access for the real-window tests.
#include "tests/render/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Display* gDisplay = nullptr;

}  // namespace

bool XScreenOpen() {
  if (!gDisplay) gDisplay = XOpenDisplay(nullptr);
  return gDisplay != nullptr;
}

void XScreenClose() {
  if (gDisplay) XCloseDisplay(gDisplay);
  gDisplay = nullptr;
}

uint32_t XScreenPixel(int x, int y) {
  XImage* image = XGetImage(gDisplay, DefaultRootWindow(gDisplay), x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0xDEADBEEF;
  uint32_t value = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
  XDestroyImage(image);
  return value;
}

std::vector<uint32_t> XScreenGrab(int x, int y, int width, int height) {
  XImage* image =
      XGetImage(gDisplay, DefaultRootWindow(gDisplay), x, y, static_cast<unsigned>(width),
                static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) return {};
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      pixels.push_back(0xFF000000u |
                       (static_cast<uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFFu));
    }
  }
  XDestroyImage(image);
  return pixels;
}

void XScreenMovePointer(int x, int y) {
  XWarpPointer(gDisplay, None, DefaultRootWindow(gDisplay), 0, 0, 0, 0, x, y);
  XSync(gDisplay, False);
}
