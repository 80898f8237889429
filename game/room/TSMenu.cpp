// The menu card: its pictures and entries.
#include "game/room/TSMenu.h"

#include "game/room/RoomArt.h"
#include "tvlib/core/DebugLog.h"

namespace {

constexpr float kIconScale = 1.6666666f;

}  // namespace

TSMenu::TSMenu(int layer) : TFestraSprite(layer) {
  for (auto& icon : mIcons) icon = TFestraSprite::Create(1);
}

TSMenu::~TSMenu() = default;

void TSMenu::SetImages(const TString& background, const TString& icon0, const TString& icon1,
                       const TString& icon2) {
  SetTexture(GetRoomTexture(background));
  const TString* names[kEntries] = {&icon0, &icon1, &icon2};
  for (int i = 0; i < kEntries; ++i) {
    mIcons[i]->SetTexture(GetRoomTexture(*names[i]));
    mIcons[i]->SetScale(kIconScale);
    mIcons[i]->PlaceAt(30 - 4 * i, 35 * i, kStoredAnchor);
    AddChild(mIcons[i]);
  }
}

void TSMenu::SetEntry(int i, int a, int b) {
  if (i < 0 || i >= kEntries) {
    DebugLog("TSMenu::SetEntry: entry %d of %d", i, kEntries);
    return;
  }
  mFirst[i] = a;
  mSecond[i] = b;
  mThird[i] = 0;
}

TSMenu::TEntry TSMenu::GetEntry(int i) const {
  if (i < 0 || i >= kEntries) return TEntry{};
  return TEntry{mFirst[i], mSecond[i], mThird[i]};
}
