// The text kind: outline mark-up, the block in its box and its drawing at the point.
#include "game/fx/TTextSpecialEffect.h"

#include <algorithm>
#include <cmath>

#include "tvlib/core/TRect.h"
#include "tvlib/ui/TTextBlock.h"

namespace {

// A colour component as two hex digits' worth: 0 to 255, truncated.
int ColorByte(float component) {
  if (!(component > 0.0f)) return 0;
  return static_cast<int>(std::min(component, 1.0f) * 255.0f);
}

}  // namespace

void TTextSpecialEffect::BlockDeleter::operator()(TTextBlock* block) const {
  TTextBlock::Delete(block);
}

TTextSpecialEffect::TTextSpecialEffect() = default;
TTextSpecialEffect::~TTextSpecialEffect() = default;

bool TTextSpecialEffect::Update(float dt) {
  if (!TSpecialEffect::Update(dt)) return false;
  Turn(dt);
  Move(dt);
  return true;
}

void TTextSpecialEffect::SetOutline(int size, const float color[4]) {
  mOutlineSize = size;
  std::copy(color, color + 4, mOutlineColor);
}

void TTextSpecialEffect::SetText(const TString& text) {
  if (mOutlineSize > 0) {
    mText =
        TString::Format("<outline color='%.2x%.2x%.2x' size='%d'>", ColorByte(mOutlineColor[0]),
                        ColorByte(mOutlineColor[1]), ColorByte(mOutlineColor[2]), mOutlineSize) +
        text + "</outline>";
  } else {
    mText = text;
  }
  if (mBlock) mBlock->SetText(mText);
}

void TTextSpecialEffect::Init(const TString& text, const TString& font, int fontSize,
                              const float color[4], int outlineSize, const float outlineColor[4]) {
  SetOutline(outlineSize, outlineColor);
  if (text.Length() > 0) SetText(text);
  mBlock.reset(TTextBlock::Create(mText, kBoxWidth, kBoxHeight,
                                  TTextBlock::kAlignCenter | TTextBlock::kAlignMiddle, font,
                                  fontSize, color));
  mBlockRotation = 0.0f;
  mFontSize = fontSize;
  std::copy(color, color + 4, mColor);
}

void TTextSpecialEffect::Draw(float scale, const TVec2* position) {
  if (!mBlock || !IsVisible()) return;
  const float alpha = CurrentAlpha();
  if (alpha <= 0.0f) return;  // faded out: nothing to see
  // Laid out again only when the angle moved.
  if (GetRotation() != mBlockRotation) {
    mBlock->SetRotation(GetRotation(), kBoxWidth / 2, kBoxHeight / 2);
    mBlockRotation = GetRotation();
  }
  const TVec2 point = DrawPoint(position);
  const double left = std::trunc(static_cast<double>(point.x) - kBoxWidth / 2);
  const double top = std::trunc(static_cast<double>(point.y) - kBoxHeight / 2);
  // Far off screen (or not a number) there is nothing to draw.
  if (!(std::fabs(left) < 1e6 && std::fabs(top) < 1e6)) return;
  TRect box;
  box.left = static_cast<int>(left);
  box.top = static_cast<int>(top);
  box.right = box.left + kBoxWidth - 1;
  box.bottom = box.top + kBoxHeight - 1;
  mBlock->Draw(box, CurrentScale(false) * scale, 0, alpha);
}
