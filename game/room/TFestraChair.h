// A chair of a guest table: a plain room sprite that knows its table and its seat index, so
// that the level can hit-test a dragged guest against a seat. The table owns its chairs and
// keeps them as its children. UI thread only.
#pragma once

#include "game/room/TFestraSprite.h"

class TFestraTable;

class TFestraChair : public TFestraSprite {
  TV_SPRITE_CLASS(TFestraChair, TFestraSprite)

 public:
  explicit TFestraChair(int layer = 0) : TFestraSprite(layer) {}

  void Setup(TFestraTable* table, int seatIndex, const TString& image);
  void SetImage(const TString& image);
  // The chair's rectangle in the room: its local bounds moved by its table's position.
  TRect GetSeatBounds();
  int GetSeatIndex() const { return mSeatIndex; }
  TFestraTable* GetTable() const { return mTable; }

 private:
  int mSeatIndex = 0;
  TFestraTable* mTable = nullptr;
};
