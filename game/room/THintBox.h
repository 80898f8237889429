// The level's hint box: a background picture with one text on it, styled and placed by the
// level. UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraSprite.h"

class TFestraText;
class TTexture;

class THintBox : public TFestraSprite {
  TV_SPRITE_CLASS(THintBox, TFestraSprite)

 public:
  // Makes the text on the box's layer, as a child.
  explicit THintBox(int layer = 0);
  ~THintBox() override;

  void SetBackground(std::shared_ptr<TTexture> texture) { SetTexture(std::move(texture)); }
  // An empty text in a box of the size, alignment flags, font, size and colour, at (x, y).
  void SetStyledText(int x, int y, int width, int height, int flags, const TString& font,
                     int fontSize, const float colour[4]);
  void SetText(const TString& text);
  const std::shared_ptr<TFestraText>& GetText() const { return mText; }

 private:
  std::shared_ptr<TFestraText> mText;
};
