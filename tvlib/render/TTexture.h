// The texture asset: the image resource every 2-D picture is drawn with (sprites, window
// images, the cursor, render targets). Textures are shared through shared pointers and found
// again by a text key through the asset manager; the device-side work is done by the
// texture's TDxTextureData, which the display handler makes for it.
//
// Keys: Get gives name ('\\' -> '/') + [":a"][":m"] + ":tex", GetSimple name + ":s:tex",
// GetMasked image + ":" + mask + [":m"] + ":tex", unnamed textures "%x:tex:r" of their own
// address. Draws and copies act only between the platform's Begin2d and End2d. Main thread only.
#pragma once

#include <memory>

#include "tvlib/core/TAsset.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TVec.h"
#include "tvlib/render/TDxTextureData.h"

// Load flags of Get.
inline constexpr uint32_t kLoadMipmaps = 1;
inline constexpr uint32_t kLoadAlpha = 2;
inline constexpr uint32_t kLoadOpaque = 4;
// Draw flags.
inline constexpr uint32_t kDrawMirrorX = 1;
inline constexpr uint32_t kDrawMirrorY = 2;

class TTexture : public TAsset {
  TV_ASSET_CLASS(TTexture, TAsset)

 public:
  ~TTexture() override;
  void Release() override;
  void Restore() override;

  // colour: red, green, blue in 0..1, null for white; anchor null: centred.
  virtual void DrawTransformed(const TVec2* position, float alpha, float scaleX, float scaleY,
                               float angle, const TVec2* anchor, const float* colour,
                               uint32_t flags, const TRect* sourceRect);
  virtual void DrawRotated(const TVec2* position, float alpha, float scale, float angle,
                           const TVec2* anchor, uint32_t flags);
  virtual void DrawAt(float x, float y, float alpha, float scale, float angle, uint32_t flags);
  virtual void DrawClipped(float x, float y, float alpha, float scale, const TRect* clipRect);
  // Copies sourceRect (clamped to the image) to (x, y) of target (empty: the render target).
  virtual void CopyRect(int x, int y, const TRect* sourceRect, std::shared_ptr<TTexture> target);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual void SetPalette(const TString& name);

  bool Lock(uint8_t** pixels, int* width, int* height, int* pitch);
  void Unlock();
  void GetSurfaceSize(int* width, int* height) const;
  TDxTextureData* GetData() const { return mData.get(); }

  static std::shared_ptr<TTexture> Get(const TString& name, uint32_t flags);
  static std::shared_ptr<TTexture> GetMasked(const TString& image, const TString& mask,
                                             bool mipmaps);
  static std::shared_ptr<TTexture> GetSimple(const TString& name);
  static std::shared_ptr<TTexture> Create(const TString& name);
  static std::shared_ptr<TTexture> CreateBlank(int width, int height, bool alpha);
  static std::shared_ptr<TTexture> CreateRenderTarget(int width, int height);
  static std::shared_ptr<TTexture> Find(const TString& key);

  static TString MakeKey(const TString& name, bool alpha, bool mipmaps, bool simple);
  static TString MakeMaskedKey(const TString& image, const TString& mask, bool mipmaps,
                               bool simple);
  TString MakeAnonymousKey() const;

 protected:
  // Subclasses (animated textures) register and load themselves.
  TTexture();
  bool CanDraw() const;

 private:
  std::unique_ptr<TDxTextureData> mData;
};
