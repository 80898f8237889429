// The text window's block, drawing, scrolling and links.
#include "tvlib/ui/TText.h"

#include <cmath>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TWindowManager.h"

TText::TText(bool layer) {
  if (layer) AddFlags(kWindowLayer);
}

TWindow* TText::Create() {
  return new TText;
}

TWindowClassId TText::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TText::Create);
}

bool TText::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

TText* TText::CastToText(TWindow* window) {
  return window && window->IsKindOf(GetClassId()) ? static_cast<TText*>(window) : nullptr;
}

TText::~TText() {
  TTextBlock::Delete(mBlock);
}

bool TText::InitText(const TString& text, int width, int height, int flags, const TString& fontName,
                     int fontSize, const float color[4]) {
  if (width == 0 || height == 0) return false;
  TTextBlock::Delete(mBlock);
  mBlock = TTextBlock::Create(TString(), width, height, flags, fontName, fontSize, color);
  SetSize(width, height);
  SetText(text);
  return true;
}

void TText::SetRotation(float angleDegrees, int originX, int originY) {
  if (mBlock) mBlock->SetRotation(angleDegrees, originX, originY);
}

void TText::SetText(const TString& text) {
  if (!mBlock || mBlock->GetText() == text) return;
  // Any change redraws, also of a text that was empty: labels filled in after their screen
  // was drawn must show at once.
  Invalidate();
  mBlock->SetText(text);
}

TString TText::GetText() const {
  return mBlock ? mBlock->GetText() : TString();
}

void TText::Draw() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!mBlock || !platform) return;
  const bool began = platform->Begin2d();
  mBlock->Draw(GetScreenRect(), scale, lineSpacing, alpha);
  if (began) platform->End2d();
}

void TText::SetScrollPosition(float position, uint32_t /*flag*/) {
  if (!mBlock) return;
  const float limit = static_cast<float>(mBlock->GetScrollLimit(scale, lineSpacing));
  const float first = std::trunc((limit + 0.5f) * position);
  // SetFirstLine keeps it within the lines; NaN and huge positions land on an end.
  const int line =
      std::isnan(first) ? 0 : static_cast<int>(std::fmax(-1.0f, std::fmin(first, 1e9f)));
  if (mBlock->SetFirstLine(line)) Invalidate();
}

bool TText::OnMouseDown(TPoint* point) {
  if (!mBlock) return false;
  mPressedLink = mBlock->GetLinkAt(*point, lineSpacing);
  return mPressedLink.Length() != 0;
}

bool TText::OnMouseUp(TPoint* point) {
  if (mPressedLink.Length() == 0) return false;
  if (mBlock && mBlock->GetLinkAt(*point, lineSpacing) == mPressedLink)
    FireLinkCommand(mPressedLink);
  mPressedLink = TString();
  return true;
}

bool TText::OnMouseMove(TPoint* point) {
  if (!mBlock || !mBlock->SetHotLinkAt(point, lineSpacing)) return false;
  Invalidate();
  if (TWindowManager* manager = TWindowManager::Get()) manager->CaptureMouse(this);
  return true;
}

bool TText::OnMouseLeave() {
  if (mBlock) mBlock->SetHotLinkAt(nullptr, 0);
  Invalidate();
  if (TWindowManager* manager = TWindowManager::Get()) manager->ReleaseMouse(this);
  return true;
}

bool TText::AddDirtyRect(TRect* area) {
  if (!area) return false;
  // Its anti-aliased edges drawn twice over would thicken: whatever lies under the text is
  // redrawn with it, so the area becomes the whole text.
  *area = GetLocalRect();
  TWindow::AddDirtyRect(area);
  return true;
}

bool TText::FireLinkCommand(const TString& linkId) {
  TModalWindow* modal = FindModalAncestor();
  TWindow* target = modal ? modal->FindChild(linkId, -1) : nullptr;
  if (!target) {
    DebugLog("ERROR: Command window %s not found", linkId.c_str());
    return false;
  }
  TButton* button = TButton::CastToButton(target);
  if (!button) {
    DebugLog("ERROR: Command window %s not a derived class of TButton", linkId.c_str());
    return false;
  }
  button->Fire();
  return true;
}
