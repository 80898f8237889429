// The dialogs' shared parts.
#include "game/level/DialogParts.h"

#include "game/shell/TGameSettings.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/media/TSound.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

void AddLook(TButton* button, int layer, const TString& image) {
  if (image.Length() == 0) return;
  auto* look = new TImage;
  look->SetTexture(TTexture::Get(image, 0), kDialogScale);
  button->SelectLayer(layer);
  button->AddChild(look, true);
}

}  // namespace

TButton* FindButton(TWindow* root, const TString& name) {
  return root ? TButton::CastToButton(root->FindChild(name, -1)) : nullptr;
}

void DressButton(TButton* button, const TString& image, const TString& pressed) {
  AddLook(button, 0, image);
  AddLook(button, 2, image);
  AddLook(button, 1, pressed);
  AddLook(button, 3, pressed);
  button->SelectLayer(0);
}

bool SetStyledText(TText* text, const TString& content, int width, int height,
                   const TTextStyle& style) {
  return text->InitText(content, width, height, style.flags, style.font, style.size, style.color);
}

std::shared_ptr<TSound> LoadEffect(const char* name) {
  return TSound::Get(name, true, kEffectsGroup);
}

void PlayOnce(const std::shared_ptr<TSound>& sound) {
  if (sound) sound->Play(false);
}

TWindowScript* DialogScript() {
  TWindowManager* manager = TWindowManager::Get();
  return manager ? manager->GetWindowScript() : nullptr;
}

lua_State* BindingState(const char* owner) {
  TWindowScript* script = DialogScript();
  if (!script) {
    DebugLog("%s: no window script for its functions", owner);
    return nullptr;
  }
  return script->GetState();
}

TMarkDrawing::TMarkDrawing() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  int left = 0, top = 0, right = 0, bottom = 0;
  platform->GetViewport(&left, &top, &right, &bottom);
  mLeft = static_cast<float>(left);
  mTop = static_cast<float>(top);
  mBegan = platform->Begin2d();
}

TMarkDrawing::~TMarkDrawing() {
  if (mBegan) TPlatform::GetInstance()->End2d();
}

void TMarkDrawing::Draw(const std::shared_ptr<TTexture>& mark, float screenX, float screenY) const {
  if (!mBegan || !mark) return;
  const TVec2 at(screenX - mLeft, screenY - mTop);
  mark->DrawRotated(&at, 1.0f, kDialogScale, 0.0f, nullptr, 0);
}

void ScreenCornerIn(const TWindow* window, const TWindow* parent, int* x, int* y) {
  const TRect screen = window->GetScreenRect();
  TPoint corner{screen.left, screen.top};
  parent->ScreenToLocal(&corner);
  *x = corner.x;
  *y = corner.y;
}
