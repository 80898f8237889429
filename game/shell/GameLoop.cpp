// The game's event loop and its rules for close requests, display switches and activation.
#include "game/shell/GameLoop.h"

#include "game/shell/ScriptModal.h"
#include "game/shell/TGameSettings.h"
#include "game/shell/TMetricsRecorder.h"
#include "game/shell/TMetricsReporter.h"
#include "game/shell/TShellState.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

void OnCloseRequest(TPlatform* platform) {
  const TShellState& state = GetShellState();
  if (state.inQuitConfirm) return;  // the question is already up
  if (state.inSplashScreen) {
    platform->PostQuitMessage();
    return;
  }
  OpenScriptModal(kCloseConfirmScript);
}

// The level is the one window that answers a pause request (it opens its pause menu unless
// it is paused already): the focused window when that is the level, else the window named
// for the level anywhere in the tree.
void PauseLevel(TWindowManager* manager) {
  if (TWindow* focus = manager->GetFocus(); focus && focus->RequestPause()) return;
  TWindow* root = manager->GetRootWindow();
  if (TWindow* level = root ? root->FindChild(kLevelWindowName, -1) : nullptr) {
    level->RequestPause();
  }
}

void FetchEvent(TPlatform* platform, TPlatformEvent* event) {
  platform->GetEvent(event);
  TMetricsRecorder::Get().CheckProgress();
}

}  // namespace

void HandleGameEvent(TPlatform* platform, TPlatformEvent* event) {
  TWindowManager* manager = platform->GetWindowManager();
  switch (event->type) {
    case kEventClose:
      OnCloseRequest(platform);
      break;
    case kEventFullscreenSwitch:
      if (TGameSettings* settings = TGameSettings::Get()) settings->StoreFullScreen();
      break;
    case kEventVisibility:
      if (manager) PauseLevel(manager);
      break;
    default:
      break;
  }
  if (manager) manager->HandleEvent(event);
  GetMetricsReporter().Update();
}

void RunGameLoop(TPlatform* platform) {
  TPlatformEvent event;
  event.x = event.y = 0;
  for (FetchEvent(platform, &event); event.type != kEventQuit; FetchEvent(platform, &event)) {
    HandleGameEvent(platform, &event);
  }
}
