// A carriable food, drink or gift item as a clickable room object: the serving table, the
// drink station and the level make one per item, optionally on a tray, and mark it when it
// is chosen. Unlike other objects, a new object-type code leaves its check mark as it is.
// UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraObject.h"

class TRequestItem : public TFestraObject {
  TV_SPRITE_CLASS(TRequestItem, TFestraObject)

 public:
  static constexpr const char* kTrayImage = "assets/images/food/item_tray";

  explicit TRequestItem(int layer = 0);
  ~TRequestItem() override;

  void SetObjectType(int code) override { StoreObjectType(code); }
  // The item's picture at (0, 20), on the tray at (10, 10) when `onTray`, with the check
  // mark centred on it.
  void SetImage(const TString& image, bool onTray);
  void SetItemKind(int kind) { mItemKind = kind; }
  int GetItemKind() const { return mItemKind; }
  void SetMarked(bool marked) { SetMarkCount(marked ? 1 : 0); }
  void Mark() { SetMarkCount(1); }
  const std::shared_ptr<TFestraSprite>& GetTray() const { return mTray; }

 private:
  std::shared_ptr<TFestraSprite> mTray;
  int mItemKind = 0;
};
