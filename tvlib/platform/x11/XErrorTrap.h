// Catches the X errors of the requests made while it lives, instead of letting Xlib's
// default handler end the process. X error handlers are process-wide, so traps nest and
// must be used from one thread.
#pragma once

#include "tvlib/platform/x11/HostMessage.h"

class TXErrorTrap {
 public:
  explicit TXErrorTrap(TXDisplay* display);
  ~TXErrorTrap();
  TXErrorTrap(const TXErrorTrap&) = delete;
  TXErrorTrap& operator=(const TXErrorTrap&) = delete;

  // Waits for the server to answer every request so far; true when none of them failed.
  bool Succeeded();

 private:
  TXDisplay* mDisplay;
  void (*mPrevious)();  // the handler this trap replaced, as Xlib gave it
  int mPreviousErrorCode;
};
