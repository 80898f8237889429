// Trapping the X errors of a span of requests.
#include "tvlib/platform/x11/XErrorTrap.h"

#include <X11/Xlib.h>

namespace {

// The code of the first error caught by the innermost trap (0: none).
int gTrappedErrorCode = 0;

int RecordError(Display*, XErrorEvent* error) {
  if (gTrappedErrorCode == 0) gTrappedErrorCode = error->error_code;
  return 0;
}

using THandler = int (*)(Display*, XErrorEvent*);

}  // namespace

TXErrorTrap::TXErrorTrap(TXDisplay* display)
    : mDisplay(display), mPreviousErrorCode(gTrappedErrorCode) {
  XSync(mDisplay, False);  // errors of earlier requests belong to whoever made them
  gTrappedErrorCode = 0;
  mPrevious = reinterpret_cast<void (*)()>(XSetErrorHandler(RecordError));
}

TXErrorTrap::~TXErrorTrap() {
  XSync(mDisplay, False);
  XSetErrorHandler(reinterpret_cast<THandler>(mPrevious));
  gTrappedErrorCode = mPreviousErrorCode;
}

bool TXErrorTrap::Succeeded() {
  XSync(mDisplay, False);
  return gTrappedErrorCode == 0;
}
