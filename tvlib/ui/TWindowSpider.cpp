// The window layer's own spiders.
#include "tvlib/ui/TWindowSpider.h"

#include "tvlib/ui/TWindow.h"
#include "tvlib/ui/TWindowManager.h"

bool TDirtyChildren::Visit(TWindow* window) {
  if (!mArea) {
    window->InvalidateArea(nullptr, true, false);
    TDirtyChildren nested(nullptr);
    window->ForEachChild(&nested);
    return true;
  }
  const TRect& rect = window->GetRect();
  TRect overlap;
  overlap.SetIntersection(*mArea, rect);
  if (overlap.left > overlap.right || overlap.top > overlap.bottom) return true;
  TRect inChild{overlap.left - rect.left, overlap.top - rect.top, overlap.right - rect.left,
                overlap.bottom - rect.top};
  // The child may widen the area to all it redraws (a text redraws whole); then this
  // window must redraw under all of it too.
  window->InvalidateArea(&inChild, true, false);
  TDirtyChildren nested(&inChild);
  window->ForEachChild(&nested);
  const TRect back{inChild.left + rect.left, inChild.top + rect.top, inChild.right + rect.left,
                   inChild.bottom + rect.top};
  TRect grown;
  grown.SetUnion(*mArea, back);
  if (!SameRect(grown, *mArea) || nested.HasGrown()) {
    *mArea = grown;
    mGrown = true;
    return false;
  }
  return true;
}

bool ChildrenDelete::Visit(TWindow* window) {
  mParent->RemoveChild(window);
  if (mManager) {
    mManager->DeleteLater(window);
  } else {
    delete window;  // nothing can refer to it later without a manager
  }
  return true;
}

void TWindowClearFlags::Apply(TWindow* window) const {
  window->SetFlags(window->GetFlags() & (mMask | 0xFFFF00FFu));
}

bool TWindowClearFlags::Visit(TWindow* window) {
  Apply(window);
  if (mRecursive) window->ForEachChild(this);
  return true;
}
