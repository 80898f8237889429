// The line measurement's render target: set up, drawn into and read back.
#include "tvlib/render/TTextureLineTarget.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TRenderHost.h"
#include "tvlib/render/TTexture.h"

namespace {
constexpr int kTargetWidth = 1024;
constexpr int kTargetHeight = 512;
// The strip the measurement draws into; the rest of the target is never read.
constexpr int kStripWidth = 800;
constexpr int kStripHeight = 4;
}  // namespace

bool TTextureLineTarget::Begin() {
  TDisplayHandler* handler = GetCurrentDisplayHandler();
  TRenderHost* host = GetCurrentRenderHost();
  if (!handler || !host) return false;
  mTexture = TTexture::CreateRenderTarget(kTargetWidth, kTargetHeight);
  if (!mTexture) {
    DebugLog("TTextureLineTarget::Begin failed! No render target.");
    return false;
  }
  const float black[4] = {0, 0, 0, 1};
  handler->FillRect(0, 0, kStripWidth, kStripHeight, black, mTexture);
  if (!handler->PushRenderTarget(mTexture)) {
    mTexture.reset();
    return false;
  }
  host->Begin2d();
  return true;
}

bool TTextureLineTarget::End(TLockedPixels& pixels) {
  TDisplayHandler* handler = GetCurrentDisplayHandler();
  TRenderHost* host = GetCurrentRenderHost();
  if (!handler || !host || !mTexture) return false;
  host->End2d();
  handler->PopRenderTarget();
  int width = 0, height = 0;
  mLocked = mTexture->Lock(&pixels.pixels, &width, &height, &pixels.pitch);
  pixels.width = width;
  pixels.height = height;
  return mLocked;
}

void TTextureLineTarget::Unlock() {
  if (mLocked) mTexture->Unlock();
  mLocked = false;
  // Nothing reads the target again: the texture goes with the measurement.
  mTexture.reset();
}
