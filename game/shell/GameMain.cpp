// The game's main function: the window title, the display and the event loop.
//
// The game's screens, scripts and settings service are not here yet: the loop hands every
// event to the window manager and answers a close request by quitting.
#include "game/shell/GameMain.h"

#include "tvlib/core/TStringTable.h"
#include "tvlib/core/app/TAppPlatform.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// The game's screen, in game pixels.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

}  // namespace

int GameMain(TPlatform* platform, const char* /*commandLine*/) {
  platform->SetWindowTitle(platform->GetStringTable()->GetString("windowtitle"));
  platform->InitDisplay(kScreenWidth, kScreenHeight, false);
  TPlatformEvent event;
  for (;;) {
    platform->GetEvent(&event);
    if (event.type == kEventQuit) break;
    if (event.type == kEventClose) {
      platform->GetData()->window->PostQuitMessage();
      continue;
    }
    platform->GetWindowManager()->HandleEvent(&event);
  }
  return 0;
}
