// Opening level scripts, and the screen left when one fails.
#include "game/shell/LevelLaunch.h"

#include "game/shell/GameLoop.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowManager.h"

TString StoryLevelScript(int venue, int level) {
  return TString::Format("assets/scripts/game%d.%d.lua", venue, level);
}

TString EndlessLevelScript(int level) {
  return TString::Format("assets/scripts/arcade%d.lua", level);
}

bool OpenLevelScript(const TString& file) {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return false;
  if (!FileExists(file)) {
    DebugLog("OpenLevelScript: no level script '%s'; the venue map stays", file.c_str());
    return false;
  }
  TModalWindow* dialog = manager->PushDialog(file, "", "", "");
  if (dialog && dialog->FindChild(kLevelWindowName, -1)) return true;
  DebugLog("OpenLevelScript: '%s' built no level; back to the venue map", file.c_str());
  if (dialog && manager->GetTopModal() == dialog) manager->PopModal();
  return false;
}
