// The pause menu over a stand-in level: the player's mark, the mute box, resuming and leaving
// the level through the level's script function, and the resume message DeliverMsg hands on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/ui/TMessage.h"

namespace {

// Stands for the level: notes the messages handed to it.
class TStandInLevel : public TModalWindow {
 public:
  bool OnMessage(TMessage* message) override {
    notes.push_back(std::to_string(message->mType) + ":" + message->mName.c_str());
    return TModalWindow::OnMessage(message);
  }
  std::vector<std::string> notes;
};

class PauseMenuTest : public MenuScreenTest {
 protected:
  void SetUp() override {
    MenuScreenTest::SetUp();
    Settings().CreateNewUser("Ada");
    level = new TStandInLevel;
    level->SetName("level");
    level->SetSize(kWidth, kHeight);
    Manager().PushModal(level);
    // The level's script function, as the level binds it.
    Lua("gActions = {} function PauseAction(code) table.insert(gActions, code) end");
  }
  TPauseMenu* OpenPauseMenu() {
    Open("assets/scripts/pausemenu.lua");
    return Find<TPauseMenu>("pausemenu");
  }
  std::string Actions() {
    Lua("gActionText = table.concat(gActions, ',')");
    return Script().GetGlobalString("gActionText").c_str();
  }
  TStandInLevel* level = nullptr;
};

TEST_F(PauseMenuTest, OpeningMarksThePlayerAndShowsTheMuteState) {
  Prefs().SetInt("soundoff", 1, 0, true);
  ASSERT_NE(OpenPauseMenu(), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  EXPECT_EQ(Prefs().GetInt("inPauseMenu", 0, 0), 1);
  EXPECT_TRUE(Button("mutebox")->IsChecked());
}

TEST_F(PauseMenuTest, ResumeClosesTheMenuAndResumesTheLevel) {
  ASSERT_NE(OpenPauseMenu(), nullptr);
  EXPECT_FALSE(Button("mutebox")->IsChecked());
  WaitForCommands();
  Click(Button("resume"));
  Tick(16);
  EXPECT_EQ(Manager().GetTopModal(), level);
  EXPECT_EQ(Actions(), "1700");
}

TEST_F(PauseMenuTest, LeavingAsksFirstThenEndsTheLevel) {
  ASSERT_NE(OpenPauseMenu(), nullptr);
  WaitForCommands();
  Click(Button("quitlevel"));
  Tick(16);
  ASSERT_NE(Button("no"), nullptr);  // the question
  Click(Button("no"));
  Tick(16);
  EXPECT_NE(Find<TPauseMenu>("pausemenu"), nullptr);
  EXPECT_EQ(Actions(), "");
  Click(Button("quitlevel"));
  Tick(16);
  ASSERT_NE(Button("yes"), nullptr);
  Click(Button("yes"));
  Tick(16);
  EXPECT_EQ(Manager().GetTopModal(), level);
  EXPECT_EQ(Actions(), "1704");
}

TEST_F(PauseMenuTest, DeliverMsgHandsTheResumeMessageToTheTopModalWindow) {
  TPauseMenu* menu = OpenPauseMenu();
  ASSERT_NE(menu, nullptr);
  // Once the menu is off the stack, the level is the top modal window.
  Manager().PopModal();
  Lua("DeliverMsg(42)");
  EXPECT_EQ(level->notes, std::vector<std::string>{"1700:"});
}

}  // namespace
