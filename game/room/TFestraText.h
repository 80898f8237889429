// A room sprite showing a block of mark-up text in a box of fixed size, placed at its
// position by the sprite's stored anchor (the nine anchors, halves rounded toward zero).
// The in-level widgets use it for labels and numbers. Without SetupText it shows no text.
// UI thread only.
#pragma once

#include "game/room/TFestraSprite.h"
#include "tvlib/core/TString.h"

class TTextBlock;

class TFestraText : public TFestraSprite {
  TV_SPRITE_CLASS(TFestraText, TFestraSprite)

 public:
  explicit TFestraText(int layer = 0) : TFestraSprite(layer) {}
  ~TFestraText() override;

  // Draws the text into its box, then the sprite's own picture and children.
  void Draw(const TDrawSpec& parent, int depth) override;
  // The text box moved by the parent's position.
  TRect GetBounds(int depth) override;

  // A new text block of the text in a box, with the text block's alignment flags, font,
  // size and colour (r, g, b, a in 0..1); replaces any earlier one.
  void SetupText(const TString& text, float boxWidth, float boxHeight, int flags,
                 const TString& font, int fontSize, const float colour[4]);
  // Nothing before SetupText; lays the text out again only when it changed.
  virtual void SetText(const TString& text);
  // Empty before SetupText.
  virtual TString GetText() const;
  // (X, Y, X + width, Y + height) of the position and the box, truncated.
  virtual TRect GetTextBounds() const;
  // The rectangle the text was last drawn into.
  const TRect& GetTextRect() const { return mTextRect; }

 private:
  TRect mTextRect;
  TTextBlock* mBlock = nullptr;
  float mBoxWidth = 0;
  float mBoxHeight = 0;
};
