// Loading a texture from an image request: the options after "?", the extension fallback, the
// mask, the surface size rule and the upload (through the palette for palettised textures).
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TDxTextureData.h"
#include "tvlib/render/TImageLoader.h"

namespace {

bool Contains(const TString& text, const char* word) {
  return text.Find(word) >= 0;
}

bool HasImageExtension(const TString& name) {
  return Contains(name, ".png") || Contains(name, ".jpg");
}

// The palette file named by "palette": from 8 characters after the word to "," or the end.
TString PaletteOption(const TString& options) {
  int at = options.Find("palette");
  if (at < 0) return TString();
  int start = at + 8;
  if (start >= options.Length()) return TString();
  TString rest = options.Substr(start);
  int comma = rest.FindChar(',');
  return comma >= 0 ? rest.Substr(0, comma) : rest;
}

}  // namespace

bool TDxTextureData::DecodeInto(const TString& name, const TString& paletteFile,
                                std::vector<uint8_t>* pixels, int* imageWidth, int* imageHeight,
                                int* side, bool* alpha, std::vector<uint32_t>* palette) {
  TDecodedImage image;
  bool ok = false;
  if (Contains(name, ".png")) {
    ok = LoadPng(name, palette != nullptr, paletteFile, &image);
    if (ok && alpha) *alpha = image.hasAlpha;
  } else if (Contains(name, ".jpg")) {
    ok = LoadJpeg(name, &image);
    if (ok && alpha) *alpha = false;
  }
  if (!ok) return false;
  *pixels = std::move(image.pixels);
  *imageWidth = image.width;
  *imageHeight = image.height;
  *side = image.side;
  if (palette) *palette = std::move(image.palette);
  return true;
}

bool TDxTextureData::Load(const TString& request, const TString* mask) {
  TString name = request;
  TString paletteFile;
  int question = request.FindChar('?');
  if (question >= 0) {
    TString options = request.Substr(question);
    if (Contains(options, "slow")) flags |= kTextureSystemMemory;
    if (Contains(options, "simple")) flags |= kTexturePlainSurface;
    if (Contains(options, "rt")) flags |= kTextureRenderTarget;
    if (Contains(options, "alpha")) flags = (flags | kTextureHasAlpha) & ~kTextureDetectAlpha;
    if (Contains(options, "palettized")) flags |= kTexturePalettized;
    paletteFile = PaletteOption(options);
    name = request.Substr(0, question);
  }
  if (!FileExists(name)) {
    if (HasImageExtension(name)) return false;
    return Load(name + ".png", mask) || Load(name + ".jpg", mask);
  }

  std::vector<uint8_t> pixels;
  std::vector<uint32_t> palette;
  int imageWidth = 0, imageHeight = 0, side = 0;
  bool palettized = (flags & kTexturePalettized) != 0;
  bool fileAlpha = false;
  if (!DecodeInto(name, paletteFile, &pixels, &imageWidth, &imageHeight, &side, &fileAlpha,
                  palettized ? &palette : nullptr)) {
    return false;
  }
  if (Contains(name, ".png") && (flags & kTextureDetectAlpha)) {
    flags = fileAlpha ? (flags | kTextureHasAlpha) : (flags & ~kTextureHasAlpha);
  }

  if (mask) {
    if (!FileExists(*mask)) {
      if (HasImageExtension(*mask)) return false;
      TString jpg = *mask + ".jpg", png = *mask + ".png";
      return Load(request, &jpg) || Load(request, &png);
    }
    std::vector<uint8_t> maskPixels;
    int maskWidth = 0, maskHeight = 0, maskSide = 0;
    if (!DecodeInto(*mask, TString(), &maskPixels, &maskWidth, &maskHeight, &maskSide, nullptr,
                    nullptr)) {
      return false;
    }
    // A mask of another size is ignored: the image keeps its own alpha.
    if (maskSide == side && !palettized) {
      for (size_t i = 0; i + 3 < pixels.size(); i += 4) pixels[i + 3] = maskPixels[i + 2];
    }
  }

  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  int surfaceHeight = 1;
  while (surfaceHeight < imageHeight) surfaceHeight *= 2;
  if (handler && handler->RequiresSquareTextures() && !(flags & kTexturePlainSurface))
    surfaceHeight = side;
  if (!CreateSurface(side, surfaceHeight)) return false;
  width = imageWidth;
  height = imageHeight;
  if (surface) {
    if (!palettized) {
      if (!WritePixels(side, surfaceHeight, reinterpret_cast<const uint32_t*>(pixels.data())))
        return false;
    } else if (palette.empty() || !UploadPalettized(pixels, side, palette)) {
      return false;
    }
  }
  maskFile = mask ? *mask : TString();
  imageFile = request;
  return true;
}

bool TDxTextureData::UploadPalettized(const std::vector<uint8_t>& indices, int side,
                                      const std::vector<uint32_t>& palette) {
  TDxDisplayHandler* handler = TDxDisplayHandler::GetInstance();
  if (!handler || !handler->Data().directDraw) return false;
  std::shared_ptr<sd::TPalette> object;
  sd::HR hr = handler->Data().directDraw->CreatePalette(sd::kPaletteCaps8BitAllow256,
                                                        palette.data(), &object);
  if (sd::Failed(hr)) {
    if (hr == sd::kErrOutOfVideoMemory) handler->HandleOutOfVideoMemory();
    return true;
  }
  surface->SetPalette(object);
  sd::TLocked locked;
  if (sd::Succeeded(surface->Lock(nullptr, &locked, sd::kLockWait))) {
    int rows = std::min(height, surface->Height());
    int cols = std::min(side, surface->Width());
    for (int y = 0; y < rows; ++y) {
      std::copy_n(indices.data() + static_cast<size_t>(y) * side, cols,
                  locked.bits + static_cast<size_t>(y) * locked.pitch);
    }
    surface->Unlock();
  }
  std::vector<uint32_t> entries(256, 0);
  object->GetEntries(0, 256, entries.data());
  namedPalettes["default"] = std::move(entries);
  currentPalette = namedPalettes["default"].data();
  return true;
}
