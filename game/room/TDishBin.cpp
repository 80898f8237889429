// The dish bin's picture.
#include "game/room/TDishBin.h"

#include "game/room/RoomArt.h"
#include "tvlib/render/TTexture.h"

void TDishBin::SetImage(const TString& file) {
  SetTexture(GetRoomTexture(file));
}
