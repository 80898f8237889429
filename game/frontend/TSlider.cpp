// The slider: its style, its value and the knob's place, and the drag.
#include "game/frontend/TSlider.h"

#include <algorithm>
#include <cmath>

#include "tvlib/render/TTexture.h"
#include "tvlib/ui/ScriptStyle.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

// A window's rectangle in its parent's coordinates, edges included.
bool Contains(const TWindow* window, const TPoint& point) {
  const TRect& r = window->GetRect();
  return point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom;
}

std::shared_ptr<TTexture> LoadImage(const TString& name) {
  return name.Length() != 0 ? TTexture::Get(name, 0) : nullptr;
}

}  // namespace

TSlider::TSlider() : mRail(new TImage), mKnob(new TImage) {}

TSlider::~TSlider() {
  // Images never added are still ours.
  if (mRail->GetParent() != this) delete mRail;
  if (mKnob->GetParent() != this) delete mKnob;
  if (TWindowManager* manager = TWindowManager::Get()) manager->ReleaseMouse(this);
}

TWindow* TSlider::Create() {
  return new TSlider;
}

TWindowClassId TSlider::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TSlider::Create);
}

bool TSlider::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

bool TSlider::Init() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (script) {
    // The table the layout script is creating the slider from lies on the stack top.
    const TString rail = GetStyleString(*script, "railimage", "");
    const TString knob = GetStyleString(*script, "sliderimage", "");
    const TString roll = GetStyleString(*script, "sliderrollimage", "");
    SetName(GetStyleString(*script, "name", ""));
    mScale = static_cast<float>(GetStyleNumber(*script, "scale", 1.0));
    SetRailImage(LoadImage(rail), mScale);
    SetKnobImages(LoadImage(knob), LoadImage(roll), mScale);
  }
  if (mRail->GetParent() != this) AddChild(mRail, true);
  if (mKnob->GetParent() != this) AddChild(mKnob, true);
  Resize();
  return true;
}

void TSlider::SetRailImage(std::shared_ptr<TTexture> rail, float scale) {
  mRail->SetTexture(std::move(rail), scale);
  Resize();
}

void TSlider::SetKnobImages(std::shared_ptr<TTexture> normal, std::shared_ptr<TTexture> rollOver,
                            float scale) {
  mKnobNormal = std::move(normal);
  mKnobRollOver = std::move(rollOver);
  mKnob->SetTexture(mKnobNormal, scale);
  Resize();
}

bool TSlider::HasRail() const {
  return mRail->GetTexture() != nullptr;
}

bool TSlider::HasKnob() const {
  return mKnob->GetTexture() != nullptr;
}

void TSlider::Resize() {
  const int railWidth = HasRail() ? mRail->GetWidth() : 0;
  const int railHeight = HasRail() ? mRail->GetHeight() : 0;
  const int knobHeight = HasKnob() ? mKnob->GetHeight() : 0;
  SetSize(railWidth, std::max(railHeight, knobHeight));
}

void TSlider::SetValue(float value) {
  mValue = std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
  if (HasRail() && HasKnob()) {
    const float travel = static_cast<float>(mRail->GetWidth() - mKnob->GetWidth());
    mKnob->SetPosition(static_cast<int>(mValue * travel), 0);
    Invalidate();
  }
  if (GetParent()) GetParent()->SendMessage(new TMessage(kSliderMessage, GetName()));
}

bool TSlider::InRail(const TPoint& point) const {
  return mRail->GetParent() == this && Contains(mRail, point);
}

bool TSlider::InKnob(const TPoint& point) const {
  return mKnob->GetParent() == this && Contains(mKnob, point);
}

void TSlider::ShowKnob(bool rollOver) {
  const std::shared_ptr<TTexture>& wanted = rollOver ? mKnobRollOver : mKnobNormal;
  if (!wanted || mKnob->GetTexture() == wanted) return;
  const TRect at = mKnob->GetRect();
  mKnob->SetTexture(wanted, mScale);
  mKnob->SetPosition(at.left, at.top);
  mKnob->Invalidate();
}

void TSlider::Release() {
  if (TWindowManager* manager = TWindowManager::Get()) manager->ReleaseMouse(this);
}

bool TSlider::OnMouseDown(TPoint* point) {
  if (!InKnob(*point)) return false;
  mDragging = true;
  return true;
}

bool TSlider::OnMouseMove(TPoint* point) {
  ShowKnob(InKnob(*point) || mDragging);
  if (InRail(*point) || mDragging) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->CaptureMouse(this);
  } else {
    Release();
    ShowKnob(false);
  }
  if (!mDragging) return false;
  // Without a rail there is no length to map the point to: the drag changes nothing.
  const int width = HasRail() ? mRail->GetWidth() : 0;
  if (width > 0) {
    SetValue(static_cast<float>(point->x - mRail->GetRect().left) / static_cast<float>(width));
  }
  return true;
}

bool TSlider::OnMouseUp(TPoint* point) {
  if (!mDragging) return false;
  mDragging = false;
  ShowKnob(InKnob(*point));
  if (!InRail(*point)) {
    Release();
    ShowKnob(false);
  }
  return true;
}

bool TSlider::OnMouseLeave() {
  ShowKnob(false);
  Release();
  return true;
}
