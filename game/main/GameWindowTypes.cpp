// The game's window types, the one place that names the classes of the level and the
// screens: a screen starts a level by its script name, never by its class.
#include "game/main/GameWindowTypes.h"

#include "game/frontend/THiscore.h"
#include "game/frontend/TMainMenu.h"
#include "game/frontend/TMetaMap.h"
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
  // Here "OptionsWindow" and "Slider", as that screen comes.
  manager.AddWindowType("HiscoreWindow", THiscore::Create);
  // Here "ChoosePlayerWindow", "CreditsWindow" and "EnterNameWindow", as those screens come.
  manager.AddWindowType("UpgradeDialog", TUpgradeDialog::Create);
  manager.AddWindowType("MetaMap", TMetaMap::Create);
  // Here "PauseMenu".
  manager.AddWindowType("SelectionDialog", TSelectionDialog::Create);
}
