// A stand-in game for the start-up tests: the framework runs it as it runs FestraVask, and
// its main function reports what start-up left behind instead of playing.
//
// It prints the command line it was given, the settings the tests look at and the window
// script's state ("windowscript=1", "localizelabels=1"), one "key=value" line each. With "--wait"
// it then sets up the display, prints the display scale ("scale=0.750") and runs the event loop
// until the quit event; when embedded it reports every change of the portal state to its host:
// WM_USER + 2 with wParam the time the host has kept the game suspended so far (ms) and lParam the
// master volume in percent.
#include <cstdio>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TApplication.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr const char* kReportedSettings[] = {"a",          "b",          "c",        "cheatcode",
                                             "installkey", "startupdir", "buildtag", "computerid"};

void ReportPortalState(TPlatform* platform, long* last) {
  TSoundManager* sound = platform->GetSoundManager();
  int volume = sound ? static_cast<int>(sound->GetGroupVolume(-1) * 100.0f + 0.5f) : -1;
  long suspended = static_cast<long>(GetPortalSuspendedTime());
  long state = suspended * 1000 + volume;
  if (state == *last) return;
  *last = state;
  SendToParent(WM_USER + 2, static_cast<uintptr_t>(suspended), volume);
}

int ProbeMain(TPlatform* platform, const char* commandLine) {
  std::printf("commandline=%s\n", commandLine);
  for (const char* key : kReportedSettings) {
    std::printf("%s=%s\n", key, platform->GetSetting(key).c_str());
  }
  const TWindowScript* script = platform->GetWindowManager()->GetWindowScript();
  std::printf("windowscript=%d\nlocalizelabels=%d\n", script != nullptr,
              script != nullptr && script->GetLocalizeLabels());
  std::fflush(stdout);
  if (TString(commandLine).Find("--wait") < 0) return 0;
  platform->InitDisplay(800, 600, false);
  float scale = 0.0f;
  platform->GetData()->GetDisplayScale(&scale);
  std::printf("scale=%.3f\n", scale);
  std::fflush(stdout);
  long lastState = -1;
  TPlatformEvent event;
  for (;;) {
    platform->GetEvent(&event);
    if (event.type == kEventQuit) break;
    if (platform->GetData()->embedded) ReportPortalState(platform, &lastState);
    platform->GetWindowManager()->HandleEvent(&event);
  }
  std::printf("quit\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TString commandLine = MakeCommandLine(argc, argv);
  return RunApplication(commandLine.c_str(), ProbeMain, false);
}
