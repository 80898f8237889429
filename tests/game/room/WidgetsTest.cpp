// The in-level widgets: the score meter's state for a table of scores, the status panel's
// layout from its style, its score and goal texts from the string table, the level display
// and the hint box.
#include <gtest/gtest.h>

#include <string>

#include "game/room/THintBox.h"
#include "game/room/TLevelDisplay.h"
#include "game/room/TScoreBoard.h"
#include "game/room/TScoreMeter.h"
#include "game/room/TStatusWidget.h"
#include "tests/game/room/RoomFixture.h"
#include "tvlib/core/TStringTable.h"

namespace {

std::string Row(const std::string& label, const std::string& text) {
  return "<Row><Cell><Data ss:Type=\"String\">" + label +
         "</Data></Cell><Cell><Data ss:Type=\"String\">" + text + "</Data></Cell></Row>";
}

class WidgetsTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    const std::string workbook = "<Workbook><Table>" + Row("goal", "Goal: ") +
                                 Row("expertgoal", "Expert: ") + Row("scoreDisplay", "%1% pts") +
                                 "</Table></Workbook>";
    platform->GetStringTable()->LoadBuffer(workbook.data(), workbook.size());
  }
  static std::string Text(const TFestraText& text) { return text.GetText().c_str(); }
};

TEST_F(WidgetsTest, TheMeterShowsTheShareOfThePassScore) {
  struct Case {
    int points, score, pass, state;
  };
  const Case cases[] = {
      {0, 900, 1000, 0},    {10, 0, 1000, 1},    {10, 79, 1000, 1},   {10, 80, 1000, 2},
      {10, 249, 1000, 3},   {10, 250, 1000, 4},  {10, 499, 1000, 6},  {10, 500, 1000, 7},
      {10, 659, 1000, 8},   {10, 909, 1000, 11}, {10, 990, 1000, 12}, {10, 1000, 1000, 13},
      {10, 5000, 1000, 13}, {-10, -50, 1000, 1}, {10, 0, 0, 13},      {10, -1, 0, 0},
      {10, -5, -10, 13},    {-10, -20, -10, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TScoreMeter::StateFor(c.points, c.score, c.pass), c.state)
        << c.points << " " << c.score << " " << c.pass;
  }
}

TEST_F(WidgetsTest, TheMeterLoopsTheStateOfEachAwardFromItsFourteenFlutes) {
  for (int i = 0; i < TScoreMeter::kStates; ++i) {
    char name[64];
    snprintf(name, sizeof name, "images/UI/UI_Flute/ui_flute_%02d", i);
    PutAnimation(name, 2, 30, 72, 15, 69);
  }
  auto meter = TScoreMeter::Create(0);
  meter->Setup(200);
  meter->Setup(200);  // again: still fourteen states
  EXPECT_EQ(meter->GetStateCount(), TScoreMeter::kStates);
  EXPECT_EQ(meter->GetState(), 0);
  meter->AddScore(120);
  EXPECT_EQ(meter->GetState(), 8);
  Step(1000);
  EXPECT_FALSE(meter->IsAnimationDone()) << "the state loops";
  meter->AddScore(100);
  EXPECT_EQ(meter->GetState(), 13);
  meter->AddScore(0);
  EXPECT_EQ(meter->GetState(), 0);
}

TEST_F(WidgetsTest, ThePanelIsLaidOutByItsStyleAndStartsEmpty) {
  RunWindowScript(
      "StatusWidget = { bgX = 10, bgY = 520.9, meterX = 30, meterY = 75, levelX = 60, "
      "levelY = 8, scoreX = 150, scoreY = 30, goalX = 140, goalY = 4 }");
  auto panel = TStatusWidget::Create(600);
  panel->Build(2, 5);
  EXPECT_EQ(panel->GetPosition().x, 10);
  EXPECT_EQ(panel->GetPosition().y, 520);
  EXPECT_EQ(panel->GetMeter()->GetPosition().x, 30);
  EXPECT_EQ(panel->GetMeter()->GetPosition().y, 75);
  EXPECT_EQ(panel->GetLevelDisplay()->GetPosition().x, 60);
  EXPECT_EQ(panel->GetScoreBoard()->GetPosition().x, 150);
  EXPECT_EQ(panel->GetGoalText()->GetPosition().y, 4);
  for (const auto& child : panel->GetChildren()) EXPECT_EQ(child->GetParent(), panel.get());
  EXPECT_EQ(panel->GetChildren().size(), 4u);
  EXPECT_EQ(Text(*panel->GetLevelDisplay()), "Level: 2.5");
  EXPECT_EQ(Text(*panel->GetScoreBoard()), "0 pts");
  EXPECT_EQ(Text(*panel->GetGoalText()), "");
  EXPECT_EQ(panel->GetMeter()->GetPassScore(), 1);

  // Without the style the parts stand at the panel's corner.
  RunWindowScript("StatusWidget = nil");
  auto bare = TStatusWidget::Create(600);
  bare->Build(1, 1);
  EXPECT_EQ(bare->GetPosition().x, 0);
  EXPECT_EQ(bare->GetScoreBoard()->GetPosition().y, 0);
  EXPECT_EQ(bare->GetGoalText()->GetPosition().x, 0);
}

TEST_F(WidgetsTest, AwardsAndGoalsFillTheTextsByPlaceholderAndLabel) {
  auto panel = TStatusWidget::Create(600);
  panel->Build(1, 3);
  panel->SetGoal(1500);
  EXPECT_EQ(Text(*panel->GetGoalText()), "Goal: 1500");
  EXPECT_EQ(panel->GetMeter()->GetPassScore(), 1500);

  panel->AddScore(250);
  EXPECT_EQ(Text(*panel->GetScoreBoard()), "250 pts");
  EXPECT_EQ(panel->GetMeter()->GetState(), 3);
  panel->AddScore(-400);
  EXPECT_EQ(panel->GetScore(), 0) << "the panel's score stops at 0";
  EXPECT_EQ(panel->GetMeter()->GetScore(), -150) << "the meter's does not";
  EXPECT_EQ(panel->GetMeter()->GetState(), 1);
  EXPECT_EQ(Text(*panel->GetScoreBoard()), "0 pts");

  panel->AddScore(1600);
  EXPECT_EQ(Text(*panel->GetGoalText()), "Goal: 1500") << "awards leave the goal text";
  panel->SetGoalStage(2200);
  EXPECT_EQ(Text(*panel->GetGoalText()), "Expert: 2200");

  // The number is never read through the text: a label with per cent signs shows them.
  const std::string workbook = "<Workbook><Table>" + Row("expertgoal", "100%%%% %%d ") +
                               Row("scoreDisplay", "%1%") + "</Table></Workbook>";
  platform->GetStringTable()->LoadBuffer(workbook.data(), workbook.size());
  panel->SetGoalStage(3000);
  EXPECT_EQ(Text(*panel->GetGoalText()), "100%% %d 3000");
  panel->AddScore(1);
  EXPECT_EQ(Text(*panel->GetScoreBoard()), "1601");
}

TEST_F(WidgetsTest, BoardLevelDisplayAndHintBoxShowTheirTexts) {
  auto board = TScoreBoard::Create(0);
  board->SetScore(5);
  EXPECT_EQ(Text(*board), "") << "no box before set-up";
  board->Setup();
  EXPECT_EQ(Text(*board), "0");
  EXPECT_EQ(board->GetTextBounds().right, 80);
  EXPECT_EQ(board->GetTextBounds().bottom, 25);

  auto display = TLevelDisplay::Create(0);
  display->Setup();
  EXPECT_EQ(Text(*display), "Level: ");
  display->SetLevel(2, 5);
  EXPECT_EQ(Text(*display), "Level: 2.5");

  PutSheet("backgrounds/hint.png", 220, 70);
  auto hint = THintBox::Create(700);
  EXPECT_EQ(hint->GetText()->GetParent(), hint.get());
  EXPECT_EQ(hint->GetText()->GetLayer(), 700);
  hint->SetBackground(TTexture::Get("assets/backgrounds/hint", 0));
  EXPECT_EQ(hint->GetWidth(), 220);
  hint->SetText("before");
  EXPECT_EQ(Text(*hint->GetText()), "");
  const float ink[4] = {0.2f, 0.1f, 0.1f, 1.0f};
  hint->SetStyledText(12, 9, 196, 52, 0, "fonts/arial.mvec", 16, ink);
  hint->SetText("Click a guest to seat them.");
  EXPECT_EQ(Text(*hint->GetText()), "Click a guest to seat them.");
  const TRect box = hint->GetText()->GetTextBounds();
  EXPECT_EQ(std::vector<int>({box.left, box.top, box.right, box.bottom}),
            std::vector<int>({12, 9, 208, 61}));
}

}  // namespace
