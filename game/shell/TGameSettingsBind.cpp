// The profile and settings service's script functions, globals of the window script: the
// full-screen and mute toggles, the game mode, and the players (count, create, choose,
// rename, delete, name check).
#include "game/shell/TGameSettings.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

void TGameSettings::RegisterScriptFunctions() {
  TWindowManager* manager = TPlatform::GetInstance()->GetWindowManager();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) {
    DebugLog("TGameSettings: no window script for the profile functions\n");
    return;
  }
  using S = TGameSettings;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"ToggleFullScreen", BindMember<&S::ToggleFullScreen>},
      {"ToggleSoundMute", BindMember<&S::ToggleSoundMute>},
      {"SetCurrentGameMode", BindMember<&S::SetCurrentGameMode>},
      {"GetNumUsers", BindMember<&S::GetNumUsers>},
      {"CreateNewUser", BindMember<&S::CreateNewUser>},
      {"SetCurrentUser", BindMember<&S::SetCurrentUser>},
      {"ChangeCurrentUserName", BindMember<&S::ChangeCurrentUserName>},
      {"DeleteUser", BindMember<&S::DeleteUser>},
      {"IsNameInUse", BindMember<&S::IsNameInUse>},
  };
  mBindings.Bind(script->GetState(), this, kFunctions);
}
