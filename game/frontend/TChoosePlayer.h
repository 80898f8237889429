// The player choice (window type "ChoosePlayerWindow"): one radio button per player, at most
// ten ("button0" to "button9", labelled with the names), and "delete", "chooseok",
// "editname" (shown while there is a player) and "newplayer" (while there are fewer than
// ten). Its layout script creates, renames and deletes players through the profile service's
// script functions and refills the window with SetPlayerChoices. UI thread only.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TChoosePlayer : public TWindow {
 public:
  static constexpr int kMaxPlayers = 10;

  // Binds the script functions.
  TChoosePlayer();
  ~TChoosePlayer() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Fills the window (SetPlayerChoices).
  void PostCreate() override;

  // --- Script functions ---------------------------------------------------------------
  // Shows a button per player with the player's name, checks the current player's and shows
  // the buttons that apply.
  void SetPlayerChoices();
  // The index of the first checked player button, -1 when none is checked.
  int GetCurrentSelectedUser();
  // That player's name; empty when none is checked.
  TString GetSelectedPlayerName();

 private:
  // The script functions' registration (ChoosePlayerBind.cpp).
  void BindScriptFunctions();

  TLuaBindings mBindings;
};
