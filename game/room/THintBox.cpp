// The hint box: its text.
#include "game/room/THintBox.h"

#include "game/room/TFestraText.h"

THintBox::THintBox(int layer) : TFestraSprite(layer), mText(TFestraText::Create(layer)) {
  AddChild(mText);
}

THintBox::~THintBox() = default;

void THintBox::SetStyledText(int x, int y, int width, int height, int flags, const TString& font,
                             int fontSize, const float colour[4]) {
  mText->SetupText(TString(), static_cast<float>(width), static_cast<float>(height), flags, font,
                   fontSize, colour);
  mText->PlaceAt(x, y, kStoredAnchor);
}

void THintBox::SetText(const TString& text) {
  mText->SetText(text);
}
