// The game's window types, the one place that names the classes of the level and the
// screens: a screen starts a level by its script name, never by its class.
#include "game/main/GameWindowTypes.h"

#include "game/frontend/TChoosePlayer.h"
#include "game/frontend/TCredits.h"
#include "game/frontend/TEnterName.h"
#include "game/frontend/THiscore.h"
#include "game/frontend/TMainMenu.h"
#include "game/frontend/TMetaMap.h"
#include "game/frontend/TOptions.h"
#include "game/frontend/TPauseMenu.h"
#include "game/frontend/TSlider.h"
#include "game/level/TGameLevel.h"
#include "game/level/TSelectionDialog.h"
#include "game/level/TUpgradeDialog.h"
#include "tvlib/ui/TWindowManager.h"

// In their designed order: "GameWindow", "MainMenu", "OptionsWindow", "Slider",
// "HiscoreWindow", "ChoosePlayerWindow", "CreditsWindow", "EnterNameWindow", "UpgradeDialog",
// "MetaMap", "PauseMenu", "SelectionDialog".
void RegisterGameWindowTypes(TWindowManager& manager) {
  manager.AddWindowType("GameWindow", TGameLevel::Create);
  manager.AddWindowType("MainMenu", TMainMenu::Create);
  manager.AddWindowType("OptionsWindow", TOptions::Create);
  manager.AddWindowType("Slider", TSlider::Create);
  manager.AddWindowType("HiscoreWindow", THiscore::Create);
  manager.AddWindowType("ChoosePlayerWindow", TChoosePlayer::Create);
  manager.AddWindowType("CreditsWindow", TCredits::Create);
  manager.AddWindowType("EnterNameWindow", TEnterName::Create);
  manager.AddWindowType("UpgradeDialog", TUpgradeDialog::Create);
  manager.AddWindowType("MetaMap", TMetaMap::Create);
  manager.AddWindowType("PauseMenu", TPauseMenu::Create);
  manager.AddWindowType("SelectionDialog", TSelectionDialog::Create);
}
