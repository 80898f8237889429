// The planning selection dialog after the order: the reveal of the picks and the verdict on
// the dialog's 16 ms task, the hand-over to the level, and the marks under the options.
#include "game/level/DialogParts.h"
#include "game/level/TSelectionDialog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kGlobal = -1;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr TTextStyle kVerdictStyle{"fonts/monotype_corsiva.mvec", 26, {0, 0, 0, 1}, 5};
constexpr int kVerdictTextX = 300;
constexpr int kVerdictTextY = 200;
constexpr int kVerdictTextSize = 200;

// Moves a screen point into the dialog's own coordinates.
void ScreenToDialog(const TWindow* dialog, int* x, int* y) {
  TPoint point{*x, *y};
  dialog->ScreenToLocal(&point);
  *x = point.x;
  *y = point.y;
}

}  // namespace

bool TSelectionDialog::Animate() {
  if (mScoringState == kRevealing) {
    const int step = mReveal.Advance(TPlatform::GetTime());
    if (step == kRevealFinished) {
      mScoringState = kFinished;
    } else if (step != kRevealNothing) {
      RunRevealStep(step);
      Invalidate();
    }
  }
  if (mScoringState == kFinished) {
    if (TPrefs* prefs = ProfilePrefs()) prefs->SetInt(kSelectionDoneKey, 1, kGlobal, true);
    if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
    return false;  // the task ends with the dialog's modal window
  }
  UpdateHover();
  return true;
}

void TSelectionDialog::RunRevealStep(int step) {
  if (step == kRevealVerdict) {
    RevealVerdict();
  } else {
    RevealRow(step);
  }
}

void TSelectionDialog::RevealRow(int row) {
  const auto r = static_cast<size_t>(row);
  const bool right = mRecord.correct[r] > 0;
  mRevealTexts[r]->SetText(right ? "+100" : "0");
  if (right) {
    PlayOnce(mRightSound);
    mScore += kPointsPerCorrectPick;
  } else {
    PlayOnce(mWrongSound);
  }
  TButton* picked = FindOption(row + 1, mChosenColumn[r]);
  if (!picked) return;  // a row without a pick shows no heart
  int x = 0, y = 0;
  ScreenCornerIn(picked, this, &x, &y);
  Attach(mHearts[r].get(), x, y);
  Attach(mRevealTexts[r].get(), x, y);
}

void TSelectionDialog::RevealVerdict() {
  mResult = PlanningVerdict(mScore);
  int x = kScreenWidth / 2 - mVerdictNote->GetWidth() / 2;
  int y = kScreenHeight / 2 - mVerdictNote->GetHeight() / 2;
  ScreenToDialog(this, &x, &y);
  Attach(mVerdictNote.get(), x, y);
  SetStyledText(mVerdictText.get(), LookUpString(PlanningVerdictLabel(mResult)), kVerdictTextSize,
                kVerdictTextSize, kVerdictStyle);
  x = kVerdictTextX;
  y = kVerdictTextY;
  ScreenToDialog(this, &x, &y);
  Attach(mVerdictText.get(), x, y);
  if (mScore != 0) PlayOnce(mWinSound);
}

// The hovered option: in each row the first option pressed or highlighted, a later row
// winning; none once the order is placed.
void TSelectionDialog::UpdateHover() {
  int hoverRow = -1, hoverColumn = -1;
  for (int r = 0; r < 3 && !mDone; ++r) {
    for (int c = 0; c < 3; ++c) {
      TButton* option = FindOption(r + 1, c + 1);
      const int state = option ? option->GetState() : kButtonIdle;
      if (state == kButtonPressed || state == kButtonHover) {
        hoverRow = r;
        hoverColumn = c;
        break;
      }
    }
  }
  if (hoverRow == mHoverRow && hoverColumn == mHoverColumn) return;
  mHoverRow = hoverRow;
  mHoverColumn = hoverColumn;
  Invalidate();
}

bool TSelectionDialog::OnMouseMove(TPoint* /*point*/) {
  if (mHoverRow != -1) Invalidate();
  mHoverRow = -1;
  mHoverColumn = -1;
  return true;
}

// The marks lie under the options (the dialog draws before its children): the roll-over mark
// at the hovered option, the pick mark at each picked one. Their points are on the screen.
void TSelectionDialog::Draw() {
  const TMarkDrawing marks;
  auto mark = [&](const std::shared_ptr<TTexture>& texture, int row, int column) {
    const TVec2& at = mMarkPoints[static_cast<size_t>(row)][static_cast<size_t>(column)];
    marks.Draw(texture, at.x, at.y);
  };
  if (mHoverRow != -1) mark(mRollOverMark, mHoverRow, mHoverColumn);
  for (int r = 0; r < kPlanningRows; ++r) {
    const auto at = static_cast<size_t>(r);
    if (mRowPicked[at]) mark(mPickMark, r, mChosenColumn[at] - 1);
  }
}
