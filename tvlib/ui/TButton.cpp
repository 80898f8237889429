// Buttons: states and their layers, input, the hit mask, checking and firing.
#include "tvlib/ui/TButton.h"

#include <cstring>

#include "tvlib/render/TTexture.h"
#include "tvlib/script/TLuaObjectWrapper.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TRadioButtonSpider.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// A mask pixel whose first three bytes are all below this is black: not part of the button.
constexpr uint8_t kMaskThreshold = 20;

}  // namespace

TButton::LuaAction::LuaAction(std::unique_ptr<TLuaObjectWrapper> callable)
    : mCallable(std::move(callable)) {}

TButton::LuaAction::~LuaAction() = default;

bool TButton::LuaAction::Run(TButton* button) {
  auto* message = new TMessage(kMessageLuaAction, TString("LuaAction:") + button->GetName());
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->PostToScript(message, mCallable.get());
  } else {
    delete message;
  }
  return true;
}

TButton::TButton(int type) : TLayeredWindow(type == kButtonPush ? 3 : 4) {
  mButtonBits = static_cast<uint32_t>(type) & 0xF;
  SelectLayer(0);
}

TButton::~TButton() {
  OnMouseLeave();
}

TWindow* TButton::Create() {
  return new TButton;
}

TWindowClassId TButton::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TButton::Create);
}

bool TButton::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TLayeredWindow::IsKindOf(id);
}

TButton* TButton::CastToButton(TWindow* window) {
  return window && window->IsKindOf(GetClassId()) ? static_cast<TButton*>(window) : nullptr;
}

void TButton::SetType(int type) {
  mButtonBits = (mButtonBits & ~0xFu) | (static_cast<uint32_t>(type) & 0xF);
  Invalidate();
}

void TButton::SetState(int state) {
  const int old = GetState();
  mButtonBits = (mButtonBits & ~0x70u) | ((static_cast<uint32_t>(state) & 0x7) << 4);
  OnStateChange(GetState(), old);
}

void TButton::SetOptions(uint32_t bits) {
  if (bits & kSetBeginGroup) AddFlags(kWindowRadioStart);
  if (bits & kSetToScreen) mOptions |= kButtonToScreen;
  if (bits & kSetReturnValue) mOptions |= kButtonReturnValue;
  if (bits & kSetDefault) mOptions |= kButtonDefault;
}

void TButton::SetAction(Action* action) {
  mAction.reset(action);
}

void TButton::SetSound(int index, const TString& soundName) {
  if (index < 0 || index >= static_cast<int>(mSounds.size())) return;
  mSounds[index].name = soundName;
  TWindowManager* manager = TWindowManager::Get();
  TUiSounds* sounds = manager ? manager->GetSounds() : nullptr;
  mSounds[index].sound = soundName.Length() && sounds ? sounds->Get(soundName) : nullptr;
}

TString TButton::GetSound(int index) const {
  return index >= 0 && index < static_cast<int>(mSounds.size()) ? mSounds[index].name : TString();
}

void TButton::SetLabelText(const TString& text) {
  if (TText* label = TText::CastToText(FindChild("label", -1))) label->SetText(text);
}

TString TButton::GetLabelText() {
  TText* label = TText::CastToText(FindChild("label", -1));
  return label ? label->GetText() : TString();
}

void TButton::SetHitMask(TTexture* image) {
  mHitMask.clear();
  mHitMaskWidth = mHitMaskHeight = 0;
  uint8_t* pixels = nullptr;
  int width = 0, height = 0, pitch = 0;
  if (!image || !image->Lock(&pixels, &width, &height, &pitch)) return;
  if (pixels && width > 0 && height > 0 && pitch >= width * 4) {
    const size_t row = static_cast<size_t>(width) * 4;
    mHitMask.resize(row * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
      std::memcpy(mHitMask.data() + row * static_cast<size_t>(y),
                  pixels + static_cast<size_t>(pitch) * static_cast<size_t>(y), row);
    }
    mHitMaskWidth = width;
    mHitMaskHeight = height;
  }
  image->Unlock();
}

bool TButton::Init() {
  SetState(kButtonIdle);
  return true;
}

bool TButton::IsOutside(const TPoint& point) {
  if (point.x < 0 || point.y < 0 || point.x > GetWidth() || point.y > GetHeight()) {
    OnMouseLeave();
    return true;
  }
  if (mHitMask.empty()) return false;
  // The point scales by mask size over window size, so a mask of another size than the
  // button covers it whole; a point beyond the last mask pixel misses.
  const int64_t width = GetWidth(), height = GetHeight();
  const int64_t x = width > 0 ? int64_t{point.x} * mHitMaskWidth / width : 0;
  const int64_t y = height > 0 ? int64_t{point.y} * mHitMaskHeight / height : 0;
  bool black = true;
  if (x >= 0 && x < mHitMaskWidth && y >= 0 && y < mHitMaskHeight) {
    const uint8_t* pixel = mHitMask.data() + (y * mHitMaskWidth + x) * 4;
    black = pixel[0] < kMaskThreshold && pixel[1] < kMaskThreshold && pixel[2] < kMaskThreshold;
  }
  if (black) {
    OnMouseLeave();
    return true;
  }
  return false;
}

bool TButton::OnMouseMove(TPoint* point) {
  if (IsOutside(*point)) return false;
  if (GetState() != kButtonIdle) return true;
  SetState(kButtonHover);
  if (TWindowManager* manager = TWindowManager::Get()) manager->CaptureMouse(this);
  return true;
}

bool TButton::OnMouseDown(TPoint* point) {
  if (GetState() == kButtonIdle) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->CaptureMouse(this);
  }
  SetState(kButtonPressed);
  IsOutside(*point);
  return true;
}

bool TButton::OnMouseUp(TPoint* point) {
  if (GetState() == kButtonIdle || IsOutside(*point)) return true;
  if (GetState() == kButtonPressed) {
    OnStateChange(kButtonFired, kButtonPressed);
    PlayStateSound(kButtonPressed);
    if (Fire()) return true;
  }
  if (GetType() == kButtonRadio) {
    SetChecked(true);
  } else if (GetType() == kButtonToggle) {
    mOptions ^= kButtonChecked;
  }
  SetState(kButtonHover);
  return true;
}

bool TButton::OnMouseLeave() {
  if (GetState() != kButtonIdle) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->ReleaseMouse(this);
  }
  SetState(kButtonIdle);
  return true;
}

void TButton::OnStateChange(int newState, int oldState) {
  if (newState != oldState && newState != kButtonPressed) PlayStateSound(newState);
  const bool checked = IsChecked();
  const bool push = GetType() == kButtonPush;
  switch (newState) {
    case kButtonIdle:
      SelectLayer(!push && checked ? 1 : 0);
      break;
    case kButtonPressed:
      SelectLayer(!push && checked ? 0 : 1);
      break;
    case kButtonHover:
      SelectLayer(!push && checked ? 3 : 2);
      break;
    default:
      break;  // fired: the look stays
  }
}

void TButton::PlayStateSound(int state) {
  if (state < 0 || state >= static_cast<int>(mSounds.size()) || !IsVisible()) return;
  if (const std::shared_ptr<TUiSound>& sound = mSounds[state].sound) sound->Play();
}

void TButton::SetChecked(bool checked) {
  if (checked && GetType() == kButtonRadio && GetParent()) {
    TRadioButtonSpider spider(this);
    GetParent()->ForEachChild(&spider, true);
    spider.SetMode(TRadioButtonSpider::kClearOthers);
    GetParent()->ForEachChild(&spider, true);
  }
  if (checked) {
    mOptions |= kButtonChecked;
  } else {
    mOptions &= static_cast<uint8_t>(~kButtonChecked);
  }
  SetState(GetState());
}

bool TButton::Fire() {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return false;
  if (mOptions & kButtonReturnValue) {
    TModalWindow* modal = FindModalAncestor();
    if (modal) manager->PostMessage(new TMessage(kMessageClose, modal->GetIdText()));
    if (TWindowScript* script = manager->GetWindowScript())
      script->SetGlobalString("gReturnValue", GetName());
  }
  TModalWindow* top = manager->GetTopModal();
  TWindow* target = (mOptions & kButtonToScreen) ? (top ? top->GetParent() : nullptr) : GetParent();
  auto* message = new TMessage(kMessageClick, GetName(), target);
  if (mAction) {
    mAction->Run(this);
    TWindow* modal = this;
    while (modal && !(modal->GetFlags() & kWindowModal)) modal = modal->GetParent();
    if (modal != manager->GetTopModal()) {
      if (mOptions & kButtonToScreen) {
        manager->PostMessage(message);
      } else {
        delete message;
      }
      return true;
    }
  }
  manager->PostMessage(message);
  return false;
}
