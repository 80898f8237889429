// The in-level panel about the guest under attention: a background, a "Welcome!" title, an
// icon for each item kind the level offers (appetizer, dinner, cake, gift), a green marker
// over each kind the guest has been served, a heart and one further picture that its users
// fill. UI thread only.
#pragma once

#include <array>
#include <memory>

#include "game/room/TFestraSprite.h"

class TFestraText;
class TServedItems;

class TGuestBook : public TFestraSprite {
  TV_SPRITE_CLASS(TGuestBook, TFestraSprite)

 public:
  static constexpr int kItemKinds = 4;

  explicit TGuestBook(int layer = 0);
  ~TGuestBook() override;

  // Builds the panel with the first `iconCount` item icons in use.
  void Setup(int iconCount);
  // Shows the guest's served kinds; null clears the title and hides the icons and the
  // further picture, the markers as they were.
  void ShowGuest(const TServedItems* guest);

  const TServedItems* GetGuest() const { return mGuest; }
  const std::shared_ptr<TFestraText>& GetTitle() const { return mTitle; }
  const std::shared_ptr<TFestraSprite>& GetIcon(int i) const { return mIcons[i]; }
  const std::shared_ptr<TFestraSprite>& GetMarker(int i) const { return mMarkers[i]; }
  const std::shared_ptr<TFestraSprite>& GetPicture() const { return mPicture; }
  const std::shared_ptr<TFestraSprite>& GetHeart() const { return mHeart; }

 private:
  const TServedItems* mGuest = nullptr;
  std::shared_ptr<TFestraText> mTitle;
  std::shared_ptr<TFestraSprite> mBackground;
  std::array<std::shared_ptr<TFestraSprite>, kItemKinds> mIcons;
  std::array<std::shared_ptr<TFestraSprite>, kItemKinds> mMarkers;
  std::shared_ptr<TFestraSprite> mPicture;
  std::shared_ptr<TFestraSprite> mHeart;
  int mIconCount = 0;
};
