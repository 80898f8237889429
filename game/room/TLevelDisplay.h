// The status panel's level number: "Level: map.level" in a 76 x 18 box, 18-point type.
// UI thread only.
#pragma once

#include "game/room/TFestraText.h"

class TLevelDisplay : public TFestraText {
  TV_SPRITE_CLASS(TLevelDisplay, TFestraText)

 public:
  explicit TLevelDisplay(int layer = 0) : TFestraText(layer) {}

  // The text box, showing "Level: ".
  void Setup();
  void SetLevel(int map, int level);
};
