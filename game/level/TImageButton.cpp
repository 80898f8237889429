// The end-of-level dialog's button release.
#include "game/level/TImageButton.h"

#include "game/level/LevelDialogMessages.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowManager.h"

bool TImageButton::OnMouseUp(TPoint* /*point*/) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->ReleaseMouse(this);
  if (TWindow* parent = GetParent()) {
    TMessage message(kMessageImageButton, mMessageName, this);
    parent->OnMessage(&message);
  }
  return true;
}
