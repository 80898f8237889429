// The upgrade dialog with the game's own catalogue and dialog script: the offer by venue and
// owned upgrades, the buttons it removes, the pick, and the stored choice per player with
// the way on (the next story level, the venue map, or back to the endless reception).
#include <gtest/gtest.h>

#include <string>

#include "game/level/UpgradeRules.h"
#include "tests/game/level/DialogFixture.h"
#include "tvlib/ui/TText.h"

namespace {

constexpr char kUpgradeScript[] = "assets/scripts/upgrade1.lua";

class UpgradeDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    TGameSettings::Get()->CreateNewUser("Ada");
    TGameSettings::Get()->CreateNewUser("Bo");  // the current player: index 1
  }
  int Player() { return TGameSettings::Get()->GetCurrentUserIndex(); }
  // The dialog after winning `level` of `map`, with the player's stored list.
  TUpgradeDialog* Open(int map, int level, const TUpgradeSlots& stored = {}) {
    Prefs().SetInt("currentMap", map, Player(), true);
    Prefs().SetInt("currentLevel", level, Player(), true);
    StoreUpgradeSlots(Prefs(), StoryUpgradeKey(map), stored, Player());
    return OpenOverLevel();
  }
  TUpgradeDialog* OpenOverLevel() {
    PushLevel();
    OpenDialog(kUpgradeScript);
    dialog = Find<TUpgradeDialog>("upgradedialog");
    return dialog;
  }
  void Lua(const std::string& code) { Script().DoLuaString(code.c_str()); }
  TString TopName() { return Manager().GetTopModal()->GetName(); }

  TUpgradeDialog* dialog = nullptr;
};

TEST_F(UpgradeDialogTest, EachVenueOffersItsOwnUpgradesAndOwnedOnesOpenTheirFollowUps) {
  struct TCase {
    int map, level;
    TUpgradeSlots stored;
    TUpgradeOffer offer;
  };
  const TCase cases[] = {
      {1, 1, {}, {5, 31, 1}},                                  // the garden: patience, walking
      {1, 3, {5}, {31, 1, 19}},                                // comfier chairs owned
      {1, 5, {5, 0, 31}, {1, 19, 32}},                         // and Velka's speed
      {1, 1, {5, 0, 31}, {5, 31, 1}},                          // level 1 owns nothing yet
      {2, 1, {}, {24, 6, 3}},                                  // the barn: servers and chef
      {3, 1, {}, {9, 7, 1}},                                   // the seaside: table and cake
      {4, 1, {}, {13, 11, 9}},                                 // the ballroom: drinks, band
      {5, 1, {}, {17, 11, 13}},                                // the castle: dancing
      {5, 10, {17, 0, 18, 0, 11, 0, 12, 0, 13}, {14, 9, 31}},  // late in the castle
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "venue " << c.map << " level " << c.level);
    ASSERT_NE(Open(c.map, c.level, c.stored), nullptr);
    EXPECT_EQ(dialog->GetOffered(), c.offer);
    for (int i = 0; i < 3; ++i) {
      TButton* button = Button(("button" + std::to_string(i + 1)).c_str());
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->GetLayerChildren(3).size(), 1u);
      EXPECT_EQ(dialog->GetDescription(i)->GetScreenRect().left, 170);
      EXPECT_EQ(dialog->GetDescription(i)->GetScreenRect().top, button->GetScreenRect().top + 10);
    }
    EXPECT_EQ(std::string(dialog->GetDescription(0)->GetText().c_str()).find("#####"),
              std::string::npos);
    Manager().PopModal();
    Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(UpgradeDialogTest, ButtonsWithoutAnOfferGoAndTheOrderButtonShowsWhenNothingIsLeft) {
  // Venue 1's list, all but 4 and 25 owned (4 needs 3, 25 needs 24).
  ASSERT_NE(Open(1, 10, {5, 31, 1, 19, 32, 2, 3, 24, 0}), nullptr);
  EXPECT_EQ(dialog->GetOffered(), (TUpgradeOffer{4, 25, -1}));
  EXPECT_NE(Button("button2"), nullptr);
  EXPECT_EQ(Button("button3"), nullptr);
  EXPECT_EQ(dialog->GetDescription(2), nullptr);
  EXPECT_EQ(Button("chooseok")->GetRect().left, 800);  // hidden until a pick
  Manager().PopModal();
  Manager().PopModal();

  ASSERT_NE(Open(1, 10, {5, 31, 1, 19, 32, 2, 3, 24, 4}), nullptr);
  EXPECT_EQ(dialog->GetOffered(), (TUpgradeOffer{25, -1, -1}));
  Manager().PopModal();
  Manager().PopModal();

  StoreUpgradeSlots(Prefs(), StoryUpgradeKey(1), {5, 31, 1, 19, 32, 2, 3, 24, 4, 25}, Player());
  Prefs().SetInt("currentLevel", 11, Player(), true);  // owns all ten
  ASSERT_NE(OpenOverLevel(), nullptr);
  EXPECT_EQ(dialog->GetOffered(), (TUpgradeOffer{-1, -1, -1}));
  for (const char* name : {"button1", "button2", "button3"}) EXPECT_EQ(Button(name), nullptr);
  const TRect order = Button("chooseok")->GetRect();
  EXPECT_EQ(order.left, 400 - (order.right - order.left) / 2);  // the player can still go on
  EXPECT_EQ(order.top, TUpgradeDialog::kOrderButtonY);
}

TEST_F(UpgradeDialogTest, APickBringsTheOrderButtonAndConfirmingWithoutOneChoosesNothing) {
  ASSERT_NE(Open(1, 1), nullptr);
  Lua("UpgradeIt() Select(3) Select(-1)");
  EXPECT_EQ(dialog->GetChosenItem(), -1);
  EXPECT_EQ(dialog->GetSelected(), -1);
  EXPECT_EQ(Button("chooseok")->GetRect().left, 800);
  Lua("Select(1)");
  const TRect order = Button("chooseok")->GetRect();
  EXPECT_EQ(order.left, 400 - (order.right - order.left) / 2);
  EXPECT_EQ(order.top, TUpgradeDialog::kOrderButtonY);
  Lua("UpgradeIt()");
  EXPECT_EQ(dialog->GetChosenItem(), 31);
}

TEST_F(UpgradeDialogTest, TheChoiceIsStoredInTheSlotOfTheLevelWonAndTheNextLevelOpens) {
  PutFixture("game1.4.lua", "scripts/game1.4.lua");
  ASSERT_NE(Open(1, 3, {5, 0, 0, 0, 0, 0, 0, 0, 0, 0}), nullptr);
  WaitForCommands();
  Button("button2")->Fire();   // the script's commands: Select(1) ...
  Button("chooseok")->Fire();  // ... then UpgradeIt() and SaveUpgrade()
  EXPECT_EQ(LoadUpgradeSlots(Prefs(), StoryUpgradeKey(1), Player()),
            (TUpgradeSlots{5, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(LoadUpgradeSlots(Prefs(), StoryUpgradeKey(1), 0), TUpgradeSlots{});  // Ada's
  ASSERT_EQ(Manager().GetModalStack().size(), 2u);  // the dialog and the level gave way
  EXPECT_EQ(TopName(), TString("assets/scripts/game1.4.lua"));
  EXPECT_NE(Manager().GetTopModal()->FindChild("nextlevel", -1), nullptr);
}

TEST_F(UpgradeDialogTest,
       WithoutANextLevelTheVenueMapShowsAgainAndLevelsOutsideAVenueStoreNothing) {
  struct TCase {
    int level;
    bool stored;
  };
  // Level 5 has no script here; level 10 is a venue's last; 0 is what a missing
  // "currentLevel" reads, which has no slot.
  for (const TCase c : {TCase{5, true}, TCase{10, true}, TCase{0, false}}) {
    SCOPED_TRACE(c.level);
    ASSERT_NE(Open(2, c.level), nullptr);
    Lua("Select(0) UpgradeIt() SaveUpgrade() SaveUpgrade()");
    EXPECT_EQ(Manager().GetModalStack().size(), 1u);  // the screen below the level
    const TUpgradeSlots slots = LoadUpgradeSlots(Prefs(), StoryUpgradeKey(2), Player());
    TUpgradeSlots expected{};
    if (c.stored) expected[static_cast<size_t>(c.level - 1)] = 24;
    EXPECT_EQ(slots, expected);
    Manager().DeletePending();
  }
}

TEST_F(UpgradeDialogTest, TheEndlessReceptionOffersFromItsListAndTakesTheChoiceBack) {
  Prefs().SetInt("endless", 1, Player(), true);
  Prefs().SetInt("arcadeLevel", 2, -1, true);
  Prefs().SetInt(kWaitingUpgradeKey, 1, Player(), true);
  TUpgradeSlots taken{};
  taken[0] = 24;
  taken[9] = 6;  // the tenth slot is not among the owned nine
  StoreUpgradeSlots(Prefs(), kArcadeUpgradeFlagKey, taken, Player());
  ASSERT_NE(OpenOverLevel(), nullptr);
  EXPECT_TRUE(dialog->IsEndless());
  EXPECT_EQ(dialog->GetOffered(), (TUpgradeOffer{6, 3, 25}));
  Lua("Select(2) UpgradeIt() SaveUpgrade()");
  EXPECT_EQ(TopName(), TString("level"));  // only the dialog closed
  EXPECT_EQ(Prefs().GetInt(kArcadeUpgradeKey, -9, Player()), 25);
  EXPECT_EQ(Prefs().GetInt(kWaitingUpgradeKey, -9, Player()), 0);
  EXPECT_EQ(LoadUpgradeSlots(Prefs(), kArcadeUpgradeFlagKey, Player()), taken);  // the level's
}

TEST_F(UpgradeDialogTest, TheDialogMarksThePickedButtonElseAHoveredOne) {
  ASSERT_NE(Open(1, 1), nullptr);
  Tick(16);
  Lua("Select(2)");
  Button("button1")->SetState(kButtonHover);
  EXPECT_TRUE(dialog->IsDirty() || Manager().IsMarkedDirty(dialog));
  Tick(16);
  const TFramePixel shown = Shown();
  // Beside each button's left edge: the picked row's mark, the hovered row's mark, and the
  // background beside the third.
  const uint32_t hovered = shown(181, TUpgradeDialog::kMarkY);
  const uint32_t plain = shown(181, TUpgradeDialog::kMarkY + TUpgradeDialog::kMarkSpacing);
  const uint32_t picked = shown(181, TUpgradeDialog::kMarkY + 2 * TUpgradeDialog::kMarkSpacing);
  EXPECT_NE(picked, plain);
  EXPECT_NE(hovered, plain);
  EXPECT_NE(picked, hovered);
}

}  // namespace
