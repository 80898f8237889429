// The end-of-level dialog: the page the level lays over its room before play (mode 0, the
// introduction with the couple's pictures, the goals and the plan button), when it is won
// (mode 1; mode 4 with the outro text of a venue's last level) and when it is lost (mode 2,
// with the restart and main-menu buttons). It shows what the level hands it and passes every
// button press up to the level as a type-55 message named by the button's label key
// (LevelDialogMessages.h): "continue", "lets_plan_festra", "ui.dialog.restartlevel.title",
// "ui.dialog.metamap.title". It decides nothing about the game.
//
// The level calls Setup once while it loads, then for each page SetBackground (when the
// background changes), SetScores, attaches the dialog as its child and calls Show. Every
// window of the dialog is its own and is its child only while the page shows it; the level
// takes the dialog off before the level goes (a window deletes the children it still has).
// Reads the current player's "FutureBride", "FutureGroom" and "totalScore" from the profile
// service. UI thread only.
#pragma once

#include <array>
#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

class TImage;
class TImageButton;
class TSound;
class TText;

// What the level hands the dialog when it loads.
struct TLevelDialogSetup {
  // Texts by index.
  static constexpr int kIntroText = 0;
  static constexpr int kWinText = 1;
  static constexpr int kLoseText = 2;
  static constexpr int kNoteText = 3;   // beside the introduction; empty in story levels
  static constexpr int kOutroText = 4;  // the second text of the outro page

  TString background;       // the introduction's picture, drawn as it is ("introBG")
  TString optionalPicture;  // an extra picture on the introduction; empty for none
  bool endless = false;     // an endless reception: its lost page shows no goal
  std::array<TString, 5> texts;
};

class TLevelDialog : public TWindow {
 public:
  // Pages.
  static constexpr int kIntro = 0;
  static constexpr int kWon = 1;
  static constexpr int kLost = 2;
  static constexpr int kWonWithOutro = 4;

  TLevelDialog();
  ~TLevelDialog() override;

  // Builds the dialog's windows and reads the player's couple.
  void Setup(const TLevelDialogSetup& setup);
  // The background picture, five thirds of its size, shown from now on.
  void SetBackground(const TString& image);
  // The score lines ("Your Score", "Goal", "Expert Goal", the player's "Total Score") and the
  // heroine's mood picture: poor below the goal, normal from the goal, expert from the
  // expert goal (which also marks the scores as expert).
  void SetScores(int score, int goal, int expertGoal);
  // Lays the page of `mode` out (other modes show nothing of their own) and plays the
  // end-of-level sound on a won page (the expert badge shows with it when the scores are
  // expert).
  void Show(int mode);
  // Hands every message to the parent; always handled.
  bool OnMessage(TMessage* message) override;

  int GetMode() const { return mMode; }
  bool IsExpert() const { return mExpert; }
  TText* GetHeading() const { return mHeading.get(); }
  TText* GetOutroText() const { return mOutroText.get(); }
  // 0 your score, 1 goal, 2 expert goal, 3 total score.
  TText* GetScoreLine(int line) const { return mScoreLines[static_cast<size_t>(line)].get(); }
  TText* GetNote() const { return mNote.get(); }
  TImage* GetBackgroundImage() const { return mBackground.get(); }
  TImage* GetMoodImage() const { return mMood.get(); }
  TImage* GetBride() const { return mBride.get(); }
  TImage* GetGroom() const { return mGroom.get(); }
  TImage* GetOptionalPicture() const { return mOptional.get(); }
  TImage* GetExpertBadge() const { return mExpertBadge.get(); }
  TText* GetExpertCaption() const { return mExpertCaption.get(); }
  TImageButton* GetContinueButton() const { return mContinue.get(); }
  TImageButton* GetPlanButton() const { return mPlan.get(); }
  TImageButton* GetRestartButton() const { return mRestart.get(); }
  TImageButton* GetMainMenuButton() const { return mMainMenu.get(); }

 private:
  // Score lines.
  static constexpr size_t kYourScore = 0, kGoal = 1, kExpertGoal = 2, kTotalScore = 3;

  void BuildButtons();
  void ChooseCouplePictures();
  void Attach(TWindow* window, int x, int y);
  void Detach(TWindow* window);
  void PlaceScoreLines(int x, int top);
  void PlayEndSound();

  std::unique_ptr<TImage> mBackground;
  std::unique_ptr<TImage> mMood;
  std::unique_ptr<TImageButton> mContinue, mPlan, mRestart, mMainMenu;
  std::array<TString, 5> mTexts;
  int mMode = -1;
  std::unique_ptr<TText> mHeading, mOutroText;
  std::array<std::unique_ptr<TText>, 4> mScoreLines;
  std::unique_ptr<TText> mNote;
  int mPlayer = -1;
  std::unique_ptr<TImage> mBride, mGroom, mOptional, mExpertBadge;
  std::unique_ptr<TText> mExpertCaption;
  std::shared_ptr<TSound> mEndSound, mExpertSound;
  bool mExpert = false;
  bool mHasOptional = false;
  bool mEndless = false;
};
