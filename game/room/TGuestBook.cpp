// The guest book panel: its layout and showing a guest.
#include "game/room/TGuestBook.h"

#include <algorithm>

#include "game/room/RoomArt.h"
#include "game/room/TFestraText.h"
#include "game/room/TServedItems.h"

namespace {

const char* const kIconImages[TGuestBook::kItemKinds] = {
    "assets/images/food/item_appetizer", "assets/images/food/item_dinner",
    "assets/images/food/item_cake", "assets/images/food/item_gift"};
constexpr int kIconX[TGuestBook::kItemKinds] = {30, 70, 110, 150};
constexpr int kIconY = 67;

}  // namespace

TGuestBook::TGuestBook(int layer)
    : TFestraSprite(layer),
      mTitle(TFestraText::Create(0)),
      mBackground(TFestraSprite::Create(0)),
      mPicture(TFestraSprite::Create(0)),
      mHeart(TFestraSprite::Create(0)) {
  for (int i = 0; i < kItemKinds; ++i) {
    mIcons[i] = TFestraSprite::Create(0);
    mMarkers[i] = TFestraSprite::Create(0);
  }
}

TGuestBook::~TGuestBook() = default;

void TGuestBook::Setup(int iconCount) {
  mIconCount = std::clamp(iconCount, 0, kItemKinds);
  mBackground->SetTexture(GetRoomTexture("assets/images/guestbk"));
  AddChild(mBackground);
  mBackground->PlaceAt(0, 0, kStoredAnchor);

  const float black[4] = {0, 0, 0, 1};
  mTitle->SetupText("Welcome!", static_cast<float>(mBackground->GetWidth() - 30), 42, 0,
                    "fonts/arial.mvec", 14, black);
  AddChild(mTitle);
  mTitle->PlaceAt(30, 25, kStoredAnchor);

  for (int i = 0; i < kItemKinds; ++i) {
    mIcons[i]->SetTexture(GetRoomTexture(kIconImages[i]));
    AddChild(mIcons[i]);
    mIcons[i]->PlaceAt(kIconX[i], kIconY, kStoredAnchor);
  }
  AddChild(mPicture);
  mPicture->PlaceAt(30, 97, kStoredAnchor);
  mPicture->SetVisible(false);
  mHeart->SetTexture(GetRoomTexture("assets/images/heart"));
  AddChild(mHeart);
  mHeart->PlaceAt(30, 97, kStoredAnchor);
  mHeart->SetVisible(false);

  // A new book has served nobody yet: the markers wait for a guest.
  for (int i = 0; i < kItemKinds; ++i) {
    mMarkers[i]->SetTexture(GetRoomTexture("assets/images/greenSpread"));
    AddChild(mMarkers[i]);
    const TRect icon = mIcons[i]->GetLocalBounds(-1);
    mMarkers[i]->PlaceAt(icon.left, icon.top, kStoredAnchor);
    mMarkers[i]->SetVisible(false);
  }
}

void TGuestBook::ShowGuest(const TServedItems* guest) {
  mGuest = guest;
  if (!guest) {
    mTitle->SetText("");
    mPicture->SetVisible(false);
    for (const auto& icon : mIcons) icon->SetVisible(false);
    return;
  }
  for (int i = 0; i < kItemKinds; ++i) {
    mIcons[i]->SetVisible(i < mIconCount);
    mMarkers[i]->SetVisible(guest->WasServed(i + 1));
  }
}
