// The text block's first cut: it keeps its parameters and counts draws.
#include "tvlib/ui/TTextBlock.h"

TTextBlock* TTextBlock::Create(const TString& text, const TString& fontName, int width, int height,
                               int layout1, int layout2, int layout3, const float colour[4]) {
  auto* block = new TTextBlock;
  block->mText = text;
  block->mFontName = fontName;
  block->mWidth = width;
  block->mHeight = height;
  block->mLayout[0] = layout1;
  block->mLayout[1] = layout2;
  block->mLayout[2] = layout3;
  for (int i = 0; i < 4; ++i) block->mColour[i] = colour[i];
  return block;
}

void TTextBlock::SetText(const TString& text) {
  if (text != mText) mText = text;
}

void TTextBlock::Draw(const TRect&) {
  ++mDrawCount;
}
