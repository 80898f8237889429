// Whole frames of the level's dialogs drawn on the headless display from the game's packed
// content, written beside the test's output for looking at: the planning selection of level
// 1.1 while choosing and at its verdict, the upgrade choice of the first venue, and the
// end-of-level dialog's introduction, won, outro and lost pages over a room. Each frame is
// also probed where its marks and pictures must show.
#include <gtest/gtest.h>

#include <string>

#include "game/level/TLevelDialog.h"
#include "tests/game/level/DialogFixture.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TImage.h"

namespace {

class DialogFrameTest : public DialogTest {
 protected:
  // Draws the frame and writes it as `name` in the test's folder.
  void Frame(const std::string& name) {
    Manager().RequestFullRedraw();
    Tick(16);
    ASSERT_TRUE(WriteFramePng(name, kWidth, kHeight, Shown())) << name;
  }
  void Lua(const std::string& code) { Script().DoLuaString(code.c_str()); }
  // A room standing for the level under its dialog: the garden's background.
  TModalWindow* PushRoom() {
    TModalWindow* room = PushLevel();
    auto* background = new TImage;
    background->SetTexture(TTexture::Get("images/bg_backyard", 0), 1.0f);
    room->AddChild(background, true);
    return room;
  }
  static bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
      const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
      if (d > tolerance || d < -tolerance) return false;
    }
    return true;
  }
};

TEST_F(DialogFrameTest, ThePlanningSelectionWhileChoosingAndAtItsVerdict) {
  PushLevel();
  OpenDialog("assets/scripts/selection scripts/selection1.1.lua");
  auto* dialog = Find<TSelectionDialog>("selectiondialog");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  Lua("Select(1, 2) Select(2, 1)");
  Button("button33")->SetState(kButtonHover);
  Frame("selection_choosing.png");
  // The marks stand out beside their options.
  const TRect picked = Button("button12")->GetScreenRect();
  const TRect hovered = Button("button33")->GetScreenRect();
  const TRect idle = Button("button22")->GetScreenRect();
  const uint32_t pickMark = Shown()(picked.left - 5, (picked.top + picked.bottom) / 2);
  const uint32_t hoverMark = Shown()(hovered.left - 5, (hovered.top + hovered.bottom) / 2);
  const uint32_t none = Shown()(idle.left - 5, (idle.top + idle.bottom) / 2);
  EXPECT_FALSE(Near(pickMark, none, 20));
  EXPECT_FALSE(Near(hoverMark, none, 20));
  EXPECT_FALSE(Near(pickMark, hoverMark, 20));

  Lua("Select(3, 1)");
  Frame("selection_ordering.png");
  Lua("PlaceOrder()");
  for (int i = 0; i < 4; ++i) Tick(416);
  Frame("selection_verdict.png");
  EXPECT_EQ(dialog->GetResult(), 2);
}

TEST_F(DialogFrameTest, TheUpgradeChoiceOfTheFirstVenue) {
  TGameSettings::Get()->CreateNewUser("Ada");
  Prefs().SetInt("currentMap", 1, 0, true);
  Prefs().SetInt("currentLevel", 1, 0, true);
  PushRoom();
  OpenDialog("assets/scripts/upgrade1.lua");
  ASSERT_NE(Find<TUpgradeDialog>("upgradedialog"), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  Lua("Select(1)");
  Button("button1")->SetState(kButtonHover);
  Frame("upgrade_choice.png");
}

class LevelDialogFrameTest : public DialogFrameTest {
 protected:
  void SetUp() override {
    DialogFrameTest::SetUp();
    TGameSettings::Get()->CreateNewUser("Ada");
    Prefs().SetInt("totalScore", 48250, 0, true);
    Prefs().SetInt("FutureBride", 12, 0, true);
    Prefs().SetInt("FutureGroom", 15, 0, true);
    room = PushRoom();
  }
  void TearDown() override {
    TakeOff();
    DialogFrameTest::TearDown();
  }
  // A level's dialog as the level sets it up when it loads.
  void SetUpDialog() {
    TakeOff();
    dialog = std::make_unique<TLevelDialog>();
    TLevelDialogSetup setup;
    setup.background = "assets/images/intro/intro_bg";
    setup.texts = {
        "Mia and Theo are getting married in the garden! They love roses, a shrimp "
        "cocktail to start and a hearty roast.",
        "What a lovely reception! The guests will talk about it for weeks.",
        "Oh dear, the guests went home unhappy. Shall we try again?", "",
        "Every couple of the garden had the day of their dreams."};
    dialog->Setup(setup);
  }
  void TakeOff() {
    if (dialog && dialog->GetParent()) dialog->GetParent()->RemoveChild(dialog.get());
    dialog.reset();
  }
  void Show(int mode, const char* background, int score) {
    if (background) dialog->SetBackground(background);
    dialog->SetScores(score, 1000, 2000);
    if (!dialog->GetParent()) room->AddChild(dialog.get(), true);
    dialog->Show(mode);
  }

  TModalWindow* room = nullptr;
  std::unique_ptr<TLevelDialog> dialog;
};

// A level shows its introduction and then one end page; a restarted level is a new one.
TEST_F(LevelDialogFrameTest, TheIntroductionWonOutroAndLostPages) {
  SetUpDialog();
  Show(TLevelDialog::kIntro, nullptr, 0);
  Frame("level_intro.png");
  Show(TLevelDialog::kWon, "assets/backgrounds/longdialog", 2150);
  Frame("level_won.png");
  SetUpDialog();
  Show(TLevelDialog::kWonWithOutro, "images/outro/outro", 1500);
  Frame("level_outro.png");
  SetUpDialog();
  Show(TLevelDialog::kLost, "assets/backgrounds/talldialog", 640);
  Frame("level_lost.png");
  EXPECT_FALSE(Logged("#####")) << Log();
  EXPECT_FALSE(Logged("is missing")) << Log();
}

}  // namespace
