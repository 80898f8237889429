// The game main's script functions.
#include "game/shell/ShellScriptFunctions.h"

#include <cstdint>

#include "game/shell/MenuMusic.h"
#include "game/shell/ScriptModal.h"
#include "game/shell/TGameSettings.h"
#include "game/shell/TShellState.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// The local privacy text in anonymous mode 1 (inside the open screens; nothing without one),
// the web page otherwise.
void LaunchPrivacyPolicy() {
  TGameSettings* settings = TGameSettings::Get();
  if (settings && settings->GetAnonymousMode() == 1) {
    TWindowManager* manager = TWindowManager::Get();
    if (manager && manager->GetTopModal()) OpenScriptModal(kPrivacyScript);
    return;
  }
  TPlatform::GetInstance()->OpenUrl(kPrivacyPolicyAddress);
}

void InSplashScreen(bool inSplash) {
  GetShellState().inSplashScreen = inSplash;
}

void QuitApplication() {
  TPlatform::GetInstance()->PostQuitMessage();
}

bool InGame() {
  return GetShellState().inGame;
}

void InQuitConfirm(bool confirming) {
  GetShellState().inQuitConfirm = confirming;
}

void HideLogoBelow(TWindow* window) {
  if (!window) return;
  if (TWindow* logo = window->FindChild("tvlogo", -1)) logo->ClearFlags(kWindowVisible);
}

// With "-hidelogo 1" on the command line, the engine maker's logo ("tvlogo") is hidden, in
// the whole tree and in the top screen.
void CheckTVLogo() {
  if (!GetShellState().HasSwitch("-hidelogo 1")) return;
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return;
  HideLogoBelow(manager->GetRootWindow());
  HideLogoBelow(manager->GetTopModal());
}

bool AOLBuild() {
  return GetShellState().HasSwitch("-aol");
}

}  // namespace

int GetRandomRange(int low, int high) {
  if (high < low) return low;
  const int64_t span = int64_t{high} - low + 1;
  return static_cast<int>(low + TvRand() % span);
}

void RegisterShellScriptFunctions(lua_State* L) {
  static constexpr TLuaFunctionReg kFunctions[] = {
      {"GetRandomRange", BindFree<&GetRandomRange>},
      {"LaunchPrivacyPolicy", BindFree<&LaunchPrivacyPolicy>},
      {"PlayComicMusic", BindFree<&SwitchToComicMusic>},
      {"InSplashScreen", BindFree<&InSplashScreen>},
      {"QuitApplication", BindFree<&QuitApplication>},
      {"InGame", BindFree<&InGame>},
      {"InQuitConfirm", BindFree<&InQuitConfirm>},
      {"CheckTVLogo", BindFree<&CheckTVLogo>},
      {"AOLBuild", BindFree<&AOLBuild>},
  };
  BindFunctions(L, kFunctions);
}
