// The radio-group walk.
#include "tvlib/ui/TRadioButtonSpider.h"

#include "tvlib/ui/TButton.h"

bool TRadioButtonSpider::Visit(TWindow* window) {
  const bool starts = (window->GetFlags() & kWindowRadioStart) != 0;
  if (mMode == kFindGroup) {
    // A button that starts its group is its own group start.
    if (starts) mGroupStart = window;
    return window != mChecked;
  }
  if (!mFound) {
    if (window != mGroupStart) return true;
    mFound = true;
  } else if (starts) {
    return false;  // the next group begins
  }
  if (window != mChecked) {
    if (TButton* button = TButton::CastToButton(window)) button->SetChecked(false);
  }
  return true;
}
