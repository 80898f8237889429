// The texture asset: keys, the get-or-load operations and the forwarding to the texture data.
#include "tvlib/render/TTexture.h"

#include <algorithm>

#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TRenderHost.h"

namespace {

bool In2d() {
  TRenderHost* host = GetCurrentRenderHost();
  return host && host->IsIn2d();
}

TString Slashed(const TString& name) {
  TString key = name;
  key.Replace("\\", "/", TString::kAll);
  return key;
}

}  // namespace

TTexture::TTexture() {
  if (TDisplayHandler* handler = GetCurrentDisplayHandler())
    mData.reset(handler->CreateTextureData());
}

TTexture::~TTexture() {
  if (!mData || mData->imageFile.Length() == 0) {
    if (TAssetManager* assets = GetAssetManager()) assets->Remove(MakeAnonymousKey());
  }
}

void TTexture::Release() {
  if (mData) mData->ReleaseSurface();
}

void TTexture::Restore() {
  if (mData) mData->Restore();
}

bool TTexture::CanDraw() const {
  return mData && In2d();
}

void TTexture::DrawTransformed(const TVec2* position, float alpha, float scaleX, float scaleY,
                               float angle, const TVec2* anchor, const float* colour,
                               uint32_t flags, const TRect* sourceRect) {
  if (!CanDraw()) return;
  static const float kWhite[4] = {1, 1, 1, 1};
  mData->Draw(position, alpha, scaleX, scaleY, angle, anchor, colour ? colour : kWhite, flags,
              nullptr, sourceRect);
}

void TTexture::DrawRotated(const TVec2* position, float alpha, float scale, float angle,
                           const TVec2* anchor, uint32_t flags) {
  if (!CanDraw()) return;
  mData->Draw(position, alpha, scale, scale, angle, anchor, nullptr, flags, nullptr, nullptr);
}

void TTexture::DrawAt(float x, float y, float alpha, float scale, float angle, uint32_t flags) {
  if (!CanDraw()) return;
  TVec2 position(x, y);
  mData->Draw(&position, alpha, scale, scale, angle, nullptr, nullptr, flags, nullptr, nullptr);
}

void TTexture::DrawClipped(float x, float y, float alpha, float scale, const TRect* clipRect) {
  if (CanDraw()) mData->DrawClipped(x, y, alpha, scale, clipRect);
}

void TTexture::CopyRect(int x, int y, const TRect* sourceRect, std::shared_ptr<TTexture> target) {
  if (!CanDraw()) return;
  if (!sourceRect) {
    mData->CopyRect(x, y, nullptr, target);
    return;
  }
  TRect clamped = *sourceRect;
  clamped.left = std::max(clamped.left, 0);
  clamped.top = std::max(clamped.top, 0);
  clamped.right = std::min(clamped.right, mData->width);
  clamped.bottom = std::min(clamped.bottom, mData->height);
  mData->CopyRect(x, y, &clamped, target);
}

int TTexture::GetWidth() const {
  return mData ? mData->width : 0;
}
int TTexture::GetHeight() const {
  return mData ? mData->height : 0;
}

void TTexture::SetPalette(const TString& name) {
  if (mData) mData->LoadPalette(name);
}

bool TTexture::Lock(uint8_t** pixels, int* width, int* height, int* pitch) {
  return mData && mData->Lock(pixels, width, height, pitch);
}

void TTexture::Unlock() {
  if (mData) mData->Unlock();
}

void TTexture::GetSurfaceSize(int* width, int* height) const {
  *width = *height = 0;
  if (mData) mData->GetSurfaceSize(width, height);
}

TString TTexture::MakeKey(const TString& name, bool alpha, bool mipmaps, bool simple) {
  TString key = Slashed(name);
  if (alpha) key += ":a";
  if (mipmaps) key += ":m";
  if (simple) key += ":s";
  return key + ":tex";
}

TString TTexture::MakeMaskedKey(const TString& image, const TString& mask, bool mipmaps,
                                bool simple) {
  TString key = image + ":" + mask;
  if (mipmaps) key += ":m";
  if (simple) key += ":s";
  return key + ":tex";
}

TString TTexture::MakeAnonymousKey() const {
  return TString::Format("%lx:tex:r",
                         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(this)));
}

std::shared_ptr<TTexture> TTexture::Find(const TString& key) {
  TAssetManager* assets = GetAssetManager();
  if (!assets) return nullptr;
  return std::static_pointer_cast<TTexture>(assets->Find(key));
}

std::shared_ptr<TTexture> TTexture::Create(const TString& name) {
  std::shared_ptr<TTexture> texture(new TTexture());
  if (TAssetManager* assets = GetAssetManager())
    assets->Insert(name.Length() == 0 ? texture->MakeAnonymousKey() : name, texture);
  return texture;
}

std::shared_ptr<TTexture> TTexture::Get(const TString& name, uint32_t flags) {
  TString key = MakeKey(name, (flags & kLoadAlpha) != 0, (flags & kLoadMipmaps) != 0, false);
  if (auto found = Find(key)) return found;
  auto texture = Create(key);
  TDxTextureData* data = texture->mData.get();
  if (!data) return nullptr;
  if (flags & kLoadAlpha) {
    data->flags |= kTextureHasAlpha;
  } else if (flags & kLoadOpaque) {
    data->flags &= ~kTextureHasAlpha;
  } else {
    data->flags |= kTextureDetectAlpha;
  }
  if (flags & kLoadMipmaps) data->flags |= kTextureMipmapped;
  if (!data->Load(name, nullptr)) return nullptr;
  return texture;
}

std::shared_ptr<TTexture> TTexture::GetMasked(const TString& image, const TString& mask,
                                              bool mipmaps) {
  TString key = MakeMaskedKey(image, mask, mipmaps, false);
  if (auto found = Find(key)) return found;
  auto texture = Create(key);
  TDxTextureData* data = texture->mData.get();
  if (!data) return nullptr;
  data->flags |= kTextureHasAlpha;
  if (mipmaps) data->flags |= kTextureMipmapped;
  if (!data->Load(image, &mask)) return nullptr;
  return texture;
}

std::shared_ptr<TTexture> TTexture::GetSimple(const TString& name) {
  TString key = MakeKey(name, false, false, true);
  if (auto found = Find(key)) return found;
  auto texture = Create(key);
  TDxTextureData* data = texture->mData.get();
  if (!data) return nullptr;
  data->flags |= kTexturePlainSurface | kTextureDetectAlpha;
  if (!data->Load(name, nullptr)) return nullptr;
  return texture;
}

std::shared_ptr<TTexture> TTexture::CreateBlank(int width, int height, bool alpha) {
  auto texture = Create(TString());
  TDxTextureData* data = texture->mData.get();
  if (!data) return nullptr;
  if (alpha) data->flags |= kTextureHasAlpha;
  if (!data->CreateSurface(width, height)) return nullptr;
  return texture;
}

std::shared_ptr<TTexture> TTexture::CreateRenderTarget(int width, int height) {
  auto texture = Create(TString());
  TDxTextureData* data = texture->mData.get();
  if (!data) return nullptr;
  data->flags |= kTextureRenderTarget | kTexturePlainSurface;
  if (!data->CreateSurface(width, height)) return nullptr;
  return texture;
}
