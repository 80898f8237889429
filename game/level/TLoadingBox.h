// The box a level shows while it loads: the dialog background, an animated progress bar whose
// frame is the progress, and the word "loading" from the string table. The level builds it
// once, sets the progress after every loader step and draws it first in every frame.
// UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraSprite.h"

class TFestraAnimSprite;
class TFestraText;

class TLoadingBox : public TFestraSprite {
  TV_SPRITE_CLASS(TLoadingBox, TFestraSprite)

 public:
  static constexpr const char* kBackground = "backgrounds/longdialog";
  static constexpr const char* kProgressAnimation = "images/loading/loading";
  static constexpr const char* kLabel = "loading";

  explicit TLoadingBox(int layer = 0);
  ~TLoadingBox() override;

  // The background at five thirds of its size, the bar and the text.
  void Build();
  // Frame n of the bar, the last frame for n at or past it.
  void SetProgress(int n);

  const std::shared_ptr<TFestraSprite>& GetBackground() const { return mBackground; }
  const std::shared_ptr<TFestraAnimSprite>& GetProgressBar() const { return mProgress; }
  const std::shared_ptr<TFestraText>& GetText() const { return mText; }

 private:
  std::shared_ptr<TFestraSprite> mBackground;
  std::shared_ptr<TFestraAnimSprite> mProgress;
  std::shared_ptr<TFestraText> mText;
};
