// The menu card of the reception room: a background with one icon for each food kind of the
// serving table (appetizer, dinner, cake), and three entries of values the level keeps with
// it. It takes no clicks. UI thread only.
#pragma once

#include <array>
#include <memory>

#include "game/room/TFestraSprite.h"

class TSMenu : public TFestraSprite {
  TV_SPRITE_CLASS(TSMenu, TFestraSprite)

 public:
  static constexpr int kEntries = 3;
  struct TEntry {
    int first = 0, second = 0, third = 0;
  };

  explicit TSMenu(int layer = 0);
  ~TSMenu() override;

  // The background and the three icons, scaled 5/3 down a slanted column.
  void SetImages(const TString& background, const TString& icon0, const TString& icon1,
                 const TString& icon2);
  // Entry i (0 to 2) gets a, b and 0; another index is logged and ignored.
  void SetEntry(int i, int a, int b);
  TEntry GetEntry(int i) const;
  const std::shared_ptr<TFestraSprite>& GetIcon(int i) const { return mIcons[i]; }

 private:
  std::array<std::shared_ptr<TFestraSprite>, kEntries> mIcons;
  std::array<int, kEntries> mFirst{};
  std::array<int, kEntries> mSecond{};
  std::array<int, kEntries> mThird{};
};
