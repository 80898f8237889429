// The window's task.
#include "tvlib/ui/TWindowAnim.h"

#include "tvlib/ui/TWindow.h"

TWindowAnim::~TWindowAnim() {
  if (mWindow) mWindow->mAnim = nullptr;
}

bool TWindowAnim::Animate() {
  return mWindow != nullptr && mWindow->Animate();
}
