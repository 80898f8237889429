// The end-of-level dialog: its buttons, each page's windows, lines and places, the scores and
// the heroine's mood, the couple's pictures, the end sound, and the named messages its
// buttons send to the level.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/level/DialogParts.h"
#include "game/level/LevelDialogMessages.h"
#include "game/level/TImageButton.h"
#include "game/level/TLevelDialog.h"
#include "tests/game/level/DialogFixture.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TText.h"

namespace {

constexpr char kEndSound[] = "assets/audio/sfx/end_of_level.ogg";

struct TReceived {
  int type;
  std::string name;
  TWindow* window;
};

// Stands for the level: keeps the messages it is handed.
class TRecordingLevel : public TModalWindow {
 public:
  bool OnMessage(TMessage* message) override {
    received.push_back({message->mType, message->mName.c_str(), message->mTarget});
    return true;
  }
  std::vector<TReceived> received;
};

class LevelDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    TGameSettings::Get()->CreateNewUser("Ada");
    level = new TRecordingLevel;
    level->SetName("level");
    level->SetSize(kWidth, kHeight);
    Manager().PushModal(level);
  }
  void TearDown() override {
    dialogOwner.reset();  // the level takes it off before it goes
    DialogTest::TearDown();
  }
  TLevelDialogSetup StorySetup() {
    TLevelDialogSetup setup;
    setup.background = "assets/images/intro/intro_bg";
    setup.texts = {"The garden party", "Well done!", "Oh no!", "", "The end of the venue"};
    return setup;
  }
  // Shows the page as the level does: background, scores, attached, shown.
  void ShowPage(int mode, const char* background, int score, int goal, int expertGoal) {
    if (background) dialog.SetBackground(background);
    dialog.SetScores(score, goal, expertGoal);
    if (!dialog.GetParent()) level->AddChild(&dialog, true);
    dialog.Show(mode);
  }
  bool Shows(TWindow* window) { return window && window->GetParent() == &dialog; }
  TPoint At(TWindow* window) { return {window->GetRect().left, window->GetRect().top}; }
  static std::vector<int> Box(TWindow* window) {
    const TRect& r = window->GetRect();
    return {r.left, r.top, r.right, r.bottom};
  }
  static bool Is(const std::shared_ptr<TTexture>& texture, const char* name) {
    return texture && texture == TTexture::Get(name, 0);
  }

  TRecordingLevel* level = nullptr;
  std::unique_ptr<TLevelDialog> dialogOwner = std::make_unique<TLevelDialog>();
  TLevelDialog& dialog = *dialogOwner;
};

TEST_F(LevelDialogTest, TheButtonsAreSizedByTheirPicturesAndLabelledFromTheStringTable) {
  dialog.Setup(StorySetup());
  struct TCase {
    TImageButton* button;
    const char* message;
    const char* name;
    TPoint at;
    int width, height;
  };
  // 132 x 32 and 168 x 34 pictures, times 1.6666666 truncated; the restart and main-menu
  // buttons centred on x = 400 below the score lines.
  const TCase cases[] = {
      {dialog.GetContinueButton(), kMessageContinue, "buttonname", {350, 420}, 219, 53},
      {dialog.GetPlanButton(), kMessageLetsPlan, "lets_plan", {190, 538}, 279, 56},
      {dialog.GetRestartButton(), kMessageRestart, "buttonname", {291, 429}, 219, 53},
      {dialog.GetMainMenuButton(), kMessageMainMenu, "buttonname", {291, 487}, 219, 53},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(c.button->GetMessageName(), TString(c.message));
    EXPECT_EQ(c.button->GetName(), TString(c.name));
    EXPECT_EQ(c.button->GetType(), kButtonPush);
    EXPECT_EQ(At(c.button).x, c.at.x);
    EXPECT_EQ(At(c.button).y, c.at.y);
    EXPECT_EQ(c.button->GetWidth(), c.width);
    EXPECT_EQ(c.button->GetHeight(), c.height);
    for (int layer = 0; layer < 3; ++layer) {
      const auto& looks = c.button->GetLayerChildren(layer);
      ASSERT_EQ(looks.size(), 2u);
      auto* label = dynamic_cast<TText*>(looks[0]);  // the label in front of the picture
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->GetText(), LookUpString(c.message));
      EXPECT_NE(dynamic_cast<TImage*>(looks[1]), nullptr);
    }
  }
  EXPECT_EQ(dialog.GetPlanButton()->GetLayerChildren(0)[0]->GetParent(), dialog.GetPlanButton());
  EXPECT_EQ(LookUpString(kMessageLetsPlan), TString("Let's Plan a Festra!"));
}

TEST_F(LevelDialogTest, EachPageShowsItsOwnWindowsWhereTheyBelong) {
  struct TCase {
    int mode;
    bool endless;
    const char* heading;
    std::set<std::string> shown;
    int endSounds;
  };
  const std::set<std::string> all = {"heading",    "outro",   "yourscore", "goal",  "expertgoal",
                                     "totalscore", "note",    "bride",     "groom", "continue",
                                     "plan",       "restart", "mainmenu",  "mood",  "badge"};
  const TCase cases[] = {
      {TLevelDialog::kIntro,
       false,
       "The garden party",
       {"heading", "note", "goal", "expertgoal", "bride", "groom", "plan"},
       0},
      {TLevelDialog::kWon,
       false,
       "Well done!",
       {"heading", "yourscore", "totalscore", "continue", "mood"},
       1},
      {TLevelDialog::kWonWithOutro,
       false,
       "Well done!",
       {"heading", "outro", "yourscore", "totalscore", "continue"},
       1},
      {TLevelDialog::kLost,
       false,
       "Oh no!",
       {"heading", "yourscore", "goal", "restart", "mainmenu", "mood"},
       0},
      {TLevelDialog::kLost,
       true,
       "Oh no!",
       {"heading", "yourscore", "restart", "mainmenu", "mood"},
       0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.endless ? " endless" : ""));
    TLevelDialog page;
    TLevelDialogSetup setup = StorySetup();
    setup.endless = c.endless;
    page.Setup(setup);
    page.SetScores(150, 100, 300);
    level->AddChild(&page, true);
    const int plays = Plays(kEndSound);
    page.Show(c.mode);
    const std::vector<std::pair<std::string, TWindow*>> windows = {
        {"heading", page.GetHeading()},
        {"outro", page.GetOutroText()},
        {"yourscore", page.GetScoreLine(0)},
        {"goal", page.GetScoreLine(1)},
        {"expertgoal", page.GetScoreLine(2)},
        {"totalscore", page.GetScoreLine(3)},
        {"note", page.GetNote()},
        {"bride", page.GetBride()},
        {"groom", page.GetGroom()},
        {"continue", page.GetContinueButton()},
        {"plan", page.GetPlanButton()},
        {"restart", page.GetRestartButton()},
        {"mainmenu", page.GetMainMenuButton()},
        {"mood", page.GetMoodImage()},
        {"badge", page.GetExpertBadge()}};
    ASSERT_EQ(windows.size(), all.size());
    for (const auto& [name, window] : windows) {
      EXPECT_EQ(window->GetParent() == &page, c.shown.count(name) == 1) << name;
    }
    EXPECT_EQ(page.GetHeading()->GetText(), TString(c.heading));
    EXPECT_EQ(Plays(kEndSound) - plays, c.endSounds);
    level->RemoveChild(&page);
  }
}

TEST_F(LevelDialogTest, PagesPlaceTheirLinesAndTexts) {
  dialog.Setup(StorySetup());
  ShowPage(TLevelDialog::kIntro, nullptr, 0, 1000, 2000);
  EXPECT_EQ(Box(dialog.GetHeading()), (std::vector<int>{110, 100, 910, 345}));
  EXPECT_EQ(At(dialog.GetNote()).x, 580);
  EXPECT_EQ(At(dialog.GetScoreLine(1)).y, 335);
  EXPECT_EQ(At(dialog.GetScoreLine(2)).y, 360);
  EXPECT_EQ(At(dialog.GetBride()).x, 174);
  EXPECT_EQ(At(dialog.GetGroom()).y, 426);

  ShowPage(TLevelDialog::kWon, "assets/backgrounds/longdialog", 1500, 1000, 2000);
  EXPECT_EQ(Box(dialog.GetHeading()), (std::vector<int>{265, 160, 535, 318}));
  for (int line = 0; line < 4; ++line) {
    EXPECT_EQ(At(dialog.GetScoreLine(line)).x, 310);
    EXPECT_EQ(At(dialog.GetScoreLine(line)).y, 318 + 22 * line);
  }
  EXPECT_EQ(At(dialog.GetContinueButton()).x, 335);
  EXPECT_EQ(dialog.GetBackgroundImage()->GetWidth(), 800);  // 480 x 360 at five thirds

  ShowPage(TLevelDialog::kWonWithOutro, "images/outro/outro", 1500, 1000, 2000);
  EXPECT_EQ(Box(dialog.GetHeading()), (std::vector<int>{320, 75, 720, 170}));
  EXPECT_EQ(Box(dialog.GetOutroText()), (std::vector<int>{225, 220, 625, 320}));
  EXPECT_EQ(dialog.GetOutroText()->GetText(), TString("The end of the venue"));
  EXPECT_EQ(At(dialog.GetScoreLine(0)).y, 335);
  EXPECT_EQ(At(dialog.GetScoreLine(3)).y, 401);
  EXPECT_EQ(At(dialog.GetContinueButton()).x, 375);
}

TEST_F(LevelDialogTest, TheScoresPickTheMoodAndTheExpertBadge) {
  Prefs().SetInt("totalScore", 12345, 0, true);
  dialog.Setup(StorySetup());
  struct TCase {
    int score;
    const char* mood;
    bool expert;
  };
  const TCase cases[] = {{999, "assets/images/Velka_poor", false},
                         {1000, "assets/images/Velka_normal", false},
                         {1999, "assets/images/Velka_normal", false},
                         {2000, "assets/images/Velka_expert", true},
                         {-5, "assets/images/Velka_poor", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.score);
    ShowPage(TLevelDialog::kWon, "assets/backgrounds/longdialog", c.score, 1000, 2000);
    EXPECT_TRUE(Is(dialog.GetMoodImage()->GetTexture(), c.mood));
    EXPECT_EQ(dialog.GetMoodImage()->GetRect().left, 100);
    EXPECT_EQ(dialog.IsExpert(), c.expert);
    EXPECT_EQ(Shows(dialog.GetExpertBadge()), c.expert);
    EXPECT_EQ(Shows(dialog.GetExpertCaption()), c.expert);
    EXPECT_EQ(dialog.GetScoreLine(0)->GetText(), TString::Format("Your Score: %d", c.score));
  }
  EXPECT_EQ(dialog.GetScoreLine(1)->GetText(), TString("Goal: 1000"));
  EXPECT_EQ(dialog.GetScoreLine(2)->GetText(), TString("Expert Goal: 2000"));
  EXPECT_EQ(dialog.GetScoreLine(3)->GetText(), TString("Total Score: 12345"));
  EXPECT_EQ(dialog.GetExpertCaption()->GetText(), TString("Expert"));
  // A lost page shows no badge, whatever the scores.
  ShowPage(TLevelDialog::kLost, "assets/backgrounds/talldialog", 2500, 3000, 2000);
  EXPECT_FALSE(Shows(dialog.GetExpertBadge()));
}

TEST_F(LevelDialogTest, TheCoupleIsThePlayersChoice) {
  const char* folder = "images/character/Brides and Grooms/";
  struct TCase {
    int bride, groom;  // -1: not stored
    const char* bridePicture;
    const char* groomPicture;
  };
  const TCase cases[] = {
      {-1, -1, "gen_b1_normal", "gen_g1_normal"},
      {0, 4, "bfg1_normal", "gmg1_normal"},
      {3, 7, "bfg4_normal", "gmg4_normal"},
      {13, 16, "gen_b3_normal", "gen_g3_normal"},
      {5, 11, nullptr, nullptr},
      {14, 3, nullptr, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bride << ", " << c.groom);
    if (c.bride >= 0) Prefs().SetInt("FutureBride", c.bride, 0, true);
    if (c.groom >= 0) Prefs().SetInt("FutureGroom", c.groom, 0, true);
    TLevelDialog page;
    page.Setup(StorySetup());
    const std::shared_ptr<TTexture>& bride = page.GetBride()->GetTexture();
    const std::shared_ptr<TTexture>& groom = page.GetGroom()->GetTexture();
    if (c.bridePicture) {
      EXPECT_TRUE(Is(bride, (std::string(folder) + c.bridePicture).c_str()));
    } else {
      EXPECT_EQ(bride, nullptr);
    }
    if (c.groomPicture) {
      EXPECT_TRUE(Is(groom, (std::string(folder) + c.groomPicture).c_str()));
    } else {
      EXPECT_EQ(groom, nullptr);
    }
  }
}

TEST_F(LevelDialogTest, EveryButtonSendsItsNamedMessageToTheLevel) {
  dialog.Setup(StorySetup());
  ShowPage(TLevelDialog::kLost, "assets/backgrounds/talldialog", 10, 1000, 2000);
  // A click through the window manager: press and release over the restart button.
  const TRect restart = dialog.GetRestartButton()->GetScreenRect();
  for (uint32_t type : {kEventLeftDown, kEventLeftUp}) {
    TPlatformEvent event{type, 0, restart.left + 20, restart.top + 20, 0};
    Manager().HandleEvent(&event);
  }
  ASSERT_EQ(level->received.size(), 1u);
  EXPECT_EQ(level->received[0].type, kMessageImageButton);
  EXPECT_EQ(level->received[0].name, kMessageRestart);
  EXPECT_EQ(level->received[0].window, dialog.GetRestartButton());
  EXPECT_TRUE(Manager().GetCapture().empty());

  level->received.clear();
  TPoint inside{5, 5};
  EXPECT_TRUE(dialog.GetMainMenuButton()->OnMouseUp(&inside));
  ShowPage(TLevelDialog::kWon, "assets/backgrounds/longdialog", 10, 1000, 2000);
  EXPECT_TRUE(dialog.GetContinueButton()->OnMouseUp(&inside));
  ShowPage(TLevelDialog::kIntro, nullptr, 0, 1000, 2000);
  EXPECT_TRUE(dialog.GetPlanButton()->OnMouseUp(&inside));
  ASSERT_EQ(level->received.size(), 3u);
  EXPECT_EQ(level->received[0].name, kMessageMainMenu);
  EXPECT_EQ(level->received[1].name, kMessageContinue);
  EXPECT_EQ(level->received[2].name, kMessageLetsPlan);

  // Without a parent the dialog still takes every message.
  level->RemoveChild(&dialog);
  TMessage message(kMessageImageButton, kMessageContinue);
  EXPECT_TRUE(dialog.OnMessage(&message));
  EXPECT_EQ(level->received.size(), 3u);
}

}  // namespace
