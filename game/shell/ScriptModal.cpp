// A modal window of the game's own, built by its script.
#include "game/shell/ScriptModal.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowManager.h"

bool OpenScriptModal(const TString& file) {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) {
    DebugLog("OpenScriptModal: no window manager for %s\n", file.c_str());
    return false;
  }
  auto* window = new TModalWindow();
  manager->PushModal(window);
  window->SetName(file);
  return manager->RunWindowScript(window, file);
}
