// Animated textures: lookup and loading, and drawing the current frame.
#include "tvlib/media/TAnimatedTexture.h"

#include <string>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/media/TSpriteQuad.h"
#include "tvlib/render/TDxTextureData.h"

namespace {

// An ".anm" file larger than this is not an animation.
constexpr int kMaxAnmBytes = 64 << 20;

bool Contains(const TString& text, const char* part) {
  return text.Find(part) >= 0;
}

}  // namespace

TAnimatedTexture::TAnimatedTexture(const TString& file) : mFileName(file) {}

TString TAnimatedTexture::MakeKey(const TString& file, const TString& image, const TString& mask) {
  return file + ":" + image + ":" + mask;
}

std::shared_ptr<TAnimatedTexture> TAnimatedTexture::Get(const TString& file, const TString& image,
                                                        const TString& mask) {
  const TString key = MakeKey(file, image, mask);
  TAssetManager* assets = GetAssetManager();
  if (assets) {
    if (std::shared_ptr<TAsset> found = assets->Find(key)) {
      if (found->IsKindOf(GetClassId())) return std::static_pointer_cast<TAnimatedTexture>(found);
    }
  }
  std::shared_ptr<TAnimatedTexture> texture(new TAnimatedTexture(file));
  if (assets) assets->Insert(key, texture);
  if (!texture->LoadAnimation(image, mask) || !texture->LoadSheet()) return nullptr;
  return texture;
}

bool TAnimatedTexture::LoadAnimation(const TString& image, const TString& mask) {
  TString name = mFileName;
  if (!FileExists(name)) {
    name = mFileName + ".xml";
    if (!FileExists(name)) name = mFileName + ".anm";
    if (!FileExists(name)) return false;
  }
  bool ok = false;
  if (Contains(name, ".xml")) {
    TXmlNode document;
    document.LoadFile(name);
    ok = ReadAnimationXml(document, &mAnimation);
  } else if (Contains(name, ".anm")) {
    std::string bytes;
    ok =
        FileReadAll(name.c_str(), 0, kMaxAnmBytes, &bytes) &&
        ReadAnimationAnm(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &mAnimation);
    if (!ok) DebugLog("TAnimatedTexture: %s is not a readable animation file", name.c_str());
  }
  if (!ok) return false;
  TString slashed = name;
  slashed.Replace("\\", "/", TString::kAll);
  const int slash = slashed.FindChar('/', TString::kBackward);
  mFolder = slash >= 0 ? name.Substr(0, slash + 1) : TString();
  if (image.Length() > 0) mAnimation.imageName = image;
  if (mask.Length() > 0) mAnimation.maskName = mask;
  return true;
}

bool TAnimatedTexture::LoadSheet() {
  TDxTextureData* data = GetData();
  if (!data) return false;
  data->flags |= kTextureHasAlpha;
  data->flags &= ~kTextureDetectAlpha;
  const TString mask = mFolder + mAnimation.maskName;
  if (!data->Load(mFolder + mAnimation.imageName,
                  mAnimation.maskName.Length() > 0 ? &mask : nullptr))
    return false;
  if (!FitAnimationToSheet(&mAnimation, data->width, data->height))
    DebugLog("TAnimatedTexture: frames of %s lie outside its %d x %d sheet; they are cut to it",
             mFileName.c_str(), data->width, data->height);
  return true;
}

const TAnimFrame* TAnimatedTexture::CurrentFrame() const {
  if (mCurrentFrame < 0 || mCurrentFrame >= GetFrameCount()) return nullptr;
  return &mAnimation.frames[static_cast<size_t>(mCurrentFrame)];
}

void TAnimatedTexture::SetCurrentFrame(int index) {
  if (index >= -1 && index < GetFrameCount()) mCurrentFrame = index;
}

int TAnimatedTexture::GetWidth() const {
  const TAnimFrame* frame = CurrentFrame();
  return frame ? frame->width : 0;
}

int TAnimatedTexture::GetHeight() const {
  const TAnimFrame* frame = CurrentFrame();
  return frame ? frame->height : 0;
}

TRect TAnimatedTexture::GetFrameRect(int index) const {
  if (index < 0 || index >= GetFrameCount()) return TRect{};
  const TAnimFrame& f = mAnimation.frames[static_cast<size_t>(index)];
  return TRect{-f.regX, -f.regY, f.width - f.regX, f.height - f.regY};
}

void TAnimatedTexture::Draw(const TDrawSpec& record) {
  const TAnimFrame* frame = CurrentFrame();
  if (!frame || frame->width == 0) return;
  TDrawSpec spec = record;
  if (!(spec.flags & kSpecRegistration)) {
    // With the current frame's own size the halves vanish: its registration point.
    spec.flags |= kSpecRegistration;
    spec.origin = TVec2(static_cast<float>(frame->regX + (GetWidth() - frame->width) / 2),
                        static_cast<float>(frame->regY + (GetHeight() - frame->height) / 2));
  }
  if (mAnimation.HasFrameTransforms()) {
    // The frame's matrix turns the frame about its registration point, before the record
    // places it: applied after the record, it would turn the position as well.
    const float* t = frame->transform;
    spec.transform = TMat3(t[0], t[1], 0, t[2], t[3], 0, 0, 0, 1) * spec.transform;
  }
  spec.flags |= kSpecSourceRect;
  spec.sourceRect = TRect{frame->x, frame->y, frame->x + frame->width, frame->y + frame->height};
  DrawSpriteQuad(std::static_pointer_cast<TTexture>(shared_from_this()), spec);
}

void TAnimatedTexture::DrawTransformed(const TVec2* position, float alpha, float scaleX,
                                       float scaleY, float angle, const TVec2* anchor,
                                       const float* colour, uint32_t flags,
                                       const TRect* sourceRect) {
  TDrawSpec spec(position ? *position : TVec2(), alpha, 1.0f, flags);
  // Scaled about the position, which stays where it was given.
  const TVec2 at = spec.GetPosition();
  spec.transform.Scale(scaleX, scaleY);
  spec.SetPosition(at);
  spec.transform.Rotate(angle);
  if (sourceRect) {
    spec.flags |= kSpecSourceRect;
    spec.sourceRect = *sourceRect;
  }
  if (anchor) {
    spec.flags |= kSpecRegistration;
    spec.origin = *anchor;
  }
  if (colour) spec.colour = TDrawColor{colour[0], colour[1], colour[2], 1.0f};
  Draw(spec);
}

void TAnimatedTexture::DrawRotated(const TVec2* position, float alpha, float scale, float angle,
                                   const TVec2* anchor, uint32_t flags) {
  TDrawSpec spec(position ? *position : TVec2(), alpha, scale, flags);
  spec.transform.Rotate(angle);
  if (anchor) {
    spec.flags |= kSpecRegistration;
    spec.origin = *anchor;
  }
  Draw(spec);
}

void TAnimatedTexture::DrawAt(float x, float y, float alpha, float scale, float angle,
                              uint32_t flags) {
  TDrawSpec spec(TVec2(x, y), alpha, scale, flags);
  spec.transform.Rotate(angle);
  Draw(spec);
}
