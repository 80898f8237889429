// What the hiscore screen shows in each state: the panels, headings and notes, the ten rows
// of the table with its scrolling, and the buttons, with the rules of the anonymous modes.
#include <array>

#include "game/frontend/ShownChildren.h"
#include "game/frontend/THiscore.h"
#include "game/shell/StringLookup.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/hiscore/TTvHiscores.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"

namespace {

constexpr int kNameSize = 64;
// The offset never goes past the point where the last five entries fill the first rows.
constexpr int kLastPageRows = 5;

// The label key of each game mode, by the profile service's mode index.
constexpr std::array<const char*, 4> kModeLabels = {"gamemode1_web", "gamemode2_web", "gamemode1",
                                                    "gamemode2"};

int AnonymousMode() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetAnonymousMode() : 0;
}

int GameMode() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetCurrentGameMode() : -1;
}

}  // namespace

void THiscore::Show(const char* name, bool show) {
  // The screen redraws whole, also where the child stood.
  if (SetChildShown(this, name, show)) Invalidate();
}

bool THiscore::HasWaitingLocalScore() const {
  int score = 0;
  int rank = 0;
  return mHiscores && mHiscores->GetPlayerScore(0, &score, &rank, nullptr, 0);
}

void THiscore::HideAll() {
  for (int i = 0; i < kRows; ++i) {
    const size_t row = static_cast<size_t>(i);
    SetShown(mNames[row], false);
    SetShown(mScores[row], false);
    SetShown(mRanks[row], false);
    SetShown(mIcons[row], false);
  }
  for (const char* name :
       {"eligible", "eligible_no_astrix", "highscoresasterisk", "server", "error", "info",
        "category", "local", "global", "topplayers", "congratulations", "dnq", "yourrank",
        "yourrankglobalinfo", "rankvalue", "scrollup", "scrolldown"}) {
    Show(name, false);
  }
  Invalidate();
}

void THiscore::UpdateView() {
  HideAll();
  const int anonymous = AnonymousMode();
  if (mGameModeText) {
    const int mode = GameMode();
    const bool known = mode >= 0 && mode < static_cast<int>(kModeLabels.size());
    mGameModeText->SetText(known ? LookUpString(kModeLabels[static_cast<size_t>(mode)])
                                 : TString());
  }
  Show("rightpanel", anonymous != 2 && mState == kLocal);
  Show("rightpanelsmall", anonymous != 2 && mState != kLocal);
  if (mState == kLocal || mState == kGlobal) FillTable();
  if (!mHiscores) return;
  if (mState == kLocal) {
    Show("eligible", HasWaitingLocalScore());
    Show("info", true);
  } else if (mState == kGlobal) {
    char name[kNameSize];
    if (mHiscores->GetCategoryName(mCategory, name, kNameSize)) {
      if (TText* category = FindText("category")) category->SetText(name);
    }
    Show("category", true);
    Show("yourrankglobalinfo", true);
    if (mSubmitResult == kSubmitPlaced || mSubmitResult == kSubmitNotPlaced) {
      Show(mSubmitResult == kSubmitPlaced ? "congratulations" : "dnq", true);
      Show("yourrankglobalinfo", false);
    }
    int score = 0;
    int rank = 0;
    if (mHiscores->GetPlayerScore(1, &score, &rank, nullptr, 0)) {
      if (TText* yourRank = FindText("yourrank"))
        yourRank->SetText(LookUpString("yourrank", TString::Format("%d", rank)));
      Show("yourrank", true);
      Show("yourrankglobalinfo", false);
    }
  } else if (mState == kWaitingForCategories || mState == kWaitingForScores) {
    Show("server", true);
  } else if (mState == kError) {
    if (TText* error = FindText("error")) error->SetText(mErrorText);
    Show("error", true);
  }
  if (anonymous == 2) {
    for (const char* name : {"info", "eligible", "eligible_no_astrix", "highscoresasterisk"})
      Show(name, false);
  }
}

void THiscore::FillTable() {
  if (!mHiscores) return;
  const int anonymous = AnonymousMode();
  const bool global = mState == kGlobal;
  int count = 0;
  if (global) {
    count = mHiscores->GetScoreCount(false);
    if (anonymous != 2) Show("global", true);
    if (mScrollOffset > count - kLastPageRows) mScrollOffset = count - kLastPageRows;
    if (mScrollOffset < 0) mScrollOffset = 0;
    Show("scrollup", mScrollOffset > 0);
    Show("scrolldown", mScrollOffset + kRows < count);
  } else {
    count = mHiscores->GetScoreCount(true);
    if (anonymous != 2) Show("local", true);
    Show("topplayers", anonymous == 2);
    Show("scrollup", false);
    Show("scrolldown", false);
    mScrollOffset = 0;
  }
  for (int i = 0; i < kRows && mScrollOffset + i < count; ++i) {
    const size_t row = static_cast<size_t>(i);
    int rank = 0;
    int score = 0;
    bool anonymousEntry = false;
    char name[kNameSize] = "";
    if (!mHiscores->GetScoreEntry(!global, mScrollOffset + i, &rank, name, kNameSize,
                                  &anonymousEntry, &score, nullptr, 0)) {
      continue;
    }
    if (mNames[row]) mNames[row]->SetText(name);
    if (mScores[row]) mScores[row]->SetText(TString::Format("%d", score));
    if (mRanks[row]) mRanks[row]->SetText(TString::Format("%d.", rank));
    SetShown(mNames[row], true);
    SetShown(mScores[row], true);
    SetShown(mRanks[row], true);
    SetShown(mIcons[row], !anonymousEntry && anonymous == 0);
  }
}

void THiscore::HideButtons() {
  for (const char* name :
       {"submit", "view", "viewlocal", "moreinfo", "categoryleft", "categoryright"}) {
    Show(name, false);
    if (TButton* button = TButton::CastToButton(FindChild(name, -1))) button->OnMouseLeave();
  }
}

void THiscore::UpdateButtons() {
  HideButtons();
  if (mState == kLocal) {
    Show("moreinfo", true);
    Show("submit", HasWaitingLocalScore());
    Show("view", true);
  } else if (mState == kGlobal) {
    for (const char* name : {"viewlocal", "categoryleft", "categoryright"}) Show(name, true);
  } else if (mState == kError) {
    Show("viewlocal", true);
  }
  const int anonymous = AnonymousMode();
  if (anonymous != 0) Show("moreinfo", false);
  if (anonymous == 2) {
    Show("view", false);
    Show("submit", false);
  }
}
