// Drawing a laid-out text block with the vector rasteriser: glyphs with italic shear,
// outline and bold strokes, link colours and rotation, and the caret and underline bars.
#include <cmath>

#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFont.h"
#include "tvlib/render/TVecOutline.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TTextServices.h"

namespace {

// The bold stroke's half-width per pixel of font size, in the font's own scale.
constexpr float kBoldShare = 0.0125f;
// The underline's thickness per pixel of font size, and its least thickness in pixels.
constexpr float kUnderlineShare = 1.0f / 16;
constexpr float kCaretWidth = 1.0f;

// A square of one outline unit filled in the fill colour: bars are this square scaled.
const uint8_t kUnitSquare[] = {
    kOpLeftColour, 1, kOpMove, 0, 0, 0,   0, kOpLine, 128, 0, 0, 0, kOpLine, 128, 0,
    128,           0, kOpLine, 0, 0, 128, 0, kOpLine, 0,   0, 0, 0, kOpEnd,
};

}  // namespace

class TTextBlock::TPainter {
 public:
  TPainter(const TTextBlock& block, TTvMiniVecDraw& draw) : mBlock(block), mDraw(draw) {}

  void Paint(const TRect& rect, float scale, int lineSpacing, float alpha, bool keepIntegral,
             const TLockedPixels* target, const std::shared_ptr<void>& owner);

 private:
  void PaintRun(const TTextRun& run, float originX, float originY, float alpha,
                const TLockedPixels* target, const std::shared_ptr<void>& owner);
  void SetStrokes(const TTextRun& run, const float color[4], float alpha);
  // Moves the pen `length` quarter pixels along the text's direction.
  void Advance(float length) {
    mPenX += length * mBlock.mCosine;
    mPenY += length * mBlock.mSine;
  }
  // A filled bar `width` by `height` quarter pixels whose top-left corner is (along, down)
  // quarter pixels from the pen in the text's direction.
  void Bar(float along, float down, float width, float height);

  const TTextBlock& mBlock;
  TTvMiniVecDraw& mDraw;
  float mScale = 1.0f;    // every size
  float mDisplay = 1.0f;  // an embedded game's display scale (1 otherwise)
  float mPenX = 0, mPenY = 0;
  bool mItalic = false;
};

void TTextBlock::Draw(const TRect& rect, float scale, int lineSpacing, float alpha,
                      bool keepIntegral, const TLockedPixels* target,
                      std::shared_ptr<void> targetOwner) const {
  if (!(scale >= 0)) return;
  TTextServices* services = GetTextServices();
  TTvMiniVecDraw* draw = services ? services->GetTextRasteriser() : nullptr;
  if (!draw) return;
  TPainter(*this, *draw).Paint(rect, scale, lineSpacing, alpha, keepIntegral, target, targetOwner);
}

void TTextBlock::TPainter::Paint(const TRect& rect, float scale, int lineSpacing, float alpha,
                                 bool keepIntegral, const TLockedPixels* target,
                                 const std::shared_ptr<void>& owner) {
  const TTextBlock& b = mBlock;
  bool embedded = false;
  if (!keepIntegral) {
    float display = 1.0f;
    embedded = GetTextServices()->GetDisplayScale(&display) && display > 0;
    if (embedded) mDisplay = display;
  }
  mScale = scale;
  mDraw.flatShading = b.mFlatShading ? 1 : 0;
  mDraw.cosAngle = b.mCosine;
  mDraw.sinAngle = b.mSine;
  const float rectHeight = static_cast<float>(rect.bottom - rect.top);
  float y = b.mBounds.top + b.mYOffset;
  for (size_t i = static_cast<size_t>(b.mFirstLine); i < b.mLines.size(); ++i) {
    const TTextLine& line = b.mLines[i];
    const float bottom = (y + b.mFontSize) * scale;
    if (bottom <= rectHeight && bottom >= 0) {
      float x = (line.left + line.subLeft) * scale;
      float yb = (line.baseline * 0.25f + y) * scale;
      if (b.mSine != 0.0f) {
        const float dx = x - b.mOriginX, dy = yb - b.mOriginY;
        x = dx * b.mCosine - dy * b.mSine + b.mOriginX;
        yb = dx * b.mSine + dy * b.mCosine + b.mOriginY;
      }
      if (embedded) {
        x = std::round(x * mDisplay);
        yb = std::round(yb * mDisplay);
      }
      mPenX = mPenY = 0;
      mItalic = false;
      for (const TTextRun& run : line.runs)
        PaintRun(run, x + rect.left, yb + rect.top, alpha, target, owner);
    }
    y += line.height + lineSpacing;
  }
  mDraw.EndDraw();
}

void TTextBlock::TPainter::SetStrokes(const TTextRun& run, const float color[4], float alpha) {
  float* width = mDraw.strokeWidth;
  width[0] = width[1] = 0;
  if (run.outlineSize != 0) {
    width[0] = run.outlineSize * mDisplay;
    mDraw.SetColor(255, run.outlineColor, alpha);
  }
  if (run.bold || run.font->GetFlag()) {
    const float bold = run.fontSize * mScale * kBoldShare * run.font->GetScale() * mDisplay;
    if (width[0] != 0) {
      width[1] = bold;
      width[0] += bold;
      mDraw.SetColor(254, color, alpha);
    } else {
      width[0] = bold;
      mDraw.SetColor(255, color, alpha);
    }
  }
}

void TTextBlock::TPainter::PaintRun(const TTextRun& run, float originX, float originY, float alpha,
                                    const TLockedPixels* target,
                                    const std::shared_ptr<void>& owner) {
  const TTextBlock& b = mBlock;
  const float effective = mScale * mDisplay;
  const float unit = run.scale * effective;  // quarter pixels per font unit
  if (run.font && mDraw.BeginDraw(originX, originY, target, owner)) {
    const TVecFont& font = *run.font;
    const bool hot = run.linkId.Length() != 0 && run.linkId == b.mHotLink;
    const float* color = hot ? run.linkColor : run.color;
    mDraw.italic = run.italic ? 1 : 0;
    SetStrokes(run, color, alpha);
    mDraw.SetColor(1, color, alpha);
    if (run.italic != mItalic)
      Advance(unit / 3 * (run.italic ? font.GetDescent() : font.GetAscent()));
    mItalic = run.italic;

    const float startX = mPenX, startY = mPenY;
    float length = 0;
    const char* text = b.mText.c_str();
    const size_t end = static_cast<size_t>(run.last) + 1;
    for (size_t pos = static_cast<size_t>(run.first); pos < end;) {
      const int glyph = font.FindGlyph(DecodeTextChar(text, end, &pos));
      if (glyph < 0) continue;
      mDraw.scaleX = unit;
      mDraw.scaleY = unit * font.GetGlyphScale(glyph);
      mDraw.FillOutline(font.GetGlyphOutline(glyph), mPenX, mPenY);
      const float advance = font.GetGlyphAdvance(glyph) * unit;
      Advance(advance);
      length += advance;
    }
    if (run.cursor || run.underline) {
      mDraw.italic = 0;
      mDraw.strokeWidth[0] = mDraw.strokeWidth[1] = 0;
    }
    if (run.cursor) {
      mPenX = std::round(mPenX);
      mPenY = std::round(mPenY);
      Bar(0, -font.GetAscent() * unit, 4 * kCaretWidth * effective,
          (font.GetAscent() + font.GetDescent()) * unit);
    }
    if (run.underline) {
      const float thickness = std::max(1.0f, run.fontSize * kUnderlineShare) * 4 * effective;
      const float endX = mPenX, endY = mPenY;
      mPenX = startX;
      mPenY = startY;
      Bar(0, 4 * effective, length, thickness);
      mPenX = endX;
      mPenY = endY;
    }
  }
  if (run.tabPos != 0) {
    mPenX = mPenY = 0;
    Advance(run.tabPos * effective);
  }
}

void TTextBlock::TPainter::Bar(float along, float down, float width, float height) {
  if (width <= 0 || height <= 0) return;
  const float c = mBlock.mCosine, s = mBlock.mSine;
  mDraw.scaleX = width;
  mDraw.scaleY = height;
  mDraw.FillOutline(kUnitSquare, mPenX + along * c - down * s, mPenY + along * s + down * c);
}
