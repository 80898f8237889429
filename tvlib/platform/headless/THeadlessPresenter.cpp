// The headless presenter.
#include "tvlib/platform/headless/THeadlessPresenter.h"

#include <algorithm>
#include <cstring>

#include "tvlib/platform/headless/TPngWriter.h"

namespace sd {

THeadlessPresenter::THeadlessPresenter(TDisplayMode desktop) : mDesktop(desktop) {}

bool THeadlessPresenter::EnterFullScreen(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return false;
  mFullScreen = true;
  mScreenWidth = width, mScreenHeight = height;
  return true;
}

void THeadlessPresenter::LeaveFullScreen() {
  mFullScreen = false;
}

uint32_t THeadlessPresenter::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= mFrameWidth || y >= mFrameHeight) return 0;
  return mFrame[size_t(y) * mFrameWidth + x];
}

void THeadlessPresenter::Show(const uint32_t* pixels, int32_t pitchPixels, int32_t width,
                              int32_t height, const TRect& changed) {
  // The visible part of the image, and where it starts on the frame.
  TRect visible =
      mFullScreen ? TRect{0, 0, width, height} : Intersect(mClient, TRect{0, 0, width, height});
  int32_t frameW = mFullScreen ? width : mClient.Width();
  int32_t frameH = mFullScreen ? height : mClient.Height();
  int32_t originX = mFullScreen ? 0 : mClient.left, originY = mFullScreen ? 0 : mClient.top;
  TRect copy = Intersect(changed, visible);
  if (frameW != mFrameWidth || frameH != mFrameHeight) {
    mFrameWidth = std::max(frameW, 0), mFrameHeight = std::max(frameH, 0);
    mFrame.assign(size_t(mFrameWidth) * mFrameHeight, 0);
    copy = visible;  // a new frame is filled whole
  }
  ++mShowCount;
  mLastCopied =
      TRect{copy.left - originX, copy.top - originY, copy.right - originX, copy.bottom - originY};
  for (int32_t y = copy.top; y < copy.bottom; ++y)
    std::memcpy(&mFrame[size_t(y - originY) * mFrameWidth + (copy.left - originX)],
                pixels + size_t(y) * pitchPixels + copy.left, size_t(copy.Width()) * 4);
}

bool THeadlessPresenter::WritePng(const char* path) const {
  return WriteArgbPng(path, mFrame.data(), mFrameWidth, mFrameHeight, mFrameWidth);
}

}  // namespace sd
