// The screen side of the display device: creation ladders and the present.
#include "tvlib/render/CDisplay.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/platform/dialog/TMessageBox.h"

namespace {

// Below this much free video memory a full-screen mode is made at 16 bits.
constexpr uint32_t kLowVideoMemory = 16u << 20;

}  // namespace

void CSurface::Attach(sd::TSurfacePtr surface) {
  mSurface = std::move(surface);
  mDesc = mSurface ? mSurface->Desc() : sd::TSurfaceDesc{};
}

sd::HR CSurface::Create(sd::TDisplay& display, const sd::TSurfaceDesc& desc) {
  sd::HR hr = display.CreateSurface(desc, &mSurface);
  if (sd::Succeeded(hr)) mDesc = mSurface->Desc();
  return hr;
}

void CSurface::Release() {
  mSurface.reset();
  mDesc = {};
}

sd::HR CDisplay::Release() {
  mBack.reset();
  mPrimary.reset();
  if (mDisplay) {
    mDisplay->SetCooperativeLevel(sd::kCoopNormal);
    mDisplay.reset();
  }
  return sd::kOk;
}

sd::HR CDisplay::RetryFullScreen(sd::HR hr, int width, int height, int bitsPerPixel,
                                 uint32_t attempt) {
  if (hr == sd::kErrOutOfVideoMemory && onOutOfVideoMemory) onOutOfVideoMemory();
  return CreateFullScreen(width, height, bitsPerPixel, attempt + 0x10000u);
}

int CDisplay::ChooseModeDepth(int width, int height, int wanted) const {
  int recorded = 0;
  mDisplay->EnumDisplayModes([&](const sd::TDisplayMode& mode) {
    if (mode.width != width || mode.height != height || mode.bitCount < 15) return true;
    int depth = static_cast<int>(mode.bitCount);
    if (recorded == 0) recorded = depth;
    if (depth == wanted) {
      recorded = depth;
      return false;
    }
    if (depth == 16) recorded = 16;
    return true;
  });
  return recorded ? recorded : wanted;
}

sd::HR CDisplay::CreateFullScreen(int width, int height, int bitsPerPixel, uint32_t attempt) {
  Release();
  // The software device is the only display device: any index past it has nothing to offer.
  if ((attempt >> 16) != 0) {
    DebugLog("Failed to create a DirectDraw device after trying all GUIDs");
    if (!mCreated) {
      ShowMessageBox(
          "Sorry, but this product isn't compatible with your display. Try using a "
          "different display, if you have the option.",
          "Error", kMbIconHand);
    }
    return sd::kErrFail;
  }
  sd::HR hr = sd::kOk;
  mDisplay = sd::TDisplay::Create(mPresenter, &hr);
  if (!mDisplay) return RetryFullScreen(hr, width, height, bitsPerPixel, attempt);
  hr = mDisplay->SetCooperativeLevel(sd::kCoopExclusive | sd::kCoopFullScreen);
  if (sd::Failed(hr)) return RetryFullScreen(hr, width, height, bitsPerPixel, attempt);

  sd::TDisplayCaps caps;
  mDisplay->GetCaps(&caps);
  if (caps.vidMemFree < kLowVideoMemory && bitsPerPixel > 16) bitsPerPixel = 16;
  int depth = ChooseModeDepth(width, height, bitsPerPixel);
  hr = mDisplay->SetDisplayMode(width, height, static_cast<uint32_t>(depth));
  if (sd::Failed(hr)) {
    DebugLog("Failed to create screen at %d bpp.", bitsPerPixel);
    return RetryFullScreen(hr, width, height, bitsPerPixel, attempt);
  }
  DebugLog("Created screen at %d bpp.", bitsPerPixel);

  sd::TSurfaceDesc desc;
  desc.flags = sd::kDescCaps | sd::kDescBackBufferCount;
  desc.caps = sd::kCapsPrimarySurface | sd::kCapsFlip | sd::kCapsComplex | sd::kCaps3dDevice;
  desc.caps2 = sd::kCaps2EnableAlphaChannel;
  desc.backBufferCount = 1;
  hr = mDisplay->CreateSurface(desc, &mPrimary);
  if (sd::Failed(hr)) {
    DebugLog("FAILED to create front buffer with DDSCAPS2_ENABLEALPHACHANNEL");
    desc.caps2 = 0;
    hr = mDisplay->CreateSurface(desc, &mPrimary);
    if (sd::Failed(hr)) return RetryFullScreen(hr, width, height, bitsPerPixel, attempt);
  }
  mBack = mPrimary->GetAttachedSurface(sd::kCapsBackBuffer);
  if (!mBack) return RetryFullScreen(sd::kErrFail, width, height, bitsPerPixel, attempt);

  mWindowed = false;
  UpdateBounds();
  mBack->Blt(nullptr, nullptr, nullptr, sd::kBltColorFill, 0);
  mPrimary->Blt(nullptr, nullptr, nullptr, sd::kBltColorFill, 0);
  mCreated = true;
  return sd::kOk;
}

sd::HR CDisplay::CreateWindowed(int width, int height, bool backInVideoMemory,
                                bool keepWindowSize) {
  Release();
  if (!keepWindowSize) {
    sd::TRect client = mPresenter->ClientRect();
    mPresenter->PlaceClient(
        sd::TRect{client.left, client.top, client.left + width, client.top + height});
  }
  sd::HR hr = sd::kOk;
  mDisplay = sd::TDisplay::Create(mPresenter, &hr);
  if (!mDisplay) return hr;
  if (sd::Failed(mDisplay->SetCooperativeLevel(sd::kCoopNormal))) return sd::kErrFail;
  auto fail = [this](sd::HR result) {
    if (result == sd::kErrOutOfVideoMemory && onOutOfVideoMemory) onOutOfVideoMemory();
    return result;
  };
  sd::TSurfaceDesc primary;
  primary.flags = sd::kDescCaps;
  primary.caps = sd::kCapsPrimarySurface;
  hr = mDisplay->CreateSurface(primary, &mPrimary);
  if (sd::Failed(hr)) return fail(hr);
  sd::TSurfaceDesc back;
  back.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight;
  back.width = width;
  back.height = height;
  back.caps = sd::kCapsOffscreenPlain | sd::kCaps3dDevice;
  if (backInVideoMemory) back.caps |= sd::kCapsVideoMemory;
  hr = mDisplay->CreateSurface(back, &mBack);
  if (sd::Failed(hr)) return fail(hr);
  mWindowed = true;
  UpdateBounds();
  mBack->Blt(nullptr, nullptr, nullptr, sd::kBltColorFill, 0);
  mCreated = true;
  return sd::kOk;
}

sd::HR CDisplay::Present() {
  if (!mPrimary || !mBack) return sd::kErrPointer;
  for (;;) {
    sd::HR hr = mWindowed
                    ? mPrimary->Blt(&mScreenRect, mBack.get(), nullptr, sd::kBltDdFx | sd::kBltWait)
                    : mPrimary->Flip();
    if (hr == sd::kErrSurfaceLost) {
      mPrimary->Restore();
      mBack->Restore();
      return hr;
    }
    if (hr != sd::kErrWasStillDrawing) return hr;
  }
}

sd::HR CDisplay::PresentRect(const sd::TRect& dest, const sd::TRect& source) {
  mScreenRect = dest;
  if (!mPrimary || !mBack) return sd::kErrPointer;
  return mPrimary->Blt(&dest, mBack.get(), &source, sd::kBltWait);
}

void CDisplay::UpdateBounds() {
  if (mWindowed) {
    mScreenRect = mPresenter->ClientRect();
  } else {
    int width = mPrimary ? mPrimary->Width() : 0;
    int height = mPrimary ? mPrimary->Height() : 0;
    mScreenRect = sd::TRect{0, 0, width, height};
  }
}

TPoint CDisplay::GetClientOrigin() {
  UpdateBounds();
  return TPoint{mScreenRect.left, mScreenRect.top};
}

void CDisplay::RestoreDisplayMode() {
  if (mDisplay) mDisplay->RestoreDisplayMode();
}

sd::HR CDisplay::CreateSurface(std::unique_ptr<CSurface>* out, int width, int height,
                               const sd::TPixelFormat* format, const uint32_t* caps) {
  if (!mDisplay) return sd::kErrPointer;
  if (!out) return sd::kErrInvalidArg;
  sd::TSurfaceDesc desc;
  desc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight;
  desc.width = width;
  desc.height = height;
  if (format) {
    desc.flags |= sd::kDescPixelFormat;
    desc.format = *format;
  }
  desc.caps = caps ? *caps : sd::kCapsOffscreenPlain;
  auto surface = std::make_unique<CSurface>();
  sd::HR hr = surface->Create(*mDisplay, desc);
  if (sd::Failed(hr)) return hr;
  *out = std::move(surface);
  return hr;
}
