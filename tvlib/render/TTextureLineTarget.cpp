#include "tvlib/render/TTextureLineTarget.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/render/TTexture.h"

namespace {
constexpr int kTargetWidth = 1024;
constexpr int kTargetHeight = 512;
// The strip the measurement draws into; the rest of the target is never read.
constexpr int kStripWidth = 800;
constexpr int kStripHeight = 4;
}  // namespace

bool TTextureLineTarget::Begin() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return false;
  mTexture = TTexture::CreateRenderTarget(kTargetWidth, kTargetHeight);
  if (!mTexture) {
    DebugLog("TTextureLineTarget::Begin failed! No render target.");
    return false;
  }
  platform->FillRect(0, 0, kStripWidth, kStripHeight, TColor32(0xff000000u), mTexture);
  if (!platform->SetRenderTarget(mTexture)) {
    mTexture.reset();
    return false;
  }
  platform->Begin2d();
  return true;
}

bool TTextureLineTarget::End(TLockedPixels& pixels) {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform || !mTexture) return false;
  platform->End2d();
  platform->PopRenderTarget();
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
