// A laid-out block of mark-up text (TTextMarkup.h) in a box: lines of runs, each run a
// stretch of characters in one style, placed in quarter pixels, drawn with the vector
// rasteriser from the fonts of the font cache.
//
// Needs the text services (TTextServices.h) for fonts and drawing. The layout runs when the
// text or rotation changes, never per frame; drawing and hit tests reuse its lines. Lines
// wrap at blanks (or, in a word wider than the box, before the character that overflows);
// characters the run's face lacks are drawn from "fonts/default.mvec" in runs of their own.
#pragma once

#include <memory>
#include <vector>

#include "tvlib/core/TPoint.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TTextMarkup.h"

class TVecFont;
struct TLockedPixels;

struct TTextRun {
  std::shared_ptr<TVecFont> font;  // null when no font could be found
  float scale = 0;                 // font units to quarter pixels
  int fontSize = 0;                // pixels; 0 for a run without characters
  int baseline = 0;                // quarter pixels below the line's top
  // The run's own face while `font` is the default font standing in for missing glyphs.
  std::shared_ptr<TVecFont> ownFont;
  float color[4] = {};
  bool bold = false, italic = false, underline = false, cursor = false;
  int first = 0, last = -2;  // byte indices, inclusive; last < first: no characters
  int left = 0, right = 0;   // pixels on the line
  TString linkId;
  float linkColor[4] = {};
  float outlineSize = 0;
  float outlineColor[4] = {};
  int tabPos = 0;  // quarter pixels the pen moves to after the run; 0: none
};

struct TTextLine {
  int height = 0;     // pixels: the largest font size of its runs, plus a "br" pad
  int baseline = 0;   // quarter pixels
  int left = 0;       // pixels, from the alignment
  float subLeft = 0;  // pixels: fine offset of the alignment and the first glyph
  std::vector<TTextRun> runs;
};

class TTextBlock {
 public:
  // Alignment flags: one horizontal and one vertical value.
  static constexpr int kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2;
  static constexpr int kAlignTop = 0, kAlignMiddle = 4, kAlignBottom = 8;

  // A block with the box, flags, base font (an empty name is "__DEFAULT"), size and colour,
  // laid out with the text.
  static TTextBlock* Create(const TString& text, int width, int height, int flags,
                            const TString& fontName, int fontSize, const float color[4]);
  // Destroys a block; null is allowed.
  static void Delete(TTextBlock* block) { delete block; }

  // Replaces the text and lays it out again when it differs.
  void SetText(const TString& text);
  const TString& GetText() const { return mText; }
  // Turns the block about (originX, originY) of its box and lays it out again.
  void SetRotation(float angleDegrees, int originX, int originY);
  void Layout();

  // Draws the block into `rect` (screen pixels, inclusive), every size times `scale`,
  // `lineSpacing` pixels between lines, every alpha times `alpha`. Unless keepIntegral, an
  // embedded game's display scale applies too. With a target the text goes into its pixels
  // (and `targetOwner` is held until drawing ends), else to the display.
  void Draw(const TRect& rect, float scale = 1.0f, int lineSpacing = 0, float alpha = 1.0f,
            bool keepIntegral = false, const TLockedPixels* target = nullptr,
            std::shared_ptr<void> targetOwner = {}) const;

  // The link id of the run under a point relative to the box; empty when none.
  TString GetLinkAt(TPoint point, int lineSpacing) const;
  // Sets the hot link to the one under the point (none for null); true when it changed.
  bool SetHotLinkAt(const TPoint* point, int lineSpacing);
  const TString& GetHotLink() const { return mHotLink; }
  int GetLineCount() const { return static_cast<int>(mLines.size()); }
  const std::vector<TTextLine>& GetLines() const { return mLines; }
  // The largest first line that still fills the box from there to the end; 0 when all fit.
  int GetScrollLimit(float scale, int lineSpacing) const;
  // Sets the first line drawn, kept within the lines; true when it changed.
  bool SetFirstLine(int first);
  int GetFirstLine() const { return mFirstLine; }
  // The pixels the laid-out text covers, relative to the box.
  TRect GetBounds() const;

  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  void SetFlatShading(bool flat) { mFlatShading = flat; }

 private:
  TTextBlock(int width, int height, int flags, const TString& fontName, int fontSize,
             const float color[4]);

  class TLayout;
  class TPainter;

  TString mText;
  TTextMarkupState mState;
  TRect mBounds;  // left and right in pixels; top is where the first line's top is drawn
  int mWidth = 0, mHeight = 0;
  float mCosine = 1.0f, mSine = 0.0f;
  int mOriginX = 0, mOriginY = 0;
  bool mFlatShading = false;
  std::vector<TTextLine> mLines;
  TString mFontName;
  int mFontSize = 0;
  float mColor[4] = {};
  int mFirstLine = 0;
  float mYOffset = 0;
  float mTotalHeight = 0;
  TString mHotLink;
  int mFlags = 0;
};
