// The planning selection dialog on a fixture with known wishes: the options dressed from the
// script's table (with its defaults and a missing button), the picks and their rules, the
// record stored at the order, the reveal's timing and verdicts, and the hand-over to the
// level when the dialog closes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/level/PlanningRecord.h"
#include "tests/game/level/DialogFixture.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"

namespace {

constexpr char kFixture[] = "scripts/selection scripts/selection_test.lua";
constexpr char kRight[] = "assets/audio/sfx/planning_right_choice.ogg";
constexpr char kWrong[] = "assets/audio/sfx/planning_wrong_choice.ogg";
constexpr char kWin[] = "assets/audio/sfx/planning_win.ogg";
constexpr char kRoll[] = "assets/audio/sfx/dialog_roll.ogg";

class SelectionDialogTest : public DialogTest {
 protected:
  TSelectionDialog* Open(const char* skipButton = nullptr) {
    PutFixture("selection_test.lua", kFixture);
    if (skipButton)
      Script().DoLuaString(("SkipButton = '" + std::string(skipButton) + "'").c_str());
    PushLevel();
    OpenDialog(kFixture);
    dialog = Find<TSelectionDialog>("selection");
    return dialog;
  }
  void Lua(const std::string& code) { Script().DoLuaString(code.c_str()); }
  int SelectionDone() { return Prefs().GetInt(kSelectionDoneKey, -1, -1); }
  TPlanningRecord Stored() {
    TPlanningRecord record;
    record.category.fill(-9);
    record.selection.fill(-9);
    record.correct.fill(-9);
    LoadPlanningRecord(Prefs(), &record);
    return record;
  }
  bool Shows(TWindow* window) { return window && window->GetParent() == dialog; }
  int RowsShown() {
    int shown = 0;
    for (int r = 0; r < 3; ++r) shown += Shows(dialog->GetHeart(r));
    return shown;
  }

  TSelectionDialog* dialog = nullptr;
};

TEST_F(SelectionDialogTest, TheOptionsAreDressedFromTheTableWithItsDefaults) {
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(SelectionDone(), 0);
  EXPECT_EQ(dialog->GetRecord().category, (std::array<int32_t, 3>{3, 1, 2}));
  for (const char* name : {"button11", "button23", "button33"}) {
    TButton* option = Button(name);
    ASSERT_NE(option, nullptr) << name;
    EXPECT_TRUE(option->IsVisible());
    for (int layer = 0; layer < 4; ++layer) {
      ASSERT_EQ(option->GetLayerChildren(layer).size(), 1u) << name << " layer " << layer;
      auto* look = dynamic_cast<TImage*>(option->GetLayerChildren(layer)[0]);
      ASSERT_NE(look, nullptr);
      EXPECT_NE(look->GetTexture(), nullptr) << name << " layer " << layer;
    }
  }
  EXPECT_EQ(dialog->GetCaption(0, 1)->GetText(), TString("Red Roses"));
  EXPECT_EQ(dialog->GetCaption(2, 2)->GetText(), TString());  // no caption label
  // Captions hang below their options, 40 wider and centred; a cake row's lower.
  const TRect flowers = Button("button12")->GetScreenRect();
  const TRect caption = dialog->GetCaption(0, 1)->GetScreenRect();
  EXPECT_EQ(caption.left, flowers.left - 20);
  EXPECT_EQ(caption.right - caption.left, flowers.right - flowers.left + 40);
  EXPECT_EQ(caption.top, flowers.bottom - 11);
  EXPECT_EQ(dialog->GetCaption(2, 0)->GetScreenRect().top,
            Button("button31")->GetScreenRect().bottom - 4);
  // The option without fields takes its column as value and no wish.
  Lua("Select(1, 2) Select(2, 3) Select(3, 3)");
  EXPECT_EQ(dialog->GetRecord().selection, (std::array<int32_t, 3>{1, 2, 2}));
  EXPECT_EQ(dialog->GetRecord().correct, (std::array<int32_t, 3>{1, 1, 0}));
  for (int r = 0; r < 3; ++r) EXPECT_FALSE(Shows(dialog->GetHeart(r)));
}

TEST_F(SelectionDialogTest, PicksFollowTheirRulesAndTheOrderButtonComesOnceEveryRowHasOne) {
  ASSERT_NE(Open(), nullptr);
  const TRect away = Button("chooseok")->GetRect();
  Lua("Select(1, 1) Select(1, 3) Select(0, 1) Select(2, 4) Select(4, 2)");
  EXPECT_EQ(dialog->GetRecord().selection[0], 5);  // the later pick replaces the earlier
  EXPECT_EQ(dialog->GetRecord().selection[1], 0);  // out of range: nothing picked
  EXPECT_EQ(Button("chooseok")->GetRect().left, away.left);
  EXPECT_EQ(Plays(kRoll), 0);
  Lua("Select(2, 1) Select(3, 2)");
  EXPECT_EQ(Button("chooseok")->GetRect().left, TSelectionDialog::kOrderButtonX);
  EXPECT_EQ(Button("chooseok")->GetRect().top, TSelectionDialog::kOrderButtonY);
  EXPECT_EQ(Plays(kRoll), 1);
  Lua("Select(3, 1)");  // every further pick rolls it in again
  EXPECT_EQ(Plays(kRoll), 2);
  Lua("PlaceOrder()");
  Lua("Select(1, 2)");  // after the order: ignored
  EXPECT_EQ(dialog->GetRecord().selection, (std::array<int32_t, 3>{5, 0, 3}));
  EXPECT_EQ(dialog->GetScoringState(), TSelectionDialog::kRevealing);
}

TEST_F(SelectionDialogTest, TheOrderStoresTheRecordOnceAndTheLevelGetsItWhenTheDialogCloses) {
  ASSERT_NE(Open(), nullptr);
  Lua("Select(1, 2) Select(2, 1) Select(3, 1) PlaceOrder()");
  TPlanningRecord stored = Stored();
  EXPECT_EQ(stored.category, (std::array<int32_t, 3>{3, 1, 2}));
  EXPECT_EQ(stored.selection, (std::array<int32_t, 3>{1, 0, 3}));
  EXPECT_EQ(stored.correct, (std::array<int32_t, 3>{1, 0, 1}));
  EXPECT_EQ(CountCorrectPicks(stored), 2);
  // A second order does not store again.
  const int32_t other[3] = {7, 7, 7};
  Prefs().SetBinary(kPlanningSelectionKey, other, 12, -1, true);
  Lua("PlaceOrder()");
  EXPECT_EQ(Stored().selection, (std::array<int32_t, 3>{7, 7, 7}));
  EXPECT_EQ(SelectionDone(), 0);
  Tick(16);
  EXPECT_EQ(SelectionDone(), 0);
  for (int ms = 0; ms < 4300 && Manager().GetTopModal()->GetName() != "level"; ms += 16) Tick(16);
  EXPECT_EQ(SelectionDone(), 1);
  EXPECT_EQ(Manager().GetTopModal()->GetName(), TString("level"));
}

// What shows as the clock moves on after the order (the dialog's task runs every 16 ms).
TEST_F(SelectionDialogTest, TheRevealShowsARowEvery400MsThenTheVerdictAndCloses3000MsLater) {
  ASSERT_NE(Open(), nullptr);
  Lua("Select(1, 2) Select(2, 1) Select(3, 1) PlaceOrder()");
  struct TMoment {
    uint32_t advance;  // ms since the previous moment
    int rows;
    bool verdict;
    bool open;
  };
  const std::vector<TMoment> moments = {
      {16, 1, false, true},   // the first tick: row 1 at once
      {400, 1, false, true},  // 400 ms on: not yet (more than 400 is needed)
      {16, 2, false, true},   // row 2
      {400, 2, false, true},  //
      {16, 3, false, true},   // row 3
      {416, 3, true, true},   // the verdict
      {3000, 3, true, true},  // held for 3000 ms ...
      {16, 3, true, false},   // ... then the dialog closes
  };
  uint32_t at = 0;
  for (const TMoment& moment : moments) {
    at += moment.advance;
    Tick(moment.advance);
    const bool open = Manager().GetTopModal()->GetName() != "level";
    ASSERT_EQ(open, moment.open) << "at " << at;
    if (!open) break;
    EXPECT_EQ(RowsShown(), moment.rows) << "at " << at;
    EXPECT_EQ(Shows(dialog->GetVerdictNote()), moment.verdict) << "at " << at;
    EXPECT_EQ(Shows(dialog->GetVerdictText()), moment.verdict) << "at " << at;
    EXPECT_EQ(dialog->IsSelectDone(), false);
  }
  EXPECT_EQ(SelectionDone(), 1);
}

TEST_F(SelectionDialogTest, TheVerdictFollowsTheWishedPicks) {
  struct TCase {
    const char* picks;
    const char* texts[3];
    int score;
    int result;
    const char* verdictStart;
    int rightPlays, winPlays;
  };
  const TCase cases[] = {
      {"Select(1, 1) Select(2, 1) Select(3, 2)", {"0", "0", "0"}, 0, 1, "Ugh!", 0, 0},
      {"Select(1, 2) Select(2, 1) Select(3, 3)", {"+100", "0", "0"}, 100, 2, "Not bad", 1, 1},
      {"Select(1, 2) Select(2, 3) Select(3, 1)",
       {"+100", "+100", "+100"},
       300,
       3,
       "Excellent!",
       3,
       1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.picks);
    ASSERT_NE(Open(), nullptr);
    // Sounds outlive a dialog while they play: count this case's plays only.
    const int right = Plays(kRight), wrong = Plays(kWrong), win = Plays(kWin);
    Lua(std::string(c.picks) + " PlaceOrder()");
    for (int i = 0; i < 4; ++i) Tick(416);  // three rows and the verdict
    for (int r = 0; r < 3; ++r) EXPECT_EQ(dialog->GetRevealText(r)->GetText(), TString(c.texts[r]));
    EXPECT_EQ(dialog->GetScore(), c.score);
    EXPECT_EQ(dialog->GetResult(), c.result);
    EXPECT_EQ(std::string(dialog->GetVerdictText()->GetText().c_str()).rfind(c.verdictStart, 0),
              0u);
    EXPECT_EQ(Plays(kRight) - right, c.rightPlays);
    EXPECT_EQ(Plays(kWrong) - wrong, 3 - c.rightPlays);
    EXPECT_EQ(Plays(kWin) - win, c.winPlays);
    // The hearts stand on the picked options' corners.
    EXPECT_EQ(dialog->GetHeart(0)->GetScreenRect().left,
              Button("button11")->GetScreenRect().left + (c.score > 0 ? 200 : 0));
    Tick(3016);
    ASSERT_EQ(Manager().GetTopModal()->GetName(), TString("level"));
    Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(SelectionDialogTest, AMissingOptionIsSkippedAndItsRowShowsNoHeart) {
  ASSERT_NE(Open("button22"), nullptr);
  EXPECT_EQ(Button("button22"), nullptr);
  EXPECT_EQ(dialog->GetCaption(1, 1), nullptr);
  EXPECT_NE(dialog->GetCaption(1, 2), nullptr);
  Lua("Select(1, 1) Select(2, 2) Select(3, 1) PlaceOrder()");
  for (int i = 0; i < 4; ++i) Tick(416);
  EXPECT_TRUE(Shows(dialog->GetHeart(0)));
  EXPECT_FALSE(Shows(dialog->GetHeart(1)));
  EXPECT_TRUE(Shows(dialog->GetHeart(2)));
  EXPECT_TRUE(Shows(dialog->GetVerdictNote()));
}

TEST_F(SelectionDialogTest, ButtonsPickThroughTheScriptAndTheOrderButtonPlacesTheOrder) {
  ASSERT_NE(Open(), nullptr);
  WaitForCommands();
  for (const char* name : {"button13", "button22", "button31"}) Button(name)->Fire();
  EXPECT_EQ(dialog->GetRecord().selection, (std::array<int32_t, 3>{5, 1, 3}));
  Button("chooseok")->Fire();
  EXPECT_EQ(dialog->GetScoringState(), TSelectionDialog::kRevealing);
  EXPECT_EQ(Stored().selection, (std::array<int32_t, 3>{5, 1, 3}));
}

TEST_F(SelectionDialogTest, TheHoveredOptionIsMarkedUntilTheOrder) {
  ASSERT_NE(Open(), nullptr);
  Button("button21")->SetState(kButtonHover);
  Button("button33")->SetState(kButtonPressed);
  Tick(16);
  EXPECT_EQ(dialog->GetHoverRow(), 2);  // a later row wins
  EXPECT_EQ(dialog->GetHoverColumn(), 2);
  TPoint point{5, 5};
  EXPECT_TRUE(dialog->OnMouseMove(&point));
  EXPECT_EQ(dialog->GetHoverRow(), -1);
  Lua("PlaceOrder()");
  Tick(16);
  EXPECT_EQ(dialog->GetHoverRow(), -1);
}

TEST_F(SelectionDialogTest, ScriptsCanHideTheOrderButtonAndRunTheRevealThemselves) {
  ASSERT_NE(Open(), nullptr);
  Lua("Select(1, 1) Select(2, 1) Select(3, 1) HideOkButton() InitScoring()");
  EXPECT_TRUE(Shows(dialog->GetOrderPlaceholder()));
  EXPECT_EQ(dialog->GetOrderPlaceholder()->GetRect().left, TSelectionDialog::kOrderButtonX);
  EXPECT_EQ(Button("chooseok")->GetRect().left, 800);
  Lua("done = IsSelectDone()");
  EXPECT_EQ(Script().GetGlobalNumber("done"), 0);
  for (int i = 0; i < 4; ++i) Tick(416);
  Tick(3016);
  EXPECT_EQ(Manager().GetTopModal()->GetName(), TString("level"));
  EXPECT_EQ(Stored().selection[0], -9);  // the reveal alone stores nothing
  Manager().DeletePending();
  Lua("Select(1, 2)");  // the dialog is gone: the call only logs
  EXPECT_TRUE(Logged("Select"));
}

}  // namespace
