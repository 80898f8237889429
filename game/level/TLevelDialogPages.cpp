// The end-of-level dialog's pages: which windows each mode shows, where, and the end sound.
#include "game/level/DialogParts.h"
#include "game/level/TImageButton.h"
#include "game/level/TLevelDialog.h"
#include "tvlib/media/TSound.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"

namespace {

constexpr char kEndSound[] = "assets/audio/sfx/end_of_level.ogg";
// The note leans a little, as if pinned beside the introduction.
constexpr float kNoteAngle = 6.0f;

// A page sizes a text's window and gives it its words; the text keeps the box it was laid
// out in at set-up (its lines wrap and align there) and shows as many lines as the window
// holds.
void SetPageText(TText* text, const TString& words, int width, int height) {
  text->SetSize(width, height);
  text->SetText(words);
}

}  // namespace

void TLevelDialog::Show(int mode) {
  mMode = mode;
  for (auto& line : mScoreLines) Detach(line.get());
  for (TWindow* part : std::initializer_list<TWindow*>{
           mContinue.get(), mPlan.get(), mRestart.get(), mMainMenu.get(), mNote.get(), mBride.get(),
           mGroom.get(), mOptional.get(), mExpertBadge.get(), mExpertCaption.get()}) {
    Detach(part);
  }
  TText* yourScore = mScoreLines[kYourScore].get();
  TText* goal = mScoreLines[kGoal].get();
  TText* expertGoal = mScoreLines[kExpertGoal].get();
  TText* totalScore = mScoreLines[kTotalScore].get();
  switch (mode) {
    case kIntro:
      SetPageText(mHeading.get(), mTexts[TLevelDialogSetup::kIntroText], 800, 245);
      Attach(mHeading.get(), 110, 100);
      SetPageText(mNote.get(), mTexts[TLevelDialogSetup::kNoteText], 250, 150);
      mNote->SetRotation(kNoteAngle, 0, 0);
      Attach(mNote.get(), 580, 260);
      Attach(goal, 160, 335);
      Attach(expertGoal, 160, 360);
      Attach(mBride.get(), 174, 443);
      Attach(mGroom.get(), 305, 426);
      if (mHasOptional) Attach(mOptional.get(), 645, 395);
      Attach(mPlan.get(), 190, 538);
      mExpertBadge->SetPosition(208, 390);
      mExpertCaption->SetPosition(141, 339);
      return;
    case kWon:
    case kLost:
      SetPageText(mHeading.get(),
                  mTexts[mode == kWon ? TLevelDialogSetup::kWinText : TLevelDialogSetup::kLoseText],
                  270, 158);
      Attach(mHeading.get(), 265, 160);
      PlaceScoreLines(310, mHeading->GetHeight() + 160);
      Attach(yourScore, 310, yourScore->GetRect().top);
      if (mode == kWon) {
        Attach(totalScore, 310, totalScore->GetRect().top);
        Attach(mContinue.get(), 335, 420);
      } else {
        if (!mEndless) Attach(goal, 310, goal->GetRect().top);
        Attach(mRestart.get(), mRestart->GetRect().left, mRestart->GetRect().top);
        Attach(mMainMenu.get(), mMainMenu->GetRect().left, mMainMenu->GetRect().top);
      }
      Attach(mMood.get(), mMood->GetRect().left, mMood->GetRect().top);
      break;
    case kWonWithOutro:
      SetPageText(mHeading.get(), mTexts[TLevelDialogSetup::kWinText], 400, 95);
      Attach(mHeading.get(), 320, 75);
      SetPageText(mOutroText.get(), mTexts[TLevelDialogSetup::kOutroText], 400, 100);
      Attach(mOutroText.get(), 225, 220);
      PlaceScoreLines(330, mHeading->GetHeight() + 240);
      Attach(yourScore, 330, yourScore->GetRect().top);
      Attach(totalScore, 330, totalScore->GetRect().top);
      Attach(mContinue.get(), 375, 420);
      break;
    default:
      return;
  }
  PlayEndSound();
}

// Won pages play the end sound, the expert one (with the badge) when the scores were expert;
// a lost page plays nothing.
void TLevelDialog::PlayEndSound() {
  mEndSound = TSound::Get(kEndSound, true, kEffectsGroup);
  mExpertSound = TSound::Get(kEndSound, true, kEffectsGroup);
  if (mMode == kLost) return;
  if (mExpert) {
    PlayOnce(mExpertSound);
    Attach(mExpertBadge.get(), mExpertBadge->GetRect().left, mExpertBadge->GetRect().top);
    Attach(mExpertCaption.get(), mExpertCaption->GetRect().left, mExpertCaption->GetRect().top);
  } else {
    PlayOnce(mEndSound);
  }
}
