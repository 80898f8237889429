// The planning selection dialog (window type "SelectionDialog"): three rows of three options
// (the flowers, the appetizer, the dinner ...), one pick a row, then the order. After the
// order it reveals the picks one by one (a heart with "+100" for an option the couple wished
// for, "0" otherwise), shows a verdict note, hands the planning record to the level through
// the preferences store (PlanningRecord.h) and closes its modal window.
//
// A selection script fills the global table "PreFestraSelection" (rows 1 to 3, each with its
// "type" and its options 1 to 3 as {value, image, pressed image, caption label, wished}) and
// the mark layout numbers "ButtonX", "ButtonY", "ButtonXGap", "Groupgap", then builds this
// window with the radio buttons "button11" to "button33" (row digit first) and the push
// button "chooseok"; the window dresses the buttons from the table after they are built. The
// dialog draws its marks under its children: the roll-over mark under the hovered option, the
// pick mark under each picked one. A missing button or table field is skipped or takes its
// default.
//
// Script functions (bound while the dialog lives): Select(row, column), PlaceOrder(),
// SaveSelection(), InitScoring(), HideOkButton(), IsSelectDone(). Needs the window manager
// and its window script, the profile service's preferences store, the string table for the
// captions and verdict. UI thread only.
#pragma once

#include <array>
#include <memory>

#include "game/level/PlanningRecord.h"
#include "game/level/PlanningReveal.h"
#include "tvlib/core/TVec.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TButton;
class TImage;
class TSound;
class TText;
class TTexture;

class TSelectionDialog : public TWindow {
 public:
  // The dialog's scoring states.
  static constexpr int kChoosing = 0;
  static constexpr int kRevealing = 1;
  static constexpr int kFinished = 2;
  // Where "chooseok" stands once every row has a pick.
  static constexpr int kOrderButtonX = 174;
  static constexpr int kOrderButtonY = 479;

  // Stores 0 in "selectionDone", binds the script functions and loads the marks.
  TSelectionDialog();
  ~TSelectionDialog() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Reads "PreFestraSelection" and the mark layout, dresses the buttons and makes the
  // captions, hearts, reveal texts and verdict note, and starts the dialog's 16 ms task.
  void PostCreate() override;
  void Draw() override;
  // Forgets the hovered option; the move is handled.
  bool OnMouseMove(TPoint* point) override;
  // The task's step: the reveal while revealing, the hand-over once finished, the hover.
  bool Animate() override;

  // --- Script functions (rows and columns count from 1) --------------------------------
  // Records the pick of the option; ignored after the order and outside 1 to 3. Once every
  // row has a pick, "chooseok" moves into view and the roll sound plays.
  void Select(int row, int column);
  // Once: saves the record and starts the reveal.
  void PlaceOrder();
  void SaveSelection();
  void InitScoring();
  // Puts the order placeholder where "chooseok" stands and moves "chooseok" out of view.
  void HideOkButton();
  bool IsSelectDone() { return mScoringState == kFinished; }

  const TPlanningRecord& GetRecord() const { return mRecord; }
  int GetScoringState() const { return mScoringState; }
  int GetScore() const { return mScore; }
  int GetResult() const { return mResult; }
  int GetHoverRow() const { return mHoverRow; }
  int GetHoverColumn() const { return mHoverColumn; }
  // The reveal text of a row (0 to 2), the verdict text and note.
  TText* GetRevealText(int row) const { return mRevealTexts[static_cast<size_t>(row)].get(); }
  TImage* GetHeart(int row) const { return mHearts[static_cast<size_t>(row)].get(); }
  TText* GetVerdictText() const { return mVerdictText.get(); }
  TImage* GetVerdictNote() const { return mVerdictNote.get(); }
  TImage* GetOrderPlaceholder() const { return mOrderPlaceholder.get(); }
  TText* GetCaption(int row, int column) const {
    return mCaptions[static_cast<size_t>(row)][static_cast<size_t>(column)].get();
  }

 private:
  using TCells = std::array<std::array<int32_t, 3>, 3>;

  // The script functions' registration (SelectionDialogBind.cpp).
  void BindScriptFunctions();
  void ReadOptions();
  void MakeRevealParts();
  void ReadMarkLayout();
  TButton* FindOption(int row, int column);
  void RunRevealStep(int step);
  void RevealRow(int row);
  void RevealVerdict();
  // Adds a window the dialog made as its child (once), at (x, y) of the dialog.
  void Attach(TWindow* window, int x, int y);
  // Takes every window the dialog made off the dialog.
  void DetachParts();
  void UpdateHover();

  TPlanningRecord mRecord;  // category, selection and correct per row
  TCells mOptionCorrect{};
  TCells mOptionValue{};
  std::array<bool, 3> mRowPicked{};
  std::array<int, 3> mChosenColumn{};
  // The windows the dialog makes are its own; each is its child while it shows.
  std::array<std::array<std::unique_ptr<TText>, 3>, 3> mCaptions;
  int mScore = 0;
  std::array<std::unique_ptr<TText>, 3> mRevealTexts;
  int mScoringState = kChoosing;
  std::shared_ptr<TSound> mRightSound, mWrongSound, mWinSound, mRollSound;
  TRevealClock mReveal;
  std::array<std::unique_ptr<TImage>, 3> mHearts;
  std::unique_ptr<TImage> mOrderPlaceholder;
  std::unique_ptr<TImage> mVerdictNote;
  std::unique_ptr<TText> mVerdictText;
  bool mDone = false;
  std::shared_ptr<TTexture> mRollOverMark, mPickMark;
  std::array<std::array<TVec2, 3>, 3> mMarkPoints{};
  int mHoverRow = -1;
  int mHoverColumn = -1;
  int mResult = 0;
  TLuaBindings mBindings;
};
