// Text sprites: their text block, box and anchored drawing.
#include "game/room/TFestraText.h"

#include <cmath>

#include "tvlib/ui/TTextBlock.h"

TFestraText::~TFestraText() {
  TTextBlock::Delete(mBlock);
}

void TFestraText::SetupText(const TString& text, float boxWidth, float boxHeight, int flags,
                            const TString& font, int fontSize, const float colour[4]) {
  TTextBlock::Delete(mBlock);
  mBlock = TTextBlock::Create(text, TruncateToInt(boxWidth), TruncateToInt(boxHeight), flags, font,
                              fontSize, colour);
  mBoxWidth = boxWidth;
  mBoxHeight = boxHeight;
}

void TFestraText::SetText(const TString& text) {
  if (mBlock) mBlock->SetText(text);
}

TString TFestraText::GetText() const {
  return mBlock ? mBlock->GetText() : TString();
}

TRect TFestraText::GetTextBounds() const {
  const TPoint at = GetPosition();
  return TRect{at.x, at.y, at.x + TruncateToInt(mBoxWidth), at.y + TruncateToInt(mBoxHeight)};
}

TRect TFestraText::GetBounds(int /*depth*/) {
  TRect r = GetTextBounds();
  const TPoint offset = ParentOffset(*this);
  return TRect{r.left + offset.x, r.top + offset.y, r.right + offset.x, r.bottom + offset.y};
}

void TFestraText::Draw(const TDrawSpec& parent, int depth) {
  if (!IsVisible()) return;
  if (mBlock) {
    const TDrawSpec spec = mSpec.Combine(parent);
    const int left = TruncateToInt(spec.GetPosition().x);
    const int top = TruncateToInt(spec.GetPosition().y);
    const int w = TruncateToInt(mBoxWidth);
    const int h = TruncateToInt(mBoxHeight);
    int moveLeft = 0, moveUp = 0;
    switch (GetAnchor()) {
      case kAnchorTopRight:
        moveLeft = w;
        break;
      case kAnchorBottomLeft:
        moveUp = h;
        break;
      case kAnchorBottomRight:
        moveLeft = w, moveUp = h;
        break;
      case kAnchorLeftMiddle:
        moveUp = h / 2;
        break;
      case kAnchorRightMiddle:
        moveLeft = w, moveUp = h / 2;
        break;
      case kAnchorTopCentre:
        moveLeft = w / 2;
        break;
      case kAnchorBottomCentre:
        moveLeft = w / 2, moveUp = h;
        break;
      case kAnchorCentre:
        moveLeft = w / 2, moveUp = h / 2;
        break;
      default:
        break;
    }
    mTextRect = TRect{left - moveLeft, top - moveUp, left + w - moveLeft, top + h - moveUp};
    const float scale = std::hypot(spec.transform.m[0][0], spec.transform.m[0][1]);
    mBlock->Draw(mTextRect, scale, 0, spec.alpha);
  }
  TFestraSprite::Draw(parent, depth);
}
