// The device side of a texture: turns an image request into a surface the device can sample,
// uploads and reads pixels, keeps named palettes for 8-bit textures, draws the texture as a
// screen-space quad, copies rectangles, and rebuilds its surface after the device was lost.
//
// Needs: the platform's display handler (its device, context and flags), the image loaders,
// the file layer. Pixel buffers exchanged with the loaders and with Lock are 32 bits a pixel,
// bytes blue, green, red, alpha. Main thread only.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TVec.h"
#include "tvlib/platform/render/TSurface.h"

class TTexture;

// Texture data flags.
inline constexpr uint32_t kTextureRenderTarget = 0x01;
inline constexpr uint32_t kTextureHasAlpha = 0x02;
inline constexpr uint32_t kTextureDetectAlpha = 0x04;
inline constexpr uint32_t kTextureMipmapped = 0x08;
inline constexpr uint32_t kTexturePlainSurface = 0x10;
inline constexpr uint32_t kTextureSystemMemory = 0x20;
inline constexpr uint32_t kTexturePalettized = 0x40;

class TDxTextureData {
 public:
  TDxTextureData() = default;
  ~TDxTextureData();
  TDxTextureData(const TDxTextureData&) = delete;
  TDxTextureData& operator=(const TDxTextureData&) = delete;

  void ReleaseSurface();
  void Restore();
  // request: a virtual path, optionally with "?" and options; mask: null or a file name.
  bool Load(const TString& request, const TString* mask);
  bool CreateSurface(int width, int height);
  void CopyRect(int x, int y, const TRect* sourceRect, const std::shared_ptr<TTexture>& target);
  void DrawClipped(float x, float y, float alpha, float scale, const TRect* clipRect);
  // colour: red, green, blue in 0..1 (null: white); matrix: four floats or null; flags 1
  // mirrors left-right, 2 top-bottom.
  void Draw(const TVec2* position, float alpha, float scaleX, float scaleY, float angle,
            const TVec2* anchor, const float* colour, uint32_t flags, const float* matrix,
            const TRect* sourceRect);
  void Clear();
  bool Lock(uint8_t** pixels, int* width, int* height, int* pitch);
  void Unlock();
  void GetSurfaceSize(int* width, int* height) const;
  void LoadPalette(const TString& name);
  // Converts bufferWidth-wide ARGB rows into the surface (rows 0..height-1, columns 0..width-1).
  bool WritePixels(int bufferWidth, int bufferHeight, const uint32_t* pixels);
  // Reads the surface into ARGB rows stride pixels apart.
  bool ReadPixels(int stride, uint32_t* pixels);

  // The next alpha texture chooses its format again (a new device).
  static void ClearAlphaFormatCache();

  TString imageFile;
  TString maskFile;
  int width = 0;
  int height = 0;
  uint32_t flags = 0;
  sd::TSurfacePtr surface;
  int mipLevels = 0;
  int allocatedWidth = 0;
  int allocatedHeight = 0;
  bool madeByD3DX = false;
  const uint32_t* currentPalette = nullptr;
  std::map<TString, std::vector<uint32_t>> namedPalettes;
  std::vector<uint32_t> lockBuffer;

 private:
  bool CreateDirectDrawSurface(int width, int height, const sd::TPixelFormat& screen);
  bool CreateUtilityTexture(int width, int height, const sd::TPixelFormat& screen);
  void ChooseAlphaFormat(uint32_t bitCount);
  bool DecodeInto(const TString& name, const TString& paletteFile, std::vector<uint8_t>* pixels,
                  int* imageWidth, int* imageHeight, int* side, bool* alpha,
                  std::vector<uint32_t>* palette);
  bool UploadPalettized(const std::vector<uint8_t>& indices, int side,
                        const std::vector<uint32_t>& palette);
};
