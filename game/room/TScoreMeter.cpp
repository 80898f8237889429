// The score meter: its flute states and the state a score shows.
#include "game/room/TScoreMeter.h"

#include "tvlib/core/TString.h"

namespace {

// The upper bounds of the shares shown by states 1 to 12.
constexpr double kBounds[] = {0.08, 0.16, 0.25, 0.33, 0.41, 0.5, 0.58, 0.66, 0.75, 0.83, 0.91, 1.0};
constexpr int kFull = 13;

}  // namespace

void TScoreMeter::Setup(int passScore) {
  mScore = 0;
  mPassScore = passScore;
  ClearStates();
  for (int i = 0; i < kStates; ++i) {
    AddState(TString::Format("assets/images/UI/UI_Flute/ui_flute_%02d.xml", i));
  }
  LoopState(0);
}

int TScoreMeter::StateFor(int points, int score, int passScore) {
  if (points == 0) return 0;
  if (passScore <= 0) return score >= passScore ? kFull : 0;
  const double ratio = static_cast<double>(score) / passScore;
  for (int i = 0; i < kFull - 1; ++i) {
    if (ratio < kBounds[i]) return i + 1;
  }
  return score >= passScore ? kFull : 0;
}

void TScoreMeter::AddScore(int points) {
  mScore += points;
  LoopState(StateFor(points, mScore, mPassScore));
}
