// The status panel of a level: a background with the score meter, the level display, the
// score board and the goal text on it, laid out by the window script's "StatusWidget" style
// (bgX, bgY, meterX, meterY, levelX, levelY, scoreX, scoreY, goalX, goalY; all 0 without it).
// The level builds it at the start, adds every award and sets the goal and the expert goal.
//
// The goal text is the string table's "goal" label while the score is below the goal, else
// its "expertgoal" label, followed by the number set last; awards do not refresh it. The
// panel's score never falls below 0, the meter's may. UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraSprite.h"

class TFestraText;
class TLevelDisplay;
class TScoreBoard;
class TScoreMeter;

class TStatusWidget : public TFestraSprite {
  TV_SPRITE_CLASS(TStatusWidget, TFestraSprite)

 public:
  static constexpr const char* kStyle = "StatusWidget";
  static constexpr const char* kBackground = "assets/images/UI/ui_bg";

  // Makes the four parts as children.
  explicit TStatusWidget(int layer = 0);
  ~TStatusWidget() override;

  // Reads the layout from the window script's style, when there is one.
  void LoadLayout();
  // Lays the panel out for the level: empty meter (pass score 1), level number, score 0.
  void Build(int map, int level);
  void AddScore(int points);
  void SetGoal(int goal);
  void SetGoalStage(int expertGoal);

  int GetScore() const { return mScore; }
  const std::shared_ptr<TScoreMeter>& GetMeter() const { return mMeter; }
  const std::shared_ptr<TLevelDisplay>& GetLevelDisplay() const { return mLevelDisplay; }
  const std::shared_ptr<TScoreBoard>& GetScoreBoard() const { return mScoreBoard; }
  const std::shared_ptr<TFestraText>& GetGoalText() const { return mGoalText; }

 private:
  void RefreshGoalText(int value);

  int mScore = 0;
  int mGoal = 0;
  int mExpertGoal = 0;
  std::shared_ptr<TScoreMeter> mMeter;
  std::shared_ptr<TLevelDisplay> mLevelDisplay;
  std::shared_ptr<TScoreBoard> mScoreBoard;
  std::shared_ptr<TFestraText> mGoalText;
  int mBgX = 0, mBgY = 0;
  int mMeterX = 0, mMeterY = 0;
  int mLevelX = 0, mLevelY = 0;
  int mScoreX = 0, mScoreY = 0;
  int mGoalX = 0, mGoalY = 0;
};
