// The game's window types, the one place that names the classes of the level and the
// screens: a screen starts a level by its script name, never by its class.
#include "game/main/GameWindowTypes.h"

#include "game/frontend/THiscore.h"
#include "game/level/TGameLevel.h"
#include "game/level/TSelectionDialog.h"
#include "game/level/TUpgradeDialog.h"
#include "tvlib/ui/TWindowManager.h"

void RegisterGameWindowTypes(TWindowManager& manager) {
  manager.AddWindowType("GameWindow", TGameLevel::Create);
  manager.AddWindowType("HiscoreWindow", THiscore::Create);
  manager.AddWindowType("UpgradeDialog", TUpgradeDialog::Create);
  manager.AddWindowType("SelectionDialog", TSelectionDialog::Create);
}
