// The display object of the software rendering device.
#include "tvlib/platform/render/TDisplay.h"

#include <algorithm>
#include <cstdio>

#include "tvlib/platform/render/TFaultHook.h"

namespace sd {

namespace {

// Full-screen sizes offered besides the desktop's own; the presenter scales any of them to the
// screen, so the game's sizes are always there.
constexpr TDisplayMode kModes[] = {
    {640, 480, 32},   {800, 600, 32},   {1024, 768, 32},  {1152, 864, 32},
    {1280, 720, 32},  {1280, 800, 32},  {1280, 960, 32},  {1280, 1024, 32},
    {1366, 768, 32},  {1440, 900, 32},  {1600, 900, 32},  {1600, 1200, 32},
    {1680, 1050, 32}, {1920, 1080, 32}, {1920, 1200, 32}, {2560, 1440, 32}};

constexpr TPixelFormat kTextureFormats[] = {kFmtA8R8G8B8, kFmtX8R8G8B8, kFmtR5G6B5,
                                            kFmtX1R5G5B5, kFmtA1R5G5B5, kFmtA4R4G4B4};
constexpr TPixelFormat kDepthFormats[] = {kFmtZ16, kFmtZ24, kFmtZ32};

std::vector<TDisplayMode> Modes(const TDisplayMode& desktop) {
  std::vector<TDisplayMode> modes;
  for (const TDisplayMode& m : kModes)
    if ((m.width <= desktop.width && m.height <= desktop.height) || m.width <= 800)
      modes.push_back(m);
  auto same = [&](const TDisplayMode& m) {
    return m.width == desktop.width && m.height == desktop.height;
  };
  if (std::none_of(modes.begin(), modes.end(), same))
    modes.push_back({desktop.width, desktop.height, 32});
  std::sort(modes.begin(), modes.end(), [](const TDisplayMode& a, const TDisplayMode& b) {
    return a.width != b.width ? a.width < b.width : a.height < b.height;
  });
  return modes;
}

}  // namespace

std::shared_ptr<TDisplay> TDisplay::Create(TPresenter* presenter, HR* result) {
  if (!presenter) {
    if (result) *result = kErrPointer;
    return nullptr;
  }
  std::shared_ptr<TDisplay> d(new TDisplay());
  d->mPresenter = presenter;
  d->mMainThread = std::this_thread::get_id();
  if (result) *result = kOk;
  return d;
}

TDisplay::~TDisplay() {
  if (auto primary = mPrimary.lock()) primary->SetShowHook(nullptr, {});
  if (mPresenter->IsFullScreen()) mPresenter->LeaveFullScreen();
}

HR TDisplay::SetCooperativeLevel(uint32_t flags) {
  if (HR hr = CheckFault(TCall::kSetCooperativeLevel)) return hr;
  bool exclusive = (flags & kCoopExclusive) && (flags & kCoopFullScreen);
  if (!exclusive && !(flags & kCoopNormal)) return kErrInvalidArg;
  if (!exclusive && IsFullScreen()) RestoreDisplayMode();
  mCoop = exclusive ? (kCoopExclusive | kCoopFullScreen) : kCoopNormal;
  mLostReason = kOk;
  return kOk;
}

HR TDisplay::TestCooperativeLevel() const {
  if (HR hr = CheckFault(TCall::kTestCooperativeLevel)) return hr;
  return mLostReason;
}

HR TDisplay::RestoreAllSurfaces() {
  if (HR hr = CheckFault(TCall::kRestoreAllSurfaces)) return hr;
  if (mLostReason) return mLostReason;
  for (auto& weak : mSurfaces)
    if (auto s = weak.lock()) s->Restore();
  return kOk;
}

HR TDisplay::EnumDisplayModes(const std::function<bool(const TDisplayMode&)>& each) const {
  if (!each) return kErrInvalidArg;
  for (const TDisplayMode& m : Modes(mPresenter->Desktop()))
    if (!each(m)) break;
  return kOk;
}

HR TDisplay::SetDisplayMode(int32_t width, int32_t height, uint32_t bitCount) {
  if (HR hr = CheckFault(TCall::kSetDisplayMode)) return hr;
  if (!(mCoop & kCoopExclusive)) return kErrNoExclusiveMode;
  auto modes = Modes(mPresenter->Desktop());
  bool offered = std::any_of(modes.begin(), modes.end(), [&](const TDisplayMode& m) {
    return m.width == width && m.height == height && m.bitCount == bitCount;
  });
  if (!offered || !mPresenter->EnterFullScreen(width, height)) return kErrUnsupportedMode;
  for (auto& weak : mSurfaces)
    if (auto s = weak.lock()) s->MarkLost();
  mMode = TDisplayMode{width, height, 32};
  return kOk;
}

HR TDisplay::RestoreDisplayMode() {
  if (HR hr = CheckFault(TCall::kRestoreDisplayMode)) return hr;
  if (mMode.width == 0) return kOk;
  mPresenter->LeaveFullScreen();
  for (auto& weak : mSurfaces)
    if (auto s = weak.lock()) s->MarkLost();
  mMode = TDisplayMode{};
  return kOk;
}

HR TDisplay::GetDisplayMode(TSurfaceDesc* out) const {
  if (!out) return kErrPointer;
  TDisplayMode m = mMode.width ? mMode : mPresenter->Desktop();
  *out = TSurfaceDesc{};
  out->flags = kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat;
  out->width = m.width, out->height = m.height, out->pitch = m.width * 4;
  out->format = kFmtX8R8G8B8;
  return kOk;
}

TSurfacePtr TDisplay::MakeSurface(const TSurfaceDesc& desc, HR* result) {
  TSurfaceDesc d = desc;
  if (!(d.caps & (kCapsVideoMemory | kCapsSystemMemory))) {
    d.caps |= kCapsVideoMemory;
    if (auto s = TSurface::Make(d, mVidMem, result)) return s;
    d.caps = (d.caps & ~kCapsVideoMemory) | kCapsSystemMemory;
  }
  return TSurface::Make(d, mVidMem, result);
}

HR TDisplay::CreateSurface(const TSurfaceDesc& desc, TSurfacePtr* out) {
  if (HR hr = CheckFault(TCall::kCreateSurface)) return hr;
  if (!out) return kErrPointer;
  *out = nullptr;
  if (!(desc.flags & kDescCaps)) return kErrInvalidArg;
  HR hr = kOk;
  // Drop surfaces that have gone.
  std::erase_if(mSurfaces, [](const std::weak_ptr<TSurface>& w) { return w.expired(); });

  if (desc.caps & kCapsPrimarySurface) {
    if (!mCoop) return kErrInvalidArg;
    TSurfaceDesc p;
    p.flags = kDescCaps;
    TDisplayMode size = IsFullScreen() ? mMode : mPresenter->Desktop();
    p.width = size.width, p.height = size.height;
    p.format = IsFullScreen() ? kFmtA8R8G8B8 : kFmtX8R8G8B8;
    p.caps = (desc.caps & ~kCapsSystemMemory) | kCapsVideoMemory | kCapsFrontBuffer;
    TSurfacePtr primary = TSurface::Make(p, mVidMem, &hr);
    if (!primary) return hr;
    if ((desc.flags & kDescBackBufferCount) && desc.backBufferCount > 0) {
      if (!IsFullScreen() || !(desc.caps & kCapsFlip)) return kErrInvalidArg;
      TSurfaceDesc b = p;
      b.caps = kCapsBackBuffer | kCaps3dDevice | kCapsVideoMemory;
      primary->mBackBuffer = TSurface::Make(b, mVidMem, &hr);
      if (!primary->mBackBuffer) return hr;
      mSurfaces.push_back(primary->mBackBuffer);
    }
    std::weak_ptr<TDisplay> self = weak_from_this();
    primary->SetShowHook(
        [self](TSurface& s) {
          if (auto d = self.lock()) d->Show(s);
        },
        mMainThread);
    mSurfaces.push_back(primary);
    mPrimary = primary;
    *out = primary;
    return kOk;
  }

  TSurfaceDesc d = desc;
  if (!(desc.flags & kDescWidth) || !(desc.flags & kDescHeight)) return kErrInvalidArg;
  if (!(desc.flags & kDescPixelFormat)) d.format = IsFullScreen() ? kFmtA8R8G8B8 : kFmtX8R8G8B8;
  if ((d.caps & kCapsZBuffer) != 0 && !IsDepth(d.format)) return kErrInvalidArg;
  if (!(desc.flags & kDescMipMapCount) || !(desc.caps & kCapsMipMap)) d.mipMapCount = 0;
  TSurfacePtr s = MakeSurface(d, &hr);
  if (!s) return hr;
  mSurfaces.push_back(s);
  *out = s;
  return kOk;
}

HR TDisplay::CreatePalette(uint32_t caps, const uint32_t* entries, std::shared_ptr<TPalette>* out) {
  if (HR hr = CheckFault(TCall::kCreatePalette)) return hr;
  if (!out) return kErrPointer;
  if ((caps & kPaletteCaps8BitAllow256) != kPaletteCaps8BitAllow256) return kErrInvalidArg;
  *out = std::make_shared<TPalette>(entries);
  return kOk;
}

HR TDisplay::GetCaps(TDisplayCaps* out) const {
  if (!out) return kErrPointer;
  out->colorKeyCaps = kColorKeyCapsSrcBlt;
  GetAvailableVidMem(kCapsVideoMemory, &out->vidMemTotal, &out->vidMemFree);
  return kOk;
}

HR TDisplay::GetAvailableVidMem(uint32_t /*caps*/, uint32_t* total, uint32_t* free) const {
  if (HR hr = CheckFault(TCall::kGetAvailableVidMem)) return hr;
  auto clamp32 = [](int64_t v) { return uint32_t(std::clamp<int64_t>(v, 0, 0xFFFFFFFFll)); };
  if (total) *total = clamp32(mVidMem->total);
  if (free) *free = clamp32(mVidMem->total - mVidMem->used);
  return kOk;
}

HR TDisplay::GetDeviceIdentifier(TDeviceIdentifier* out, uint32_t /*flags*/) const {
  if (!out) return kErrPointer;
  *out = TDeviceIdentifier{};
  std::snprintf(out->driver, sizeof out->driver, "%s", "tvsoft");
  std::snprintf(out->description, sizeof out->description, "%s", "FestraVask software renderer");
  out->driverVersionHigh = 1;
  const TDeviceDesc caps = TDevice3d::Caps();
  std::copy(std::begin(caps.guid), std::end(caps.guid), out->guid);
  return kOk;
}

HR TDisplay::EnumDevices(const std::function<bool(const TDeviceDesc&)>& each) const {
  if (!each) return kErrInvalidArg;
  each(TDevice3d::Caps());
  return kOk;
}

HR TDisplay::EnumTextureFormats(const std::function<bool(const TPixelFormat&)>& each) const {
  if (!each) return kErrInvalidArg;
  for (const TPixelFormat& f : kTextureFormats)
    if (!each(f)) break;
  return kOk;
}

HR TDisplay::EnumZBufferFormats(const std::function<bool(const TPixelFormat&)>& each) const {
  if (!each) return kErrInvalidArg;
  for (const TPixelFormat& f : kDepthFormats)
    if (!each(f)) break;
  return kOk;
}

HR TDisplay::CreateDevice(TSurfacePtr target, TDevicePtr* out) {
  if (!out) return kErrPointer;
  HR hr = kOk;
  *out = TDevice3d::Create(std::move(target), &hr);
  return hr;
}

void TDisplay::Show(TSurface& primary) {
  TRect changed = primary.TakeDirty();
  if (changed.IsEmpty()) return;
  mPresenter->Show(reinterpret_cast<const uint32_t*>(primary.Bits()), primary.Pitch() / 4,
                   primary.Width(), primary.Height(), changed);
}

void TDisplay::ShowPending() {
  if (auto primary = mPrimary.lock()) Show(*primary);
}

void TDisplay::LoseSurfaces(HR reason) {
  for (auto& weak : mSurfaces)
    if (auto s = weak.lock()) s->MarkLost();
  mLostReason = reason;
}

void TDisplay::SetVideoMemory(int64_t total) {
  mVidMem->total = total;
}

}  // namespace sd
