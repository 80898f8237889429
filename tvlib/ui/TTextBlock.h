// A laid-out block of mark-up text drawn with the vector font rasteriser.
//
// First cut: creation, text replacement and the draw call the frame-rate overlay makes;
// layout, mark-up and drawing come with the windows-and-text subsystem, so Draw only counts.
#pragma once

#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"

class TTextBlock {
 public:
  static TTextBlock* Create(const TString& text, const TString& fontName, int width, int height,
                            int layout1, int layout2, int layout3, const float colour[4]);
  // Destroys a block; null is allowed.
  static void Delete(TTextBlock* block) { delete block; }

  // Replaces the text (and lays it out again) when it differs.
  void SetText(const TString& text);
  void Draw(const TRect& area);

  const TString& GetText() const { return mText; }
  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  int GetDrawCount() const { return mDrawCount; }

 private:
  TTextBlock() = default;

  TString mText;
  TString mFontName;
  int mWidth = 0, mHeight = 0;
  int mLayout[3] = {};
  float mColour[4] = {};
  int mDrawCount = 0;
};
