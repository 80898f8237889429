// The player choice: the player buttons filled from the profile service, and the pick.
#include "game/frontend/TChoosePlayer.h"

#include <algorithm>

#include "game/frontend/ScreenParts.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/ui/TButton.h"

namespace {

TString PlayerButtonName(int index) {
  return TString::Format("button%d", index);
}

}  // namespace

TChoosePlayer::TChoosePlayer() {
  BindScriptFunctions();
}

TChoosePlayer::~TChoosePlayer() = default;

TWindow* TChoosePlayer::Create() {
  return new TChoosePlayer;
}

TWindowClassId TChoosePlayer::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TChoosePlayer::Create);
}

bool TChoosePlayer::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TChoosePlayer::PostCreate() {
  SetPlayerChoices();
}

void TChoosePlayer::SetPlayerChoices() {
  TGameSettings* settings = TGameSettings::Get();
  const int players = settings ? settings->GetNumUsers() : 0;
  const int shown = std::clamp(players, 0, kMaxPlayers);
  for (int i = 0; i < shown; ++i) {
    ShowChild(this, PlayerButtonName(i), true);
    if (TButton* button = FindChildOf<TButton>(this, PlayerButtonName(i))) {
      button->SetLabelText(LiteralMarkup(settings->GetUserName(i)));
    }
  }
  for (int i = shown; i < kMaxPlayers; ++i) ShowChild(this, PlayerButtonName(i), false);
  const int current = settings ? settings->GetCurrentUserIndex() : -1;
  if (current >= 0 && current < kMaxPlayers) {
    if (TButton* button = FindChildOf<TButton>(this, PlayerButtonName(current))) {
      button->SetChecked(true);
    }
  }
  for (const char* name : {"delete", "chooseok", "editname"}) ShowChild(this, name, players > 0);
  ShowChild(this, "newplayer", players < kMaxPlayers);
}

int TChoosePlayer::GetCurrentSelectedUser() {
  for (int i = 0; i < kMaxPlayers; ++i) {
    TButton* button = FindChildOf<TButton>(this, PlayerButtonName(i));
    if (button && button->IsChecked()) return i;
  }
  return -1;
}

TString TChoosePlayer::GetSelectedPlayerName() {
  TGameSettings* settings = TGameSettings::Get();
  const int index = GetCurrentSelectedUser();
  return settings && index >= 0 ? settings->GetUserName(index) : TString();
}
