// The upgrade dialog (window type "UpgradeDialog"): between story levels, and in the endless
// reception whenever one has been earned, the player picks one of up to three upgrades. It
// offers the first three of the venue's priority list that the player does not own and whose
// prerequisite the player owns (UpgradeRules.h), stores the confirmed choice per player and
// moves on: in the story to the next level of the venue (or back to the venue map after the
// last level, or when the next level's script is missing), in the endless reception back to
// the reception, which takes the choice over.
//
// The script "upgrade1.lua" loads the catalogue "scripts/upgrades.lua" (`UpgradeItem[1..32]`
// with "description", "icon", "down" and "prereq"; "UpgradePriorityVenue%d" and
// "ArcadeUpgradePriorityVenue%d") and builds this window with the radio buttons "button1" to
// "button3" and the push button "chooseok", which it keeps out of view until a pick. The
// dialog dresses the offered buttons, writes their descriptions beside them, removes those it
// has nothing for, and draws a mark under the picked and the hovered one.
//
// Reads the current player's "currentMap" (default 1), "currentLevel" (default 0) and
// "endless", and the global "arcadeLevel" (default 1). Script functions (bound while the
// dialog lives): Select(index 0 to 2), UpgradeIt(), SaveUpgrade(). UI thread only.
#pragma once

#include <array>
#include <memory>

#include "game/level/UpgradeRules.h"
#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TText;
class TTexture;

class TUpgradeDialog : public TWindow {
 public:
  // Where the marks stand: under button i at (kMarkX, kMarkY + i * kMarkSpacing).
  static constexpr int kMarkX = 398;
  static constexpr int kMarkY = 200;
  static constexpr int kMarkSpacing = 106;
  // The top of "chooseok" once a pick is made; it is centred on x = 400.
  static constexpr int kOrderButtonY = 471;

  // Binds the script functions and loads the marks.
  TUpgradeDialog();
  ~TUpgradeDialog() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Reads the player's stored list and the catalogue, makes the offer and dresses the
  // buttons.
  void PostCreate() override;
  void Draw() override;
  // Every press on the dialog is its own.
  bool OnMouseDown(TPoint* /*point*/) override { return true; }

  // --- Script functions ----------------------------------------------------------------
  // Picks the button (0 to 2) and brings "chooseok" into view; other indices are ignored.
  void Select(int index);
  // Confirms the picked button's upgrade; nothing without a pick.
  void UpgradeIt();
  // Once: stores the confirmed choice and moves on.
  void SaveUpgrade();

  const TUpgradeOffer& GetOffered() const { return mOffered; }
  int GetSelected() const { return mSelected; }
  int GetChosenItem() const { return mChosenItem; }
  bool IsEndless() const { return mEndless; }
  // The description beside button `index` (0 to 2).
  TText* GetDescription(int index) const { return mDescriptions[static_cast<size_t>(index)].get(); }

 private:
  // The script functions' registration (UpgradeDialogBind.cpp).
  void BindScriptFunctions();
  void ReadPlayer();
  void MakeOffer();
  void DressOffers();
  void ShowOrderButton();
  void SaveStoryChoice();
  void SaveEndlessChoice();

  bool mEndless = false;
  int mSelected = -1;
  int mChosenItem = -1;
  int mMap = 1;
  int mPlayer = -1;
  int mLevel = 0;
  TUpgradeSlots mUpgrades{};
  TUpgradeOffer mOffered{-1, -1, -1};
  // The catalogue entries of the offer, by place.
  std::array<TString, kUpgradeOffers> mIcons, mPressedIcons, mLabels;
  // Made by the dialog, its children while they show.
  std::array<std::unique_ptr<TText>, kUpgradeOffers> mDescriptions;
  TString mListName;
  std::shared_ptr<TTexture> mRollOverMark, mSelectedMark;
  bool mSaved = false;
  TLuaBindings mBindings;
};
