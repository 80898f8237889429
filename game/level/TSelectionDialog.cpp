// The planning selection dialog: building it from the options table, the picks and the
// order. The reveal, the hand-over and the marks are in TSelectionReveal.cpp.
#include "game/level/TSelectionDialog.h"

#include <memory>

#include "game/level/DialogParts.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/media/TSound.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/NumberConversion.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kGlobal = -1;
constexpr char kOptionsTable[] = "PreFestraSelection";
constexpr char kRollOverMark[] = "images/Festra Panning/wp_over";
constexpr char kPickMark[] = "images/Festra Panning/wp_down";
constexpr char kHeartImage[] = "assets/images/Festra Panning/points_heart.png";
constexpr char kPlaceholderImage[] = "assets/buttons/btn_idle_long";
constexpr char kVerdictNoteImage[] = "assets/images/Festra Panning/planning_end_note";
constexpr char kOrderButton[] = "chooseok";
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// The marks' textures are wanted with mipmaps.
constexpr uint32_t kMarkFlags = 1;
// Where a mark stands from the layout numbers: the middle of the option.
constexpr float kMarkOffsetX = 68;
constexpr float kMarkOffsetY = 49;

constexpr TTextStyle kCaptionStyle{"fonts/arial.mvec", 20, {0.1f, 0.1f, 0.1f, 1.0f}, 5};
constexpr TTextStyle kRevealStyle{"fonts/monotype_corsiva.mvec", 18, {0.1f, 0.1f, 0.1f, 1.0f}, 5};
// A caption hangs from the option's bottom edge, less in a cake row, whose pictures reach
// lower.
constexpr int kCaptionRise = 11;
constexpr int kCakeCaptionRise = 4;
constexpr int kCaptionWiden = 40;
constexpr int kCaptionHeight = 40;

int ToInt(double value) {
  return tvs::NumberToInt(value);
}

std::unique_ptr<TImage> MakeImage(const char* name) {
  auto image = std::make_unique<TImage>();
  image->SetTexture(TTexture::Get(name, 0), kDialogScale);
  return image;
}

}  // namespace

TSelectionDialog::TSelectionDialog() {
  if (TPrefs* prefs = ProfilePrefs()) prefs->SetInt(kSelectionDoneKey, 0, kGlobal, true);
  BindScriptFunctions();
  mRollOverMark = TTexture::Get(kRollOverMark, kMarkFlags);
  mPickMark = TTexture::Get(kPickMark, kMarkFlags);
}

TSelectionDialog::~TSelectionDialog() {
  DetachParts();
}

TWindow* TSelectionDialog::Create() {
  return new TSelectionDialog;
}

TWindowClassId TSelectionDialog::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TSelectionDialog::Create);
}

bool TSelectionDialog::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TSelectionDialog::PostCreate() {
  ReadOptions();
  MakeRevealParts();
  mRightSound = LoadEffect("assets/audio/sfx/planning_right_choice.ogg");
  mWrongSound = LoadEffect("assets/audio/sfx/planning_wrong_choice.ogg");
  mWinSound = LoadEffect("assets/audio/sfx/planning_win.ogg");
  mRollSound = LoadEffect("assets/audio/sfx/dialog_roll.ogg");
  mOrderPlaceholder = MakeImage(kPlaceholderImage);
  SetAnimPeriod(16, true, true, false);
  ReadMarkLayout();
}

TButton* TSelectionDialog::FindOption(int row, int column) {
  return FindButton(this, TString::Format("button%d%d", row, column));
}

void TSelectionDialog::ReadOptions() {
  TWindowScript* script = DialogScript();
  std::unique_ptr<TLuaTable> options(script ? script->GetGlobalTable(kOptionsTable) : nullptr);
  if (!options) DebugLog("TSelectionDialog::PostCreate: no table %s", kOptionsTable);
  for (int r = 0; r < kPlanningRows; ++r) {
    std::unique_ptr<TLuaTable> row(options ? options->GetTableAt(r + 1) : nullptr);
    const int category = row ? ToInt(row->GetNumber("type", r)) : r;
    mRecord.category[static_cast<size_t>(r)] = category;
    for (int c = 0; c < 3; ++c) {
      std::unique_ptr<TLuaTable> option(row ? row->GetTableAt(c + 1) : nullptr);
      auto& value = mOptionValue[static_cast<size_t>(r)][static_cast<size_t>(c)];
      auto& wished = mOptionCorrect[static_cast<size_t>(r)][static_cast<size_t>(c)];
      value = option ? ToInt(option->GetNumberAt(1, c)) : c;
      wished = option ? ToInt(option->GetNumberAt(5, 0)) : 0;
      TButton* button = FindOption(r + 1, c + 1);
      if (!button) continue;
      button->AddFlags(kWindowVisible);
      const TString image = option ? option->GetStringAt(2, "") : TString();
      const TString pressed = option ? option->GetStringAt(3, "") : TString();
      DressButton(button, image, pressed);
      const TString label = option ? option->GetStringAt(4, "") : TString();
      auto caption = std::make_unique<TText>();
      SetStyledText(caption.get(), label.Length() != 0 ? LookUpString(label) : TString(),
                    button->GetWidth() + kCaptionWiden, kCaptionHeight, kCaptionStyle);
      int x = 0, y = 0;
      ScreenCornerIn(button, this, &x, &y);
      const int rise = category == kPlanningCake ? kCakeCaptionRise : kCaptionRise;
      Attach(caption.get(), x - kCaptionWiden / 2, y + button->GetHeight() - rise);
      mCaptions[static_cast<size_t>(r)][static_cast<size_t>(c)] = std::move(caption);
    }
  }
}

// Each row's heart, with its reveal text as large as the heart over it.
void TSelectionDialog::MakeRevealParts() {
  for (size_t r = 0; r < mHearts.size(); ++r) {
    mHearts[r] = MakeImage(kHeartImage);
    mRevealTexts[r] = std::make_unique<TText>();
    SetStyledText(mRevealTexts[r].get(), TString(), mHearts[0]->GetWidth(), mHearts[0]->GetHeight(),
                  kRevealStyle);
  }
  mVerdictNote = MakeImage(kVerdictNoteImage);
  mVerdictText = std::make_unique<TText>();
}

void TSelectionDialog::ReadMarkLayout() {
  TWindowScript* script = DialogScript();
  if (!script) return;
  const auto x = static_cast<float>(script->GetGlobalNumber("ButtonX"));
  const auto y = static_cast<float>(script->GetGlobalNumber("ButtonY"));
  const auto gapX = static_cast<float>(script->GetGlobalNumber("ButtonXGap"));
  const auto gapY = static_cast<float>(script->GetGlobalNumber("Groupgap"));
  for (size_t r = 0; r < 3; ++r) {
    for (size_t c = 0; c < 3; ++c) {
      mMarkPoints[r][c] = TVec2(x + kMarkOffsetX + static_cast<float>(c) * gapX,
                                y + kMarkOffsetY + static_cast<float>(r) * gapY);
    }
  }
}

void TSelectionDialog::Attach(TWindow* window, int x, int y) {
  if (!window) return;
  window->SetPosition(x, y);
  if (window->GetParent() != this) AddChild(window, true);
}

void TSelectionDialog::DetachParts() {
  auto detach = [this](TWindow* window) {
    if (window && window->GetParent() == this) RemoveChild(window);
  };
  for (auto& row : mCaptions) {
    for (auto& caption : row) detach(caption.get());
  }
  for (size_t r = 0; r < mHearts.size(); ++r) {
    detach(mHearts[r].get());
    detach(mRevealTexts[r].get());
  }
  detach(mOrderPlaceholder.get());
  detach(mVerdictNote.get());
  detach(mVerdictText.get());
}

void TSelectionDialog::Select(int row, int column) {
  if (row < 1 || row > kPlanningRows || column < 1 || column > 3) {
    DebugLog("TSelectionDialog::Select: no option at row %d, column %d", row, column);
    return;
  }
  if (mDone) return;
  const auto r = static_cast<size_t>(row - 1);
  const auto c = static_cast<size_t>(column - 1);
  mRecord.selection[r] = mOptionValue[r][c];
  mRecord.correct[r] = mOptionCorrect[r][c];
  mRowPicked[r] = true;
  mChosenColumn[r] = column;
  Invalidate();
  if (mRowPicked[0] && mRowPicked[1] && mRowPicked[2]) {
    if (TButton* order = FindButton(this, kOrderButton)) {
      order->SetPosition(kOrderButtonX, kOrderButtonY);
    }
    PlayOnce(mRollSound);
  }
}

void TSelectionDialog::PlaceOrder() {
  if (mDone) return;
  mDone = true;
  SaveSelection();
  mScoringState = kRevealing;
}

void TSelectionDialog::SaveSelection() {
  if (TPrefs* prefs = ProfilePrefs()) StorePlanningRecord(*prefs, mRecord);
}

void TSelectionDialog::InitScoring() {
  mScoringState = kRevealing;
}

void TSelectionDialog::HideOkButton() {
  TButton* order = FindButton(this, kOrderButton);
  if (!order) return;
  int x = 0, y = 0;
  ScreenCornerIn(order, this, &x, &y);
  Attach(mOrderPlaceholder.get(), x, y);
  order->SetPosition(kScreenWidth, kScreenHeight);
}
