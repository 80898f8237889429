// The status panel's score: the number in an 80 x 25 box, 25-point type, filled into the
// string table's "scoreDisplay" text by its "%1%" placeholder. Without a string table, or
// before Setup, the number alone. UI thread only.
#pragma once

#include "game/room/TFestraText.h"

class TScoreBoard : public TFestraText {
  TV_SPRITE_CLASS(TScoreBoard, TFestraText)

 public:
  static constexpr const char* kLabel = "scoreDisplay";

  explicit TScoreBoard(int layer = 0) : TFestraText(layer) {}

  // The text box, showing "0"; the score's text becomes "scoreDisplay".
  void Setup();
  void SetScore(int score);

 private:
  TString mLabel;
};
