// The metrics recorder's script functions, globals of the window script when there is one:
// StartComicScreenTimer() and PauseComicScreenTimer().
#include "game/shell/TMetricsRecorder.h"

#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

void TMetricsRecorder::BindScriptFunctions() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) return;
  using S = TMetricsRecorder;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"StartComicScreenTimer", BindMember<&S::StartComicScreenTimer>},
      {"PauseComicScreenTimer", BindMember<&S::PauseComicScreenTimer>},
  };
  mBindings.Bind(script->GetState(), this, kFunctions);
}
