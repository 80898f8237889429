// The level's lifetime as the room sees it.
#include "game/room/TRoomLevel.h"

#include "tvlib/core/DebugLog.h"

TRoomLevel::TRoomLevel() : mSelf(this, [](TRoomLevel*) {}) {}

// A level that did not detach its room has let its members (the room's objects among them)
// call it while it was being torn down; the log names the slip.
TRoomLevel::~TRoomLevel() {
  if (mSelf) DebugLog("TRoomLevel::~TRoomLevel: the level did not detach its room first");
}

TRoomLevelRef::TRoomLevelRef(TRoomLevel* level) {
  if (level) mLevel = level->mSelf;
}
