// Request items: the picture, the tray and the check mark's place.
#include "game/room/TRequestItem.h"

#include "game/room/RoomArt.h"
#include "game/room/TFestraStateAnim.h"

TRequestItem::TRequestItem(int layer) : TFestraObject(layer), mTray(TFestraSprite::Create(0)) {}

TRequestItem::~TRequestItem() = default;

void TRequestItem::SetImage(const TString& image, bool onTray) {
  SetTexture(GetRoomTexture(image));
  if (onTray) {
    mTray->SetTexture(GetRoomTexture(kTrayImage));
    AddChild(mTray);
    mTray->PlaceAt(10, 10, kStoredAnchor);
  }
  PlaceAt(0, 20, kStoredAnchor);
  GetCheckMark()->SetPosition(static_cast<float>(GetWidth() / 2),
                              static_cast<float>(GetHeight() / 2), kAnchorCentre);
}
