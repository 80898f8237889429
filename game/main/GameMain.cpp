// The game's main function: the start sequence, the event loop and the orderly exit.
#include "game/main/GameMain.h"

#include "game/main/GameWindowTypes.h"
#include "game/shell/GameLoop.h"
#include "game/shell/MenuMusic.h"
#include "game/shell/ShellScriptFunctions.h"
#include "game/shell/TGameSettings.h"
#include "game/shell/TMetricsRecorder.h"
#include "game/shell/TMetricsReporter.h"
#include "game/shell/TShellState.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/hiscore/THttpRequest.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// How long the exit waits for hiscore transfers still under way to give up.
constexpr int kHttpWorkerExitWaitMs = 5000;

void PrimeMetricsReporter(TPlatform* platform) {
  TMetricsReporter& reporter = GetMetricsReporter();
  reporter.LoadScript("scripts/metrics.lua");
  reporter.SetTime("SessionTime", 0);
  reporter.SetInt("LatestLevelStory", 0);
  reporter.SetInt("LatestLevelArcade", 0);
  for (const char* key : {"StoryModePlayTime", "ArcadeModePlayTime", "StoryModeSessionTime",
                          "ArcadeModeSessionTime"}) {
    reporter.SetTime(key, 0);
  }
  reporter.SetString("VersionNumber", platform->GetVersionString());
  reporter.StartSession();
  reporter.Commit();
}

void StartGame(TPlatform* platform, const char* commandLine) {
  TShellState& state = GetShellState();
  state.commandLine = commandLine ? commandLine : "";
  platform->SetWindowTitle(platform->GetStringTable()->GetString("windowtitle"));
  // The profile service sets the cipher key the preferences and the hiscores are read with.
  TGameSettings::Recreate();
  TGameSettings::Get()->SetupDisplay();
  PrimeMetricsReporter(platform);
  platform->SetCursorImage(TTexture::GetSimple("cursor/cursor?colorkeyed"), 1, 1);
  TWindowManager* manager = platform->GetWindowManager();
  if (manager) RegisterGameWindowTypes(*manager);
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (script) {
    RegisterShellScriptFunctions(script->GetState());
    script->RunScript(kMainScript);
  } else {
    DebugLog("GameMain: no window script; the game has no screens\n");
  }
  if (state.HasSwitch("-anon 1")) {
    TGameSettings::Get()->SetAnonymousMode(1);
  } else if (state.HasSwitch("-anon 2")) {
    TGameSettings::Get()->SetAnonymousMode(2);
  }
}

void ExitGame() {
  TMetricsRecorder::Get().RecordSession();
  GetMetricsReporter().EndTime("SessionTime");
  GetMetricsReporter().Close();
  TGameSettings::Destroy();
  ReleaseMenuMusic();
  // The hiscore service is gone: no transfer may outlive it.
  if (!WaitForHttpWorkers(kHttpWorkerExitWaitMs)) {
    DebugLog("GameMain: hiscore transfers still running at exit\n");
  }
}

}  // namespace

int GameMain(TPlatform* platform, const char* commandLine) {
  StartGame(platform, commandLine);
  RunGameLoop(platform);
  ExitGame();
  return 0;
}
