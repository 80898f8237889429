// The player choice: the buttons for 0 to 12 players as a table, and creating, renaming,
// deleting and switching players through its layout script and the name entry.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/frontend/MenuScreenFixture.h"

namespace {

class ChoosePlayerTest : public MenuScreenTest {
 protected:
  TChoosePlayer* OpenChoice() {
    Open("scripts/chooseplayer.lua");
    return Find<TChoosePlayer>("chooseplayer");
  }
  TButton* PlayerButton(int i) { return Button(("button" + std::to_string(i)).c_str()); }
  std::string Label(int i) { return PlayerButton(i)->GetLabelText().c_str(); }
  // Types a name into the open name entry and confirms it.
  void EnterName(const std::string& name) {
    ASSERT_NE(Find<TEnterName>("enternamewindow"), nullptr);
    for (int i = 0; i < 12; ++i) Type({8});
    for (char c : name) Type({static_cast<unsigned char>(c)});
    Click(Button("enterok"));
    Settle();
  }
  // Lets the script take the closes and commands posted so far.
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      Tick(16);
      Manager().DeletePending();  // as the game loop does each pass: closed screens go
    }
  }
};

TEST_F(ChoosePlayerTest, TheButtonsFollowThePlayers) {
  struct Case {
    int players, current;
    int checked;  // the checked button, -1 none
  };
  const Case cases[] = {
      {0, -1, -1}, {3, 1, 1}, {3, -1, -1}, {10, 9, 9}, {12, 11, -1}, {12, 4, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.players) + " players, current " + std::to_string(c.current));
    while (Settings().GetNumUsers() > 0) Settings().DeleteUser(0);
    for (int i = 0; i < c.players; ++i) Settings().CreateNewUser(("P" + std::to_string(i)).c_str());
    Settings().SetCurrentUser(c.current);
    TChoosePlayer* choice = OpenChoice();
    ASSERT_NE(choice, nullptr);
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(Shows(PlayerButton(i)), i < c.players) << i;
      if (i < c.players) {
        EXPECT_EQ(Label(i), "P" + std::to_string(i));
      }
      EXPECT_EQ(PlayerButton(i)->IsChecked(), i == c.checked) << i;
    }
    EXPECT_EQ(choice->GetCurrentSelectedUser(), c.checked);
    EXPECT_EQ(choice->GetSelectedPlayerName(),
              c.checked < 0 ? TString() : TString(("P" + std::to_string(c.checked)).c_str()));
    for (const char* name : {"delete", "chooseok", "editname"}) {
      EXPECT_EQ(Shows(Button(name)), c.players > 0) << name;
    }
    EXPECT_EQ(Shows(Button("newplayer")), c.players < 10);
    Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(ChoosePlayerTest, NamesAreShownAsTyped) {
  Settings().CreateNewUser("<b>Zo\xC3\xAB\\</b>");
  ASSERT_NE(OpenChoice(), nullptr);
  EXPECT_EQ(Label(0), "\\<b>Zo\xC3\xAB\\\\\\</b>");  // escaped: no tags
}

TEST_F(ChoosePlayerTest, CreateRenameSwitchAndDeletePlayers) {
  // Opened as the main menu opens it: a modal screen the script waits on.
  Lua("return function() DoModal('scripts/chooseplayer.lua') gChoiceClosed = 1 end");
  ASSERT_NE(Find<TChoosePlayer>("chooseplayer"), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  // Create two players.
  Click(Button("newplayer"));
  Settle();
  EnterName("Ann");
  ASSERT_NE(Find<TChoosePlayer>("chooseplayer"), nullptr);
  EXPECT_EQ(Settings().GetNumUsers(), 1);
  EXPECT_EQ(Label(0), "Ann");
  EXPECT_TRUE(PlayerButton(0)->IsChecked());
  Click(Button("newplayer"));
  Settle();
  EnterName("Cy");
  EXPECT_EQ(Settings().GetNumUsers(), 2);
  EXPECT_EQ(Settings().GetCurrentUserIndex(), 1);
  EXPECT_TRUE(PlayerButton(1)->IsChecked());
  // A name in use is not taken twice.
  Click(Button("newplayer"));
  Settle();
  EnterName("Ann");
  EXPECT_EQ(Settings().GetNumUsers(), 2);
  // Rename the first.
  Click(PlayerButton(0));
  Click(Button("editname"));
  Settle();
  EnterName("Bea");
  EXPECT_EQ(Settings().GetUserName(0), TString("Bea"));
  EXPECT_EQ(Label(0), "Bea");
  // Delete the second, after saying yes.
  Click(PlayerButton(1));
  Click(Button("delete"));
  Settle();
  ASSERT_NE(Button("yes"), nullptr);
  Click(Button("yes"));
  Settle();
  EXPECT_EQ(Settings().GetNumUsers(), 1);
  EXPECT_FALSE(Shows(PlayerButton(1)));
  // Switch: OK makes the checked player current and closes.
  Settings().CreateNewUser("Dee");
  Lua("SetPlayerChoices()");
  EXPECT_TRUE(PlayerButton(1)->IsChecked());
  Click(PlayerButton(0));
  Click(Button("chooseok"));
  Settle();
  EXPECT_EQ(Settings().GetCurrentUserIndex(), 0);
  EXPECT_EQ(Find<TChoosePlayer>("chooseplayer"), nullptr);
  EXPECT_EQ(Script().GetGlobalNumber("gChoiceClosed"), 1);
}

}  // namespace
