// The text block's life, text, rotation, hit tests and scrolling; the layout is in
// TTextLayout.cpp and the drawing in TTextDraw.cpp.
#include "tvlib/ui/TTextBlock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr float kRotationSnap = 0.0001f;
}  // namespace

TTextBlock::TTextBlock(int width, int height, int flags, const TString& fontName, int fontSize,
                       const float color[4])
    : mWidth(width),
      mHeight(height),
      mFontName(fontName.Length() == 0 ? TString("__DEFAULT") : fontName),
      mFontSize(fontSize),
      mFlags(flags) {
  std::copy(color, color + 4, mColor);
}

TTextBlock* TTextBlock::Create(const TString& text, int width, int height, int flags,
                               const TString& fontName, int fontSize, const float color[4]) {
  auto* block = new TTextBlock(width, height, flags, fontName, fontSize, color);
  block->mText = text;
  block->Layout();
  return block;
}

void TTextBlock::SetText(const TString& text) {
  if (text == mText) return;
  mText = text;
  Layout();
}

void TTextBlock::SetRotation(float angleDegrees, int originX, int originY) {
  const double radians = angleDegrees * std::numbers::pi / 180.0;
  mCosine = static_cast<float>(std::cos(radians));
  mSine = static_cast<float>(std::sin(radians));
  if (std::fabs(mCosine - 1.0f) < kRotationSnap && std::fabs(mSine) < kRotationSnap) {
    mCosine = 1.0f;
    mSine = 0.0f;
  }
  mOriginX = originX;
  mOriginY = originY;
  Layout();
}

TString TTextBlock::GetLinkAt(TPoint point, int lineSpacing) const {
  float y = mBounds.top + mYOffset;
  for (size_t i = static_cast<size_t>(mFirstLine); i < mLines.size(); ++i) {
    const TTextLine& line = mLines[i];
    if (y - lineSpacing <= point.y && point.y <= y + line.height) {
      const float x = line.left + line.subLeft;
      for (const TTextRun& run : line.runs) {
        if (run.left + x <= point.x && point.x <= run.right + x) return run.linkId;
      }
    }
    y += line.height + lineSpacing;
  }
  return TString();
}

bool TTextBlock::SetHotLinkAt(const TPoint* point, int lineSpacing) {
  TString link = point ? GetLinkAt(*point, lineSpacing) : TString();
  if (link == mHotLink) return false;
  mHotLink = link;
  return true;
}

int TTextBlock::GetScrollLimit(float scale, int lineSpacing) const {
  float sum = 0;
  for (int i = GetLineCount() - 1; i >= 0; --i) {
    sum += (mLines[i].height + lineSpacing) * scale;
    if (sum > mHeight) return i + 1;
  }
  return 0;
}

bool TTextBlock::SetFirstLine(int first) {
  first = std::clamp(first, 0, std::max(0, GetLineCount() - 1));
  if (first == mFirstLine) return false;
  mFirstLine = first;
  return true;
}

TRect TTextBlock::GetBounds() const {
  TRect bounds = mBounds;
  bounds.top = static_cast<int>(std::lround(mBounds.top + mYOffset));
  return bounds;
}
