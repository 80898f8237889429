// The upgrade dialog: the offer from the catalogue, the pick and the stored choice.
#include "game/level/TUpgradeDialog.h"

#include <vector>

#include "game/level/DialogParts.h"
#include "game/shell/TMetricsRecorder.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/NumberConversion.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kGlobal = -1;
constexpr char kCatalogue[] = "UpgradeItem";
constexpr char kOrderButton[] = "chooseok";
constexpr char kRollOverMark[] = "images/upgrades/upgrade_rollover";
constexpr char kSelectedMark[] = "images/upgrades/upgrade_down";
constexpr TTextStyle kDescriptionStyle{"fonts/arial.mvec", 20, {0.1f, 0.1f, 0.1f, 1.0f}, 5};
constexpr int kDescriptionX = 170;
constexpr int kDescriptionDrop = 10;
constexpr int kDescriptionWidth = 310;
constexpr int kDescriptionHeight = 75;

// A priority list: its numbers from index 1 up to the first missing one or one not above 0.
std::vector<int> ReadPriorityList(TWindowScript* script, const TString& name) {
  std::vector<int> list;
  std::unique_ptr<TLuaTable> table(script ? script->GetGlobalTable(name.c_str()) : nullptr);
  if (!table) {
    DebugLog("TUpgradeDialog::PostCreate: no priority list %s", name.c_str());
    return list;
  }
  for (int i = 1;; ++i) {
    const int n = tvs::NumberToInt(table->GetNumberAt(i, 0));
    if (n <= 0) break;
    list.push_back(n);
  }
  return list;
}

TButton* FindOffer(TWindow* dialog, int index) {
  return FindButton(dialog, TString::Format("button%d", index + 1));
}

}  // namespace

TUpgradeDialog::TUpgradeDialog() {
  BindScriptFunctions();
  mRollOverMark = TTexture::Get(kRollOverMark, 0);
  mSelectedMark = TTexture::Get(kSelectedMark, 0);
}

TUpgradeDialog::~TUpgradeDialog() {
  for (auto& description : mDescriptions) {
    if (description && description->GetParent() == this) RemoveChild(description.get());
  }
}

TWindow* TUpgradeDialog::Create() {
  return new TUpgradeDialog;
}

TWindowClassId TUpgradeDialog::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TUpgradeDialog::Create);
}

bool TUpgradeDialog::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TUpgradeDialog::PostCreate() {
  ReadPlayer();
  MakeOffer();
  DressOffers();
}

void TUpgradeDialog::ReadPlayer() {
  mPlayer = CurrentPlayer();
  TPrefs* prefs = ProfilePrefs();
  if (!prefs) {
    DebugLog("TUpgradeDialog::PostCreate: no preferences store");
    return;
  }
  mMap = prefs->GetInt("currentMap", 1, mPlayer);
  mEndless = prefs->GetInt("endless", 0, mPlayer) == 1;
  if (mEndless) {
    mListName = kArcadeUpgradeFlagKey;
    mLevel = kLevelsPerVenue;
  } else {
    mListName = StoryUpgradeKey(mMap);
    mLevel = prefs->GetInt("currentLevel", 0, mPlayer);
  }
  mUpgrades = LoadUpgradeSlots(*prefs, mListName, mPlayer);
}

void TUpgradeDialog::MakeOffer() {
  TWindowScript* script = DialogScript();
  TString listName;
  if (mEndless) {
    TPrefs* prefs = ProfilePrefs();
    const int arcadeLevel = prefs ? prefs->GetInt("arcadeLevel", 1, kGlobal) : 1;
    listName = TString::Format("ArcadeUpgradePriorityVenue%d", arcadeLevel);
  } else {
    listName = TString::Format("UpgradePriorityVenue%d", mMap);
  }
  const std::vector<int> priority = ReadPriorityList(script, listName);
  std::unique_ptr<TLuaTable> catalogue(script ? script->GetGlobalTable(kCatalogue) : nullptr);
  if (!catalogue) DebugLog("TUpgradeDialog::PostCreate: no catalogue %s", kCatalogue);
  // An upgrade the catalogue lacks can never be offered.
  auto prereq = [&catalogue](int n) {
    std::unique_ptr<TLuaTable> entry(catalogue ? catalogue->GetTableAt(n) : nullptr);
    return entry ? tvs::NumberToInt(entry->GetNumber("prereq", 0)) : -1;
  };
  mOffered = OfferUpgrades(priority, prereq, OwnedUpgrades(mUpgrades, mLevel - 1));
  TMetricsRecorder::Get().SetUpgradeChoices(mOffered[0], mOffered[1], mOffered[2]);
  for (size_t i = 0; i < mOffered.size(); ++i) {
    std::unique_ptr<TLuaTable> entry(
        catalogue && mOffered[i] > 0 ? catalogue->GetTableAt(mOffered[i]) : nullptr);
    if (!entry) continue;
    mIcons[i] = entry->GetString("icon", "");
    mPressedIcons[i] = entry->GetString("down", "");
    mLabels[i] = entry->GetString("description", "");
  }
}

void TUpgradeDialog::DressOffers() {
  bool any = false;
  for (int i = 0; i < kUpgradeOffers; ++i) {
    const auto at = static_cast<size_t>(i);
    TButton* button = FindOffer(this, i);
    if (!button) continue;
    if (mOffered[at] <= 0) {
      if (TWindow* parent = button->GetParent()) parent->RemoveChild(button);
      if (TWindowManager* manager = TWindowManager::Get()) {
        manager->DeleteLater(button);
      } else {
        delete button;
      }
      continue;
    }
    any = true;
    button->AddFlags(kWindowVisible);
    DressButton(button, mIcons[at], mPressedIcons[at]);
    auto description = std::make_unique<TText>();
    SetStyledText(description.get(), LookUpString(mLabels[at]), kDescriptionWidth,
                  kDescriptionHeight, kDescriptionStyle);
    TPoint corner{kDescriptionX, button->GetScreenRect().top + kDescriptionDrop};
    ScreenToLocal(&corner);
    description->SetPosition(corner.x, corner.y);
    AddChild(description.get(), true);
    mDescriptions[at] = std::move(description);
  }
  // With nothing to offer the player still needs a way on.
  if (!any) ShowOrderButton();
}

void TUpgradeDialog::ShowOrderButton() {
  if (TButton* order = FindButton(this, kOrderButton)) {
    order->SetPosition(400 - order->GetWidth() / 2, kOrderButtonY);
  }
}

void TUpgradeDialog::Select(int index) {
  if (index < 0 || index >= kUpgradeOffers) {
    DebugLog("TUpgradeDialog::Select: no button %d", index);
    return;
  }
  mSelected = index;
  ShowOrderButton();
  Invalidate();
}

void TUpgradeDialog::UpgradeIt() {
  if (mSelected < 0) return;
  mChosenItem = mOffered[static_cast<size_t>(mSelected)];
  TMetricsRecorder::Get().SetChosenUpgrade(mChosenItem);
}

void TUpgradeDialog::SaveUpgrade() {
  if (mSaved) return;
  mSaved = true;
  if (mEndless) {
    SaveEndlessChoice();
  } else {
    SaveStoryChoice();
  }
}

// The reception below takes the choice over on its next tick.
void TUpgradeDialog::SaveEndlessChoice() {
  if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
  if (TPrefs* prefs = ProfilePrefs()) {
    prefs->SetInt(kArcadeUpgradeKey, mChosenItem, mPlayer, true);
    prefs->SetInt(kWaitingUpgradeKey, 0, mPlayer, true);
  }
}

// Stores the choice in the slot of the level just won (levels 1 to 10 only), closes the
// dialog and the finished level, and opens the venue's next level when there is one; else
// the venue map below them shows again.
void TUpgradeDialog::SaveStoryChoice() {
  const int slot = StoryUpgradeSlot(mLevel);
  TPrefs* prefs = ProfilePrefs();
  if (mChosenItem > 0 && slot >= 0 && prefs) {
    mUpgrades[static_cast<size_t>(slot)] = mChosenItem;
    StoreUpgradeSlots(*prefs, mListName, mUpgrades, mPlayer);
  }
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return;
  manager->PopModal();
  manager->PopModal();
  if (mLevel < 1 || mLevel >= kLevelsPerVenue) return;
  const TString next = TString::Format("assets/scripts/game%d.%d.lua", mMap, mLevel + 1);
  if (!FileExists(next)) {
    DebugLog("TUpgradeDialog::SaveUpgrade: no level %s; back to the venue map", next.c_str());
    return;
  }
  manager->PushDialog(next, TString(), TString(), next);
}

// Marks under the buttons: the picked one's, else the roll-over under a pressed or
// highlighted one.
void TUpgradeDialog::Draw() {
  const TMarkDrawing marks;
  for (int i = 0; i < kUpgradeOffers; ++i) {
    TButton* button = FindOffer(this, i);
    if (!button) continue;
    const auto x = static_cast<float>(kMarkX);
    const auto y = static_cast<float>(kMarkY + kMarkSpacing * i);
    const int state = button->GetState();
    if (i == mSelected) {
      marks.Draw(mSelectedMark, x, y);
    } else if (state == kButtonPressed || state == kButtonHover) {
      marks.Draw(mRollOverMark, x, y);
    }
  }
}
