// An animation as a texture: the sheet is the texture's own image, the record (TAnimation)
// holds the frames and the script, and a current frame says which rectangle is drawn, placed
// by its registration point. Shared through the asset manager under "file:image:mask".
//
// Get resolves the file name as given, then with ".xml", then with ".anm"; non-empty image
// and mask names given to Get replace the file's. The current frame belongs to the shared
// texture: each sprite sets its own before drawing. UI thread only.
#pragma once

#include <memory>

#include "tvlib/media/TAnimation.h"
#include "tvlib/media/TDrawSpec.h"
#include "tvlib/render/TTexture.h"

class TAnimatedTexture : public TTexture {
  TV_ASSET_CLASS(TAnimatedTexture, TTexture)

 public:
  // The live animation under the key, or a new one loaded with its sheet; empty on failure.
  static std::shared_ptr<TAnimatedTexture> Get(const TString& file, const TString& image,
                                               const TString& mask);
  static TString MakeKey(const TString& file, const TString& image, const TString& mask);

  // The current frame under `spec`: placed by its registration point unless the record has
  // its own, turned by the frame's matrix when the file gives frame transforms. Nothing is
  // drawn without a current frame or for a frame of width 0.
  void Draw(const TDrawSpec& spec);
  void DrawTransformed(const TVec2* position, float alpha, float scaleX, float scaleY, float angle,
                       const TVec2* anchor, const float* colour, uint32_t flags,
                       const TRect* sourceRect) override;
  void DrawRotated(const TVec2* position, float alpha, float scale, float angle,
                   const TVec2* anchor, uint32_t flags) override;
  void DrawAt(float x, float y, float alpha, float scale, float angle, uint32_t flags) override;
  // The current frame's size; 0 without one.
  int GetWidth() const override;
  int GetHeight() const override;

  int GetFrameCount() const { return static_cast<int>(mAnimation.frames.size()); }
  int GetCurrentFrame() const { return mCurrentFrame; }
  // Accepted for -1 (none) to the last frame; anything else is ignored.
  void SetCurrentFrame(int index);
  TString GetScript() const { return mAnimation.script; }
  // (-regx, -regy, width - regx, height - regy) of the frame; zeros out of range.
  TRect GetFrameRect(int index) const;
  const TAnimation& GetAnimation() const { return mAnimation; }
  const TString& GetFileName() const { return mFileName; }
  const TString& GetFolder() const { return mFolder; }

 private:
  explicit TAnimatedTexture(const TString& file);
  bool LoadAnimation(const TString& image, const TString& mask);
  bool LoadSheet();
  const TAnimFrame* CurrentFrame() const;

  TAnimation mAnimation;
  TString mFileName;
  TString mFolder;
  int mCurrentFrame = -1;
};
