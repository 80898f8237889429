// The device context: device creation with its refusals, release, clear and the present.
#include "tvlib/render/TDXContext.h"

#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TGuid.h"
#include "tvlib/platform/window/TWindowBackend.h"
#include "tvlib/render/TDxDisplayHandlerData.h"

namespace {

// The device must take textures of at least this side.
constexpr uint32_t kMinTextureSide = 1024;

uint32_t Word(const uint8_t* bytes) {
  uint32_t w;
  std::memcpy(&w, bytes, 4);
  return w;
}

}  // namespace

TDXContext::TDXContext(sd::TPresenter* presenter, TRenderHost* host)
    : display(presenter), host(host) {
  uint8_t guid[16] = {};
  MakeGuid(guid);
  mMutexName = TString::Format("TDXContextMouseMutex:%x:%x:%x:%x", Word(guid), Word(guid + 4),
                               Word(guid + 8), Word(guid + 12));
  display.onOutOfVideoMemory = [this] { OutOfVideoMemory(); };
  // The system pointer comes from the host window's backend.
  pointerSource = [host](int* x, int* y) {
    TWindowBackend* backend = host ? host->GetWindowBackend() : nullptr;
    return backend && backend->ReadSystemPointer(x, y);
  };
  ReadDesktop();
}

TDXContext::~TDXContext() {
  if (listener) listener->Unlink();
  ReleaseDevice();
}

void TDXContext::OutOfVideoMemory() {
  if (onOutOfVideoMemory) onOutOfVideoMemory();
}

void TDXContext::ReadDesktop() {
  sd::TDisplayMode desktop = display.GetPresenter()->Desktop();
  desktopWidth = desktop.width;
  desktopHeight = desktop.height;
  desktopColours = desktop.bitCount <= 8 ? (1 << desktop.bitCount) : -1;
}

void TDXContext::ReleaseDevice() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  device.reset();
  display.RestoreDisplayMode();
  display.Release();
  positionKnown = false;
}

bool TDXContext::Create(bool fullScreen, int width, int height, int bitsPerPixel, int flags) {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  float scale = 1.0f;
  bool embedded = host && host->GetDisplayScale(&scale);
  if (host && host->HasHostWindow()) {
    fullScreen = false;
    forceFullScreen = false;
  }
  ReleaseDevice();
  ReadDesktop();
  if (!embedded && !fullScreen && (desktopWidth <= width || desktopHeight <= height)) return false;
  if (desktopColours != -1) {
    if (desktopColours <= 16) {
      palettised = true;
      return false;
    }
    if (!fullScreen) return false;
  }
  if (forceFullScreen && !fullScreen) return false;

  sd::HR hr;
  if (fullScreen) {
    hr = display.CreateFullScreen(width, height, bitsPerPixel, static_cast<uint32_t>(flags));
    if (sd::Failed(hr)) return false;
  } else {
    if (embedded) {
      width = static_cast<int>(width * scale + 0.5f);
      height = static_cast<int>(height * scale + 0.5f);
    }
    hr = display.CreateWindowed(width, height, backInVideoMemory, (flags & 2) != 0);
    if (hr == sd::kErrOutOfVideoMemory) forceFullScreen = true;
    if (sd::Failed(hr)) return false;
  }
  if (!CreateDeviceOnBackBuffer(embedded)) return false;
  // The save-unders and the last position belong to the screen just replaced.
  ResetCursor();
  return true;
}

bool TDXContext::CreateDeviceOnBackBuffer(bool embedded) {
  sd::TDisplay* dd = display.GetDirectDraw();
  dd->GetDisplayMode(&displayMode);

  hardware = false;
  bool found = false;
  uint32_t modeFlag = displayMode.format.bitCount == 8    ? sd::kBitDepth8
                      : displayMode.format.bitCount == 16 ? sd::kBitDepth16
                      : displayMode.format.bitCount == 24 ? sd::kBitDepth24
                                                          : sd::kBitDepth32;
  dd->EnumDevices([&](const sd::TDeviceDesc& desc) {
    bool isHardware = (desc.devCaps & sd::kDevCapsHwRasterization) != 0;
    if (!isHardware && !embedded) return true;
    if (!(desc.renderBitDepth & modeFlag) || !(desc.shadeCaps & sd::kShadeCapsColorGouraudRgb))
      return true;
    deviceDesc = desc;
    hardware = isHardware;
    found = true;
    return !(isHardware && (desc.devCaps & sd::kDevCapsHwTransformAndLight));
  });
  if (!found || (!hardware && !embedded)) {
    DebugLog("TDXContext::Create failed! Could not find a hardware renderer.");
    return false;
  }

  zFormat = {};
  dd->EnumZBufferFormats([&](const sd::TPixelFormat& f) {
    if (f.flags != sd::kPfZBuffer || f.bitCount < 16) return true;
    zFormat = f;
    return false;
  });
  const sd::TSurfacePtr& back = display.GetBackBuffer();
  std::unique_ptr<CSurface> z;
  uint32_t zCaps = sd::kCapsZBuffer | (hardware ? sd::kCapsVideoMemory : sd::kCapsSystemMemory);
  sd::HR hr = display.CreateSurface(&z, back->Width(), back->Height(), &zFormat, &zCaps);
  if (sd::Failed(hr)) {
    if (hr == sd::kErrOutOfVideoMemory) {
      if (display.IsWindowed()) forceFullScreen = true;
      OutOfVideoMemory();
    }
    return false;
  }
  hr = back->AddAttachedSurface(z->Ptr());
  if (hr == sd::kErrOutOfVideoMemory) OutOfVideoMemory();

  hr = dd->CreateDevice(back, &device);
  if (sd::Failed(hr)) {
    if (hr == sd::kErrNeedVideoMemoryBack) backInVideoMemory = true;
    if (hr == sd::kErrNeedTrueColour) desktopColours = 32;
    device.reset();
    return false;
  }
  if (deviceDesc.maxTextureWidth < kMinTextureSide ||
      deviceDesc.maxTextureHeight < kMinTextureSide) {
    DebugLog("TDXContext::Create - context does not support 1024x1024 textures! Failing!");
    ReleaseDevice();
    return false;
  }

  sd::TDeviceIdentifier id;
  dd->GetDeviceIdentifier(&id);
  TString identifier = TString::Format(
      "Device identifier:  \n  Driver: '%s'\n  Description: '%s'\n  Version: %x:%x\n  Vendor "
      "ID: %x (%d)\n  Device ID: %x (%d)\n  SubSys:  : %x (%d)\n  Revision:  %x (%d)\n  GUID:"
      "      %x:%x:%x:%x\n",
      id.driver, id.description, id.driverVersionHigh, id.driverVersionLow, id.vendorId,
      id.vendorId, id.deviceId, id.deviceId, id.subSysId, id.subSysId, id.revision, id.revision,
      id.guid[0], id.guid[1], id.guid[2], id.guid[3]);
  DebugLog("%s", identifier.c_str());
  sd::TDisplayCaps caps;
  dd->GetCaps(&caps);
  info = info + identifier;
  info = info + TString::Format("DDCAPS: %s\n", HexDump(&caps, sizeof caps).c_str());
  info = info + TString::Format("D3DDESC: %s\n", HexDump(&deviceDesc, sizeof deviceDesc).c_str());
  srcColourKeyBlt = (caps.colorKeyCaps & sd::kColorKeyCapsSrcBlt) != 0;
  return true;
}

sd::HR TDXContext::Clear(uint32_t flags) {
  if (!device) return sd::kErrPointer;
  sd::HR hr = device->Clear(0, nullptr, flags, 0, 1.0f);
  if (hr == sd::kErrOutOfVideoMemory) OutOfVideoMemory();
  return hr;
}

sd::HR TDXContext::PresentRect(const sd::TRect& dest, const sd::TRect& source) {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  return display.PresentRect(dest, source);
}

bool TDXContext::IsFrontBufferReady() const {
  const sd::TSurfacePtr& back = display.GetBackBuffer();
  if (!back) return false;
  return display.IsWindowed() || back->GetFlipStatus(sd::kFlipStatusIsFlipDone) == sd::kOk;
}

TString TDXContext::HexDump(const void* bytes, int count) {
  if (count <= 0) return TString();
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(static_cast<size_t>(count) * 2);
  const auto* p = static_cast<const uint8_t*>(bytes);
  for (int i = 0; i < count; ++i) {
    text += kDigits[p[i] >> 4];
    text += kDigits[p[i] & 15];
  }
  return TString(text.c_str());
}
