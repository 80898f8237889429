// The name entry: the key click and the OK button that follows the name.
#include "game/frontend/TEnterName.h"

#include "game/frontend/ScreenParts.h"
#include "tvlib/media/TSound.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TTextEdit.h"

namespace {

constexpr char kKeyClickSound[] = "audio/sfx/keystroke.ogg";
constexpr char kNameEdit[] = "nameedit";
constexpr char kOkButton[] = "enterok";

}  // namespace

TEnterName::TEnterName() : mKeyClick(TSound::Get(kKeyClickSound, true, kEffectsVolumeGroup)) {}

TEnterName::~TEnterName() = default;

TWindow* TEnterName::Create() {
  return new TEnterName;
}

TWindowClassId TEnterName::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TEnterName::Create);
}

bool TEnterName::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TEnterName::PostCreate() {
  if (!FindChild(kOkButton, -1)) return;
  TTextEdit* edit = FindChildOf<TTextEdit>(this, kNameEdit);
  if (!edit || edit->GetText().Length() == 0) ShowChild(this, kOkButton, false);
}

bool TEnterName::OnMessage(TMessage* message) {
  if (message->mType != kMessageTextEdit) return false;
  if (mKeyClick) mKeyClick->Play(false);
  TTextEdit* edit = FindChildOf<TTextEdit>(this, kNameEdit);
  const bool named = edit && edit->GetText().Length() != 0;
  if (TWindow* ok = ShowChild(this, kOkButton, named); ok && !named) {
    if (TButton* button = TButton::CastToButton(ok)) button->OnMouseLeave();
  }
  return true;
}
