// Fuzz target: a layout script (source text) run headless in a fresh window script with its
// library, its windows going into a modal window of their own, under a small script budget.
// No window manager stands behind it (a fuzz target links no window system), so the window
// functions that need one do nothing: the target covers the library and the script side.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/FuzzLog.h"
#include "tests/fuzz/ScriptFuzzRunner.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("layout_script");
  SetAssetScriptBudgetForTests(tvfuzz::kFuzzScriptBudget);
  {
    TModalWindow screen;
    TWindowScript script;
    script.ResetParents(&screen);
    const std::string text(reinterpret_cast<const char*>(data), size);
    script.DoLuaString(text.c_str(), static_cast<int>(text.size()));
    script.ResetParents(nullptr);
  }
  SetAssetScriptBudgetForTests(std::nullopt);
  return 0;
}
