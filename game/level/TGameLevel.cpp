// The level window's identity and the room's way into it.
#include "game/level/TGameLevel.h"

#include "tvlib/core/DebugLog.h"

TWindow* TGameLevel::Create() {
  return new TGameLevel();
}

TWindowClassId TGameLevel::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TGameLevel::Create);
}

bool TGameLevel::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

int TGameLevel::OnObjectClicked(TSprite* /*object*/, int /*code*/) {
  return 0;
}

int TGameLevel::StartEffect(const TString& file) {
  DebugLog("TGameLevel::StartEffect: %s not played, the level has no effect list", file.c_str());
  return -1;
}
