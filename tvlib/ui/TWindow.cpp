// Size and dirty area of a window.
#include "tvlib/ui/TWindow.h"

void TWindow::SetSize(int width, int height) {
  Invalidate();
  mRect.right = mRect.left + width;
  mRect.bottom = mRect.top + height;
  Invalidate();
}

void TWindow::Invalidate(const TRect* area) {
  TRect rect = area ? *area : mRect;
  if (rect.right == 0 || rect.bottom == 0) return;
  if (mDirty) {
    mDirtyRect.SetUnion(mDirtyRect, rect);
  } else {
    mDirtyRect = rect;
    mDirty = true;
  }
}
