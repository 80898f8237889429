// The dialogs' shared parts.
#include "game/level/DialogParts.h"

#include "game/shell/TGameSettings.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TSound.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"

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

TPrefs* ProfilePrefs() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetPrefs() : nullptr;
}

int CurrentPlayer() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetCurrentUserIndex() : -1;
}

TString LookUpString(const TString& label) {
  TPlatform* platform = TPlatform::GetInstance();
  TStringTable* table = platform ? platform->GetStringTable() : nullptr;
  return table ? table->GetString(label) : TString();
}

std::shared_ptr<TSound> LoadEffect(const char* name) {
  return TSound::Get(name, true, kEffectsGroup);
}

void PlayOnce(const std::shared_ptr<TSound>& sound) {
  if (sound) sound->Play(false);
}

void DrawMark(const std::shared_ptr<TTexture>& mark, float x, float y) {
  if (!mark) return;
  const TVec2 at(x, y);
  mark->DrawRotated(&at, 1.0f, kDialogScale, 0.0f, nullptr, 0);
}

void ScreenCornerIn(const TWindow* window, const TWindow* parent, int* x, int* y) {
  const TRect screen = window->GetScreenRect();
  TPoint corner{screen.left, screen.top};
  parent->ScreenToLocal(&corner);
  *x = corner.x;
  *y = corner.y;
}
