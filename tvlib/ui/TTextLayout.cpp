// The layout of a text block: mark-up to lines of runs in quarter pixels, wrapping,
// fallback runs, alignment and the block's bounds.
#include <algorithm>
#include <climits>
#include <cmath>

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TVecFont.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TTextServices.h"

namespace {

constexpr uint32_t kBlank = ' ';
constexpr uint32_t kNewline = 10;
// Tab positions beyond this many pixels are as good as off any box.
constexpr int kMaxTabPixels = 1 << 20;

int RoundHalfAway(float v) {
  return static_cast<int>(std::lround(v));
}

// Quarter pixels to whole pixels: rounded, then divided rounding toward zero.
int QuarterToPixel(float quarters) {
  return RoundHalfAway(quarters) / 4;
}

}  // namespace

class TTextBlock::TLayout {
 public:
  explicit TLayout(TTextBlock& block)
      : mBlock(block),
        mText(block.mText.c_str()),
        mLength(static_cast<size_t>(block.mText.Length())),
        mTagEnds(mText, mLength),
        mState(block.mState) {
    TTextServices* services = GetTextServices();
    mFonts = services ? services->GetFontCache() : nullptr;
    if (mFonts) mDefaultFont = GetVecFont(mFonts, "fonts/default.mvec");
  }

  void Run();

 private:
  void LayOutLine();
  void OpenRun(TTextRun& run);
  // Reads the next tag or character into the open run; false once the run is closed.
  bool Step(TTextRun& run);
  bool Tag(TTextRun& run, const TTextTag& tag);
  bool Character(TTextRun& run);
  void Place(const TTextRun& run, int glyph);
  void CloseRun(TTextRun& run);
  // Goes back to the last blank of the line, which is dropped; the line ends before it.
  void WrapAtBlank();
  void FinishLine();

  TTextBlock& mBlock;
  const char* mText;
  size_t mLength;
  TTextTagEnds mTagEnds;
  TTextMarkupState& mState;
  TFontCache* mFonts = nullptr;
  std::shared_ptr<TVecFont> mDefaultFont;
  bool mFontMissingLogged = false;
  size_t mPos = 0;
  int mPendingAlignment = -1;
  float mTotalHeight = 0;
  float mMinLeft = static_cast<float>(INT_MAX), mMaxRight = 0;

  // The line being laid out.
  TTextLine mLine;
  size_t mLineStart = 0;
  float mPen = 0, mPendingAdvance = 0, mLead = 0;
  float mFirstOutline = 0, mCurrentOutline = 0;
  bool mFirstGlyph = true, mItalic = false, mLineDone = false, mFallback = false;
  bool mEndedByAlignment = false;
  int mPad = 0;
  int mRunCharacters = 0;
  int mLineCharacters = 0;  // characters kept on the line so far, the one being read too
  // The last blank of the line: where it is, the pen before it, the run it is in, and the
  // mark-up state of that run (taken at the run's first blank).
  bool mHasBreak = false;
  size_t mBreakPos = 0;
  float mBreakPen = 0;
  size_t mBreakRun = 0;
  bool mBreakItalic = false;
  size_t mSnapshotRun = SIZE_MAX;
  TTextMarkupState mBreakState;
};

void TTextBlock::Layout() {
  TLayout(*this).Run();
}

void TTextBlock::TLayout::Run() {
  TTextBlock& b = mBlock;
  b.mLines.clear();
  b.mBounds = {};
  mState.Reset(b.mFontName, b.mFontSize, b.mColor);
  while (mPos < mLength) LayOutLine();

  b.mTotalHeight = mTotalHeight;
  if (b.mLines.empty()) {
    b.mBounds.left = b.mBounds.right = 0;
  } else {
    b.mBounds.left = static_cast<int>(std::floor(mMinLeft));
    b.mBounds.right = static_cast<int>(std::ceil(mMaxRight));
  }
  if (b.mFlags & kAlignMiddle) {
    b.mBounds.top = b.mHeight / 2;
    b.mYOffset = -mTotalHeight * 0.5f;
  } else if (b.mFlags & kAlignBottom) {
    b.mBounds.top = b.mHeight;
    b.mYOffset = -mTotalHeight;
  } else {
    b.mBounds.top = 0;
    b.mYOffset = 0;
  }
  b.mBounds.bottom = b.mBounds.top + RoundHalfAway(b.mYOffset + mTotalHeight);
  b.mFirstLine = std::clamp(b.mFirstLine, 0, std::max(0, b.GetLineCount() - 1));
}

void TTextBlock::TLayout::LayOutLine() {
  mLine = TTextLine();
  mLineStart = mPos;
  mPen = mPendingAdvance = mLead = 0;
  mFirstOutline = mCurrentOutline = 0;
  mFirstGlyph = true;
  mItalic = mLineDone = mFallback = mEndedByAlignment = false;
  mPad = 0;
  mLineCharacters = 0;
  mHasBreak = false;
  mSnapshotRun = SIZE_MAX;
  while (!mLineDone && mPos < mLength) {
    TTextRun run;
    OpenRun(run);
    while (Step(run)) {
    }
  }
  FinishLine();
}

void TTextBlock::TLayout::OpenRun(TTextRun& run) {
  const TTextFontEntry& entry = mState.Font();
  std::shared_ptr<TVecFont> own = mFonts ? GetVecFont(mFonts, entry.face) : nullptr;
  if (mFallback) {
    run.font = mDefaultFont;
    run.ownFont = std::move(own);
  } else {
    run.font = std::move(own);
  }
  run.fontSize = entry.size;
  if (run.font) {
    const TVecFont& font = *run.font;
    const float body = font.GetAscent() + font.GetDescent();
    run.scale = body > 0 ? TVecFont::GetBodyFraction() * entry.size * 4.0f / body : 0.0f;
    run.baseline = static_cast<int>((font.GetLinePadding(true) + font.GetAscent()) * run.scale);
  }
  std::copy(entry.color, entry.color + 4, run.color);
  run.bold = mState.bold;
  run.italic = mState.italic;
  run.underline = mState.underline;
  run.linkId = mState.linkId;
  std::copy(mState.linkColor, mState.linkColor + 4, run.linkColor);
  run.outlineSize = mState.outlineSize;
  std::copy(mState.outlineColor, mState.outlineColor + 4, run.outlineColor);
  run.first = static_cast<int>(mPos);
  run.last = -2;
  run.left = QuarterToPixel(mPen);
  if (run.italic != mItalic && run.font) {
    // The slant moves the ink: make room as italic begins, take it back as it ends.
    mPen += run.scale / 3.0f * (run.italic ? run.font->GetDescent() : run.font->GetAscent());
  }
  mItalic = run.italic;
  mRunCharacters = 0;
}

bool TTextBlock::TLayout::Step(TTextRun& run) {
  TTextTag tag;
  if (mText[mPos] == '<' && ReadTextTag(mText, mTagEnds, mPos, &tag)) return Tag(run, tag);
  if (!Character(run)) return false;
  if (mPos >= mLength) {
    run.last = static_cast<int>(mLength) - 1;
    CloseRun(run);
    return false;
  }
  return true;
}

bool TTextBlock::TLayout::Tag(TTextRun& run, const TTextTag& tag) {
  const TTextTagKind kind = tag.kind;
  if (kind == TTextTagKind::kCursor || kind == TTextTagKind::kLineBreak ||
      kind == TTextTagKind::kParagraphEnd) {
    ++mRunCharacters;
  }
  run.last = static_cast<int>(mPos) - 1;
  mPos += tag.length;
  mState.Apply(tag);
  run.cursor = kind == TTextTagKind::kCursor;
  if (tag.EndsLine()) {
    mLineDone = true;
    mEndedByAlignment = kind != TTextTagKind::kLineBreak && kind != TTextTagKind::kParagraphEnd;
    std::string_view pad;
    if (kind == TTextTagKind::kLineBreak && tag.FindAttribute("pad", &pad))
      mPad += std::clamp(ParseTextNumber(pad), -kMaxTabPixels, kMaxTabPixels);
  }
  std::string_view pos;
  if (kind == TTextTagKind::kTab && tag.FindAttribute("pos", &pos))
    run.tabPos = 4 * std::clamp(ParseTextNumber(pos), -kMaxTabPixels, kMaxTabPixels);
  CloseRun(run);
  if (run.tabPos != 0) mPen = static_cast<float>(run.tabPos);
  return false;
}

bool TTextBlock::TLayout::Character(TTextRun& run) {
  const size_t start = mPos;
  const uint32_t code = DecodeTextChar(mText, mLength, &mPos);
  ++mRunCharacters;
  ++mLineCharacters;
  if (code == kBlank) {
    mHasBreak = true;
    mBreakPos = start;
    mBreakPen = mPen;
    mBreakRun = mLine.runs.size();
    mBreakItalic = mItalic;
    if (mSnapshotRun != mBreakRun) {
      mBreakState.CopyFrom(mState);
      mSnapshotRun = mBreakRun;
    }
  }
  const float penBefore = mPen;
  if (!run.font) {
    if (!mFontMissingLogged) {
      DebugLog("ERROR: FONT missing in text when attempting to render string %s.", mText);
      mFontMissingLogged = true;
    }
  } else if (mFallback && run.ownFont && run.ownFont->FindGlyph(code) >= 0) {
    // The run's own face has this one again: a new run leaves the fallback.
    --mRunCharacters;
    --mLineCharacters;
    mPos = start;
    run.last = static_cast<int>(start) - 1;
    mFallback = false;
    CloseRun(run);
    return false;
  } else if (const int glyph = run.font->FindGlyph(code); glyph >= 0) {
    Place(run, glyph);
  } else if (!mFallback && mDefaultFont && mDefaultFont != run.font &&
             mDefaultFont->FindGlyph(code) >= 0) {
    // The character is read again by a run in the default font.
    --mRunCharacters;
    --mLineCharacters;
    mPos = start;
    run.last = static_cast<int>(start) - 1;
    mFallback = true;
    CloseRun(run);
    return false;
  }

  if (code == kNewline) {
    run.last = static_cast<int>(start) - 1;
    mLineDone = true;
    CloseRun(run);
    return false;
  }
  const float edge = (mFirstOutline + 1.0f + mCurrentOutline) * 4.0f + mPen;
  if (RoundHalfAway(edge) <= mBlock.mWidth * 4) return true;
  if (mHasBreak && mBreakPos > mLineStart && mBreakPen != 0) {
    run.last = static_cast<int>(start) - 1;
    CloseRun(run);
    WrapAtBlank();
  } else if (mLineCharacters > 1) {
    // Cut before the character that overflows; it starts the next line.
    mPos = start;
    mPen = penBefore;
    run.last = static_cast<int>(start) - 1;
    CloseRun(run);
  } else {
    // Nothing fits before it: it stays, or no line would ever take it.
    run.last = static_cast<int>(mPos) - 1;
    CloseRun(run);
  }
  mLineDone = true;
  return false;
}

void TTextBlock::TLayout::Place(const TTextRun& run, int glyph) {
  const TVecFont& font = *run.font;
  mPen += mPendingAdvance;
  if (mFirstGlyph) {
    mLead = 4.0f - font.GetGlyphLeft(glyph) * run.scale;
    mPen += mLead;
    mFirstOutline = run.outlineSize;
    mFirstGlyph = false;
  }
  mCurrentOutline = run.outlineSize;
  const float advance = font.GetGlyphAdvance(glyph), right = font.GetGlyphRight(glyph);
  if (advance >= right) {
    mPen += advance * run.scale;
    mPendingAdvance = 0;
  } else {
    // The ink reaches past the advance: the line's last glyph counts with all of it.
    mPen += right * run.scale;
    mPendingAdvance = (advance - right) * run.scale;
  }
}

void TTextBlock::TLayout::CloseRun(TTextRun& run) {
  run.right = QuarterToPixel(mPen);
  if (mRunCharacters == 0) run.fontSize = run.baseline = 0;
  mLine.runs.push_back(std::move(run));
}

void TTextBlock::TLayout::WrapAtBlank() {
  if (mBreakRun + 1 < mLine.runs.size()) {
    // The blank is in an earlier run: the tags after it are read again on the next line.
    mLine.runs.resize(mBreakRun + 1);
    mState.CopyFrom(mBreakState);
    mItalic = mBreakItalic;
    TTextRun& kept = mLine.runs.back();
    kept.cursor = false;
    kept.tabPos = 0;
  }
  TTextRun& kept = mLine.runs.back();
  kept.last = static_cast<int>(mBreakPos) - 1;
  mPen = mBreakPen;
  kept.right = QuarterToPixel(mPen);
  if (kept.last < kept.first) kept.fontSize = kept.baseline = 0;
  mPos = mBreakPos + 1;
}

void TTextBlock::TLayout::FinishLine() {
  TTextLine& line = mLine;
  for (const TTextRun& run : line.runs) {
    line.height = std::max(line.height, run.fontSize);
    line.baseline = std::max(line.baseline, run.baseline);
  }
  line.height += mPad;
  const int flags = mBlock.mFlags;
  const int alignment = mPendingAlignment != -1 ? mPendingAlignment : flags;
  const int w = QuarterToPixel(mPen);
  if (alignment & kAlignCenter) {
    line.left = mBlock.mWidth / 2;
    line.subLeft = -w * 0.5f;
  } else if (alignment & kAlignRight) {
    line.left = mBlock.mWidth - RoundHalfAway(mCurrentOutline) - 1;
    line.subLeft = static_cast<float>(-w);
  } else {
    line.left = RoundHalfAway(mFirstOutline);
    line.subLeft = 0;
  }
  line.subLeft += mLead * 0.25f + 0.5f;
  if (mEndedByAlignment) mPendingAlignment = mState.Alignment();

  // Drawing starts the pen lead / 4 pixels into the laid-out line.
  const float start = line.left + line.subLeft - mLead * 0.25f;
  mMinLeft = std::min(mMinLeft, start);
  mMaxRight = std::max(mMaxRight, start + mPen * 0.25f);
  mTotalHeight += static_cast<float>(line.height);
  mBlock.mLines.push_back(std::move(mLine));
}
