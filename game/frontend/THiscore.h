// The hiscore screen (window type "HiscoreWindow"): the local hiscore table of this
// installation and, through the online hiscore service, the global tables by game mode and
// category, ten rows at a time, and the way to the submit dialog (THiscoreSubmit).
//
// The screen script "scripts/hiscore.lua" builds the window's children (panels, headings,
// notes, the ten rows "1".."10", "name1".."name10", "score1".."score10", "p1_1".."p1_10", the
// buttons); the window finds them by name once they exist, shows and hides them by its state
// and answers the buttons' commands (type-3 messages named by the button). A missing child is
// skipped. Online requests are never waited for: a task in the screen's modal window polls
// the service every 20 ms. The profile's anonymous mode (1 or 2, from "-anon") hides the
// account features: the member icons and "moreinfo" in both, and in mode 2 the side panels,
// "view", "submit" and the local notes, with the table panel moved 130 pixels right and
// "topplayers" as its heading. Needs the profile service (TGameSettings) with its hiscore
// service, the window manager and the string table. UI thread only.
#pragma once

#include <array>

#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

class TImage;
class TText;
class TTvHiscores;
class TUpdateHiscoreWindow;

class THiscore : public TWindow {
 public:
  // States.
  static constexpr int kLocal = 0;
  static constexpr int kWaitingForCategories = 1;
  static constexpr int kWaitingForScores = 2;
  static constexpr int kGlobal = 4;
  static constexpr int kError = 5;
  // Results of the last submission.
  static constexpr int kNoSubmit = 0;
  static constexpr int kSubmitPlaced = 1;
  static constexpr int kSubmitNotPlaced = 2;
  static constexpr int kRows = 10;
  // How far "leftpanel" moves right in anonymous mode 2.
  static constexpr int kAnonymousPanelShift = 130;

  // Takes the hiscore service from the profile service and puts its polling task on the top
  // modal window's task list.
  THiscore();
  ~THiscore() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Finds the rows and the game-mode text, moves the table panel in anonymous mode 2, then
  // shows the local view.
  void PostCreate() override;
  // The screen's commands; true only for a game-mode or category command carried out.
  bool OnMessage(TMessage* message) override;
  // The screen redraws whole: any area becomes (0, 0, 800, 600).
  bool AddDirtyRect(TRect* area) override;

  // After a successful submission: fetches the global table and shows the result.
  void ShowGlobalAfterSubmit(bool placed);
  // The polling task's step: collects the pending request's result in states 1 and 2.
  void Poll();
  void UpdateView();
  void UpdateButtons();

  int GetState() const { return mState; }
  int GetSubmitResult() const { return mSubmitResult; }
  int GetCategoryIndex() const { return mCategory; }
  int GetScrollOffset() const { return mScrollOffset; }
  const TString& GetErrorText() const { return mErrorText; }

 private:
  friend class TUpdateHiscoreWindow;

  void HideAll();
  void HideButtons();
  void FillTable();
  // View, buttons and a whole redraw.
  void Refresh();
  // The game-mode commands: a step through the modes the view offers.
  bool ChangeGameMode(int step);
  // The category commands: a step through the categories, wrapping.
  void ChangeCategory(int step);
  void OpenSubmitDialog();
  // Shows or hides the named descendant; nothing when there is none.
  void Show(const char* name, bool show);
  TText* FindText(const TString& name);
  bool HasWaitingLocalScore() const;

  int mState = kLocal;
  int mSubmitResult = kNoSubmit;
  TTvHiscores* mHiscores = nullptr;
  TString mErrorText;
  int mCategory = 0;
  int mScrollOffset = 0;
  std::array<TText*, kRows> mNames{};
  std::array<TText*, kRows> mScores{};
  std::array<TText*, kRows> mRanks{};
  std::array<TImage*, kRows> mIcons{};
  TText* mGameModeText = nullptr;
  TUpdateHiscoreWindow* mPollTask = nullptr;  // owned by the modal window's task list
};
