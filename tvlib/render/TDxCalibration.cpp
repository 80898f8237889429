// The one-time texel-offset calibration: draw a small black-cornered texture at ten sub-pixel
// offsets into a render target and keep the first offset whose corners land exactly on pixels.
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TTexture.h"

namespace {

constexpr int kProbeSide = 16;
constexpr int kTargetWidth = 1024;
constexpr int kTargetHeight = 512;
constexpr int kOffsets = 10;

float OffsetFor(int i) {
  return static_cast<float>(i) * 0.1f - 0.5f;
}

// Where copy i is drawn: left to right, 16 pixels apart, in rows of 50.
void ProbePosition(int i, int* x, int* y) {
  int perRow = 800 / kProbeSide;
  *x = (i % perRow) * kProbeSide;
  *y = (i / perRow) * kProbeSide;
}

bool IsBlack(const uint8_t* pixel) {
  return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

}  // namespace

void TDxDisplayHandler::CalibrateTexelOffset() {
  TDxDisplayHandlerData& d = *mData;
  if (d.calibrated) return;
  d.calibrated = true;
  auto probe = TTexture::CreateBlank(kProbeSide, kProbeSide, false);
  if (!probe) return;
  const float white[4] = {1, 1, 1, 1};
  FillRect(0, 0, kProbeSide, kProbeSide, white, probe);
  uint8_t* pixels = nullptr;
  int width = 0, height = 0, pitch = 0;
  if (probe->Lock(&pixels, &width, &height, &pitch)) {
    uint8_t* last = pixels + (kProbeSide - 1) * pitch + (kProbeSide - 1) * 4;
    pixels[0] = pixels[1] = pixels[2] = 0;
    last[0] = last[1] = last[2] = 0;
    probe->Unlock();
  }
  float found = -0.5f;
  if (auto target = TTexture::CreateRenderTarget(kTargetWidth, kTargetHeight)) {
    const float red[4] = {1, 0, 0, 1};
    FillRect(0, 0, 512, 512, red, target);
    TRenderHost* host = d.host;
    if (host && PushRenderTarget(target)) {
      host->Begin2d();
      SetTextureFilter(0);
      // Anchored at the top-left corner, so the copy covers exactly the pixels the check reads.
      const TVec2 anchor(0, 0);
      for (int i = 0; i < kOffsets; ++i) {
        d.texelOffset = OffsetFor(i);
        int x = 0, y = 0;
        ProbePosition(i, &x, &y);
        TVec2 position(static_cast<float>(x), static_cast<float>(y));
        probe->DrawTransformed(&position, 1.0f, 1.0f, 1.0f, 0.0f, &anchor, nullptr, 0, nullptr);
      }
      SetTextureFilter(1);
      host->End2d();
      PopRenderTarget();
    }
    if (target->Lock(&pixels, &width, &height, &pitch)) {
      for (int i = 0; i < kOffsets; ++i) {
        int x = 0, y = 0;
        ProbePosition(i, &x, &y);
        const uint8_t* first = pixels + y * pitch + x * 4;
        const uint8_t* last = pixels + (y + kProbeSide - 1) * pitch + (x + kProbeSide - 1) * 4;
        if (IsBlack(first) && IsBlack(last)) {
          found = OffsetFor(i);
          break;
        }
      }
      target->Unlock();
    }
  }
  d.texelOffset = found;
}
