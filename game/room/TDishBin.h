// The dish bin: a clickable room object with one picture; the level hit-tests it and
// handles its clicks through its object-type code (1307). UI thread only.
#pragma once

#include "game/room/TFestraObject.h"

class TDishBin : public TFestraObject {
  TV_SPRITE_CLASS(TDishBin, TFestraObject)

 public:
  explicit TDishBin(int layer = 0) : TFestraObject(layer) {}

  void SetImage(const TString& file);
};
