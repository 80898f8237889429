// The headless presenter: keeps the shown frame in memory, for tests and runs without a display.
//
// It fakes a desktop (1920 x 1080, 32 bits unless told otherwise) and a window whose client area
// the test places. Full screen, the frame is the logical screen; windowed, it is the part of the
// desktop image under the client area. Only the changed rectangle of each Show is copied, as the
// real presenter uploads only that, so tests see exactly what reached the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "tvlib/platform/render/TPresenter.h"

namespace sd {

class THeadlessPresenter : public TPresenter {
 public:
  explicit THeadlessPresenter(TDisplayMode desktop = {1920, 1080, 32});

  TDisplayMode Desktop() const override { return mDesktop; }
  bool EnterFullScreen(int32_t width, int32_t height) override;
  void LeaveFullScreen() override;
  bool IsFullScreen() const override { return mFullScreen; }
  TRect ClientRect() const override { return mClient; }
  void PlaceClient(const TRect& client) override { mClient = client; }
  void Show(const uint32_t* pixels, int32_t pitchPixels, int32_t width, int32_t height,
            const TRect& changed) override;

  // Tests: the fake desktop and where the window's client area lies on it.
  void SetDesktop(TDisplayMode desktop) { mDesktop = desktop; }
  void SetClientRect(const TRect& client) { mClient = client; }

  // The frame as last shown (ARGB, FrameWidth() pixels a row).
  const std::vector<uint32_t>& Frame() const { return mFrame; }
  int32_t FrameWidth() const { return mFrameWidth; }
  int32_t FrameHeight() const { return mFrameHeight; }
  uint32_t Pixel(int32_t x, int32_t y) const;
  int ShowCount() const { return mShowCount; }
  // The area copied by the last Show, in frame coordinates.
  TRect LastCopied() const { return mLastCopied; }
  // Writes the frame as an 8-bit RGBA PNG; false on any failure.
  bool WritePng(const char* path) const;

 private:
  TDisplayMode mDesktop;
  TRect mClient{0, 0, 800, 600};
  bool mFullScreen = false;
  int32_t mScreenWidth = 0, mScreenHeight = 0;
  std::vector<uint32_t> mFrame;
  int32_t mFrameWidth = 0, mFrameHeight = 0;
  int mShowCount = 0;
  TRect mLastCopied;
};

}  // namespace sd
