// Texture surfaces: the creation ladder, pixel conversion by masks, lock, clear, restore and
// named palettes.
#include "tvlib/render/TDxTextureData.h"

#include <cstring>
#include <optional>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/platform/render/TTextureHelpers.h"
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TRiffPalette.h"

namespace {

// The format chosen for alpha textures, per process; its bit count says for which screen.
std::optional<sd::TPixelFormat> gAlphaFormat;

int PowerOfTwoAtLeast(int v, int minimum) {
  int p = minimum;
  while (p < v) p *= 2;
  return p;
}

// Bits a channel is narrowed by, and the shift of its lowest bit.
struct TChannel {
  uint32_t mask;
  int bits, low;
};

TChannel Channel(uint32_t mask) {
  return TChannel{mask, sd::CountBits(mask), sd::LowestSetBit(mask)};
}

// An 8-bit value placed into a mask of fewer (or equal) bits.
uint32_t Place(uint32_t value8, const TChannel& c) {
  if (!c.mask) return 0;
  uint32_t narrowed = value8 >> (8 - std::min(c.bits, 8));
  return (narrowed << c.low) & c.mask;
}

// The channel of a raw pixel as an 8-bit value.
uint32_t Extract(uint32_t raw, const TChannel& c) {
  int shift = c.low + c.bits - 8;
  uint32_t v = raw & c.mask;
  return (shift >= 0 ? v >> shift : v << -shift) & 0xFF;
}

}  // namespace

TDxTextureData::~TDxTextureData() {
  if (surface) {
    if (auto z = surface->GetAttachedSurface(sd::kCapsZBuffer))
      surface->DeleteAttachedSurface(z.get());
  }
}

void TDxTextureData::ClearAlphaFormatCache() {
  gAlphaFormat.reset();
}

void TDxTextureData::ReleaseSurface() {
  surface.reset();
}

void TDxTextureData::GetSurfaceSize(int* w, int* h) const {
  *w = allocatedWidth;
  *h = allocatedHeight;
}

void TDxTextureData::ChooseAlphaFormat(uint32_t bitCount) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (!handler || !handler->Data().directDraw) return;
  handler->Data().directDraw->EnumTextureFormats([&](const sd::TPixelFormat& f) {
    bool qualifies = (f.flags & sd::kPfAlphaPixels) && (f.flags & sd::kPfRgb) &&
                     !(f.flags & sd::kPfLuminance) && f.bitCount == bitCount;
    if (!qualifies) return true;
    if (!gAlphaFormat) {
      gAlphaFormat = f;
    } else if (sd::CountBits(f.aMask) > sd::CountBits(gAlphaFormat->aMask) &&
               sd::CountBits(f.bMask) > 2) {
      gAlphaFormat = f;
    }
    return true;
  });
}

bool TDxTextureData::CreateSurface(int w, int h) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (!(flags & kTexturePlainSurface) && handler && handler->RequiresSquareTextures() && w != h) {
    w = h = std::max(PowerOfTwoAtLeast(w, 2), PowerOfTwoAtLeast(h, 2));
  }
  if (!handler || !handler->Data().directDraw || !handler->Data().device) return false;
  const sd::TSurfacePtr& back = handler->Data().context.GetBackBuffer();
  if (!back) return false;
  sd::TPixelFormat screen = back->Format();
  surface.reset();
  madeByD3DX = false;
  bool made = false;
  if (flags & (kTextureRenderTarget | kTexturePlainSurface | kTexturePalettized)) {
    made = CreateDirectDrawSurface(w, h, screen);
  }
  if (!surface && !made) made = CreateUtilityTexture(w, h, screen);
  width = w;
  height = h;
  if (made) {
    if ((flags & kTextureHasAlpha) && (flags & kTextureRenderTarget)) {
      sd::TSurfacePtr previous = handler->Data().device->GetRenderTarget();
      handler->SwitchRenderTarget(previous, surface);
      handler->SwitchRenderTarget(surface, previous);
    }
    return true;
  }
  // A lost device makes the surface again at the next restore.
  return !handler->IsDeviceValid();
}

bool TDxTextureData::CreateDirectDrawSurface(int w, int h, const sd::TPixelFormat& screen) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  TDxDisplayHandlerData& hd = handler->Data();
  sd::TDisplay& dd = *hd.directDraw;
  sd::TSurfaceDesc desc;
  desc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight | sd::kDescPixelFormat;
  if (hd.separateTextureMemories) desc.flags |= sd::kDescTextureStage;
  desc.width = w;
  desc.height = h;
  desc.format = screen;
  desc.caps = (flags & kTexturePlainSurface) ? sd::kCapsOffscreenPlain : sd::kCapsTexture;
  if (flags & kTextureRenderTarget) desc.caps |= sd::kCaps3dDevice;
  bool system =
      !hd.context.hardware || ((flags & kTexturePlainSurface) && (flags & kTextureSystemMemory));
  if (system) {
    desc.caps |= sd::kCapsSystemMemory;
  } else {
    desc.caps |= sd::kCapsVideoMemory;
    uint32_t total = 0, free = 0;
    dd.GetAvailableVidMem(desc.caps, &total, &free);
    uint64_t needed = uint64_t(screen.bitCount) * uint32_t(w) * uint32_t(h) / 8;
    if (free != 0 && free <= needed && screen.bitCount == 32) {
      DebugLog("TDxTextureData::CreateSurface: Out of Memory in 32 bit mode. Tagging to restart.");
      handler->HandleOutOfVideoMemory();
    }
  }
  sd::HR hr = sd::kOk;
  if (flags & kTexturePalettized) {
    desc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight | sd::kDescPixelFormat;
    desc.caps = sd::kCapsSystemMemory | sd::kCapsOffscreenPlain;
    desc.format = sd::kFmtP8;
    hr = dd.CreateSurface(desc, &surface);
    if (sd::Failed(hr)) DebugLog("SURFACE request FAILED for palettized texture format.");
  } else if (!(flags & kTextureHasAlpha)) {
    hr = dd.CreateSurface(desc, &surface);
    if (sd::Failed(hr)) {
      desc.caps ^= sd::kCapsVideoMemory | sd::kCapsSystemMemory;
      hr = dd.CreateSurface(desc, &surface);
    }
  } else {
    if ((flags & kTextureRenderTarget) && hd.context.noRenderTarget16) {
      gAlphaFormat.reset();
      ChooseAlphaFormat(32);
    } else if (!gAlphaFormat || gAlphaFormat->bitCount != screen.bitCount) {
      ChooseAlphaFormat(screen.bitCount);
    }
    hr = sd::kErrFail;
    if (gAlphaFormat) {
      desc.format = *gAlphaFormat;
      hr = dd.CreateSurface(desc, &surface);
    }
    if (sd::Failed(hr)) {
      desc.format = screen;
      desc.format.flags |= sd::kPfAlphaPixels;
      if (screen.bitCount == 16) {
        desc.format = sd::kFmtA4R4G4B4;
      } else {
        desc.format.bitCount = 32;
        desc.format.aMask = 0xFF000000u;
      }
      hr = dd.CreateSurface(desc, &surface);
      if (sd::Failed(hr)) {
        desc.caps |= sd::kCapsVideoMemory;
        hr = dd.CreateSurface(desc, &surface);
      }
      if (sd::Failed(hr)) {
        if (flags & kTextureRenderTarget) {
          flags &= ~kTextureRenderTarget;
          return CreateSurface(w, h);
        }
        desc.caps = sd::kCapsTexture;
        desc.format = screen;
        hr = dd.CreateSurface(desc, &surface);
      }
    }
    if (surface && !(surface->Format().flags & sd::kPfAlphaPixels))
      DebugLog("SURFACE request FAILED to get DDPF_ALPHAPIXELS.");
  }
  if (hr == sd::kErrOutOfVideoMemory) handler->HandleOutOfVideoMemory();
  if (!surface) return false;
  allocatedWidth = surface->Width();
  allocatedHeight = surface->Height();
  Clear();
  if (flags & kTextureRenderTarget) {
    sd::TSurfacePtr target = hd.device->GetRenderTarget();
    sd::TSurfacePtr z = target ? target->GetAttachedSurface(sd::kCapsZBuffer) : nullptr;
    if (z) {
      sd::TSurfaceDesc zDesc;
      zDesc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight | sd::kDescPixelFormat;
      zDesc.width = allocatedWidth;
      zDesc.height = allocatedHeight;
      zDesc.format = z->Format();
      zDesc.caps = z->Desc().caps;
      sd::TSurfacePtr ownZ;
      if (sd::Failed(dd.CreateSurface(zDesc, &ownZ))) {
        DebugLog("FAILED to create z-buffer for render surface!");
        return false;
      }
      if (sd::Failed(surface->AddAttachedSurface(ownZ))) {
        DebugLog("FAILED to attach z-buffer for render surface!");
        return false;
      }
    }
  }
  return true;
}

bool TDxTextureData::CreateUtilityTexture(int w, int h, const sd::TPixelFormat& screen) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  bool alpha = (flags & kTextureHasAlpha) != 0;
  uint32_t format = screen.bitCount == 16 ? (alpha ? sd::kSfA4R4G4B4 : sd::kSfR5G6B5)
                                          : (alpha ? sd::kSfA8R8G8B8 : sd::kSfX8R8G8B8);
  uint32_t asked = format;
  bool mip = (flags & kTextureMipmapped) != 0;
  mipLevels = mip ? -1 : 0;
  int madeWidth = w, madeHeight = h;
  sd::HR hr = sd::CreateTexture(*handler->Data().directDraw, mip ? 0 : sd::kTexNoMipMap, &madeWidth,
                                &madeHeight, &format, &surface);
  if (hr == sd::kErrOutOfVideoMemory) handler->HandleOutOfVideoMemory();
  if (sd::Failed(hr) || !surface) return false;
  if (format != asked && screen.bitCount == 32) handler->HandleOutOfVideoMemory();
  allocatedWidth = madeWidth;
  allocatedHeight = madeHeight;
  madeByD3DX = true;
  return true;
}

void TDxTextureData::Clear() {
  if (!surface) return;
  if (surface->Blt(nullptr, nullptr, nullptr, sd::kBltColorFill, 0) == sd::kErrSurfaceLost) {
    surface->Restore();
    surface->Blt(nullptr, nullptr, nullptr, sd::kBltColorFill, 0);
  }
}

bool TDxTextureData::WritePixels(int bufferWidth, int bufferHeight, const uint32_t* pixels) {
  if (!surface) return false;
  if (madeByD3DX) {
    sd::TRect rect{0, 0, std::min(bufferWidth, surface->Width()),
                   std::min(bufferHeight, surface->Height())};
    sd::HR hr = sd::LoadTextureFromMemory(surface.get(), mipLevels, pixels, bufferWidth * 4, &rect,
                                          sd::kFilterLinear);
    return sd::Succeeded(hr);
  }
  sd::TLocked locked;
  if (sd::Failed(surface->Lock(nullptr, &locked, sd::kLockWait))) return false;
  const sd::TPixelFormat& f = surface->Format();
  TChannel r = Channel(f.rMask), g = Channel(f.gMask), b = Channel(f.bMask), a = Channel(f.aMask);
  bool alpha = (flags & kTextureHasAlpha) != 0;
  int rows = std::min(height, std::min(bufferHeight, surface->Height()));
  int cols = std::min(width, std::min(bufferWidth, surface->Width()));
  int bytes = static_cast<int>(f.bitCount / 8);
  if (f.bitCount == 15) bytes = 2;
  for (int y = 0; y < rows; ++y) {
    const uint32_t* src = pixels + static_cast<size_t>(y) * bufferWidth;
    uint8_t* dst = locked.bits + static_cast<size_t>(y) * locked.pitch;
    for (int x = 0; x < cols; ++x) {
      uint32_t p = src[x];
      uint32_t raw = Place((p >> 16) & 0xFF, r) | Place((p >> 8) & 0xFF, g) | Place(p & 0xFF, b);
      if (f.bitCount != 24) raw |= alpha ? Place(p >> 24, a) : a.mask;
      if (bytes >= 2 && bytes <= 4) sd::WriteRaw(dst + x * bytes, bytes, raw);
    }
  }
  return sd::Succeeded(surface->Unlock());
}

bool TDxTextureData::ReadPixels(int stride, uint32_t* pixels) {
  if (!surface) return false;
  sd::TLocked locked;
  if (sd::Failed(surface->Lock(nullptr, &locked, sd::kLockWait))) return false;
  const sd::TPixelFormat& f = surface->Format();
  int bytes = f.bitCount == 16 ? 2 : f.bitCount == 24 ? 3 : f.bitCount == 32 ? 4 : 0;
  if (bytes) {
    TChannel r = Channel(f.rMask), g = Channel(f.gMask), b = Channel(f.bMask);
    TChannel a = Channel(f.aMask);
    bool alpha = (flags & kTextureHasAlpha) != 0 && f.aMask != 0;
    for (int y = 0; y < surface->Height(); ++y) {
      const uint8_t* src = locked.bits + static_cast<size_t>(y) * locked.pitch;
      uint32_t* dst = pixels + static_cast<size_t>(y) * stride;
      for (int x = 0; x < std::min(stride, surface->Width()); ++x) {
        uint32_t raw = sd::ReadRaw(src + x * bytes, bytes);
        uint32_t alphaByte = alpha ? Extract(raw, a) : 255;
        dst[x] =
            (alphaByte << 24) | (Extract(raw, r) << 16) | (Extract(raw, g) << 8) | Extract(raw, b);
      }
    }
  }
  surface->Unlock();
  return bytes != 0;
}

bool TDxTextureData::Lock(uint8_t** pixels, int* w, int* h, int* pitch) {
  if (!surface) return false;
  if (sd::IsArgb32(surface->Format())) {
    sd::TLocked locked;
    if (sd::Failed(surface->Lock(nullptr, &locked, sd::kLockWait))) return false;
    *pixels = locked.bits;
    *w = surface->Width();
    *h = surface->Height();
    *pitch = locked.pitch;
    return true;
  }
  lockBuffer.assign(static_cast<size_t>(surface->Width()) * surface->Height(), 0);
  if (!ReadPixels(surface->Width(), lockBuffer.data())) {
    lockBuffer.clear();
    return false;
  }
  *pixels = reinterpret_cast<uint8_t*>(lockBuffer.data());
  *w = surface->Width();
  *h = surface->Height();
  *pitch = surface->Width() * 4;
  return true;
}

void TDxTextureData::Unlock() {
  if (!surface) return;
  if (lockBuffer.empty()) {
    surface->Unlock();
    return;
  }
  // The buffer covers the whole surface: written back in full, not only the image.
  bool byUtility = madeByD3DX;
  int imageWidth = width, imageHeight = height;
  madeByD3DX = false;
  width = surface->Width();
  height = surface->Height();
  WritePixels(surface->Width(), surface->Height(), lockBuffer.data());
  madeByD3DX = byUtility;
  width = imageWidth;
  height = imageHeight;
  lockBuffer.clear();
}

void TDxTextureData::Restore() {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (imageFile.Length() == 0) {
    if (!CreateSurface(width, height)) {
      DebugLog("TDxTextureData::Restore: Failed to re-create a %d x %d texture.", width, height);
      if (handler) handler->NoteDeviceTrouble();
    }
    return;
  }
  TString image = imageFile;
  if (maskFile.Length() == 0) {
    if (!Load(image, nullptr)) {
      DebugLog("TDxTextureData::Restore: Failed to restore from file %s.", image.c_str());
      if (handler) handler->NoteDeviceTrouble();
    }
    return;
  }
  TString mask = maskFile;
  if (!Load(image, &mask)) {
    DebugLog("TDxTextureData::Restore: Failed to restore from file %s and %s.", image.c_str(),
             mask.c_str());
    if (handler) handler->NoteDeviceTrouble();
  }
}

void TDxTextureData::LoadPalette(const TString& name) {
  if (!(flags & kTexturePalettized)) return;
  if (namedPalettes.find(name) == namedPalettes.end()) {
    TFile file;
    if (!file.Open(name, kFileReadBinary)) {
      DebugLog("Unable to activate palette: %s", name.c_str());
      return;
    }
    std::vector<uint32_t> entries(256, 0);
    if (surface && surface->GetPalette()) surface->GetPalette()->GetEntries(0, 256, entries.data());
    std::vector<TRiffColour> colours;
    if (ReadRiffPalette(file, &colours)) {
      for (size_t i = 0; i < colours.size() && i < entries.size(); ++i) {
        entries[i] = (entries[i] & 0xFF000000u) | (uint32_t(colours[i].red) << 16) |
                     (uint32_t(colours[i].green) << 8) | colours[i].blue;
      }
    }
    namedPalettes[name] = std::move(entries);
  }
  currentPalette = namedPalettes[name].data();
}
