// The status panel's score meter: a flute drawn in 14 states, 0 empty to 13 full, that fills
// as the level's score approaches its pass score. Each award shows the state of the new
// score's share of the pass score; an award of 0 points shows state 0. A pass score of 0 or
// less is met by any score not below it: the flute is then full or empty. UI thread only.
#pragma once

#include "game/room/TFestraStateAnim.h"

class TScoreMeter : public TFestraStateAnim {
  TV_SPRITE_CLASS(TScoreMeter, TFestraStateAnim)

 public:
  static constexpr int kStates = 14;

  explicit TScoreMeter(int layer = 0) : TFestraStateAnim(layer) {}

  // Score 0, the pass score, the 14 flute states; shows state 0.
  void Setup(int passScore);
  void SetPassScore(int passScore) { mPassScore = passScore; }
  // Adds the points (the meter's score may fall below 0) and loops the state they give.
  void AddScore(int points);

  int GetScore() const { return mScore; }
  int GetPassScore() const { return mPassScore; }
  // The state a score shows against a pass score after an award of `points`.
  static int StateFor(int points, int score, int passScore);

 private:
  int mScore = 0;
  int mPassScore = 0;
};
