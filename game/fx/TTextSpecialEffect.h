// A special effect that shows a text: a block of mark-up text laid out in a 400 x 300 box
// centred on the effect's point, scaled over its life, faded and turned about the box's
// centre. An outline around the letters is written into the text as outline mark-up.
#pragma once

#include <memory>

#include "game/fx/TSpecialEffect.h"
#include "tvlib/core/TString.h"

class TTextBlock;

class TTextSpecialEffect : public TSpecialEffect {
 public:
  static constexpr int kBoxWidth = 400;
  static constexpr int kBoxHeight = 300;

  TTextSpecialEffect();
  ~TTextSpecialEffect() override;

  bool Update(float dt) override;
  void Draw(float scale, const TVec2* position) override;

  // Stores the text, wrapped in outline mark-up while the outline size is above 0; the
  // block, once made, shows it.
  void SetText(const TString& text);
  void SetOutline(int size, const float color[4]);
  // Stores the outline, sets the text when it is not empty, and makes the block (the font
  // file, empty for the default font; size in pixels; colour r, g, b, a).
  void Init(const TString& text, const TString& font, int fontSize, const float color[4],
            int outlineSize, const float outlineColor[4]);

  const TString& GetText() const { return mText; }
  int GetFontSize() const { return mFontSize; }
  const float* GetColor() const { return mColor; }
  int GetOutlineSize() const { return mOutlineSize; }
  const float* GetOutlineColor() const { return mOutlineColor; }
  const TTextBlock* GetBlock() const { return mBlock.get(); }

 private:
  struct BlockDeleter {
    void operator()(TTextBlock* block) const;
  };

  std::unique_ptr<TTextBlock, BlockDeleter> mBlock;
  TString mText;
  int mFontSize = 18;
  float mColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float mOutlineColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  int mOutlineSize = 0;
  float mBlockRotation = 0.0f;  // the rotation the block was last laid out with
};
