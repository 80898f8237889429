// Pointer moves as events on a private connection, so that a thread can sleep until the
// pointer moves instead of asking the server for it at a fixed pace.
//
// The moves are the X input extension's raw motion, which every client asking gets even while
// another holds the pointer grabbed (as the window's own client does while a button is down
// over it, a drag); without the extension, the core motion, enter and leave events of the
// window, which a grab keeps from us. Wait is for one thread at a time; Wake may be called
// from any thread.
#pragma once

#include <cstdint>

struct _XDisplay;

class TPointerWatch {
 public:
  // Watches X window `window`; Ok() is false when no display or event descriptor could be had.
  explicit TPointerWatch(uint64_t window);
  ~TPointerWatch();
  TPointerWatch(const TPointerWatch&) = delete;
  TPointerWatch& operator=(const TPointerWatch&) = delete;

  bool Ok() const { return mDisplay && mWakeFd >= 0; }
  // Blocks until the pointer moves over, enters or leaves the window (true), or until
  // `timeoutMs` milliseconds pass (-1: no limit) or Wake is called (false). A Wake that came
  // while no Wait was blocked ends the next one.
  bool Wait(int timeoutMs);
  void Wake();

 private:
  _XDisplay* mDisplay = nullptr;
  int mInputOpcode = -1;  // the input extension's, when raw motion is selected
  int mWakeFd = -1;
};
