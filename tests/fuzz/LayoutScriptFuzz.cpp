// Fuzz target: a layout script (source text) run headless in a fresh window script with its
// library, as a screen is built: its windows go into a new modal window, which is then taken
// down again. A small script budget keeps every input short.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "tests/fuzz/FuzzLog.h"
#include "tests/fuzz/ScriptFuzzRunner.h"
#include "tvlib/core/app/TAppPlatform.h"
#include "tvlib/core/app/TPlatformData.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

// The platform, its window manager and root screen, made once.
struct TLayoutHost {
  TLayoutHost() {
    platform = std::make_unique<TAppPlatform>(&data);
    platform->CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
    MakeRoot();
  }
  // A script may pop the root screen itself: then there is a new one.
  void MakeRoot() {
    root = new TScreen;
    data.windowManager->SetRootWindow(root);
    root->SetSize(800, 600);
  }
  TPlatformData data;
  std::unique_ptr<TAppPlatform> platform;
  TScreen* root = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("layout_script");
  static TLayoutHost* host = new TLayoutHost;
  TWindowManager& manager = *host->data.windowManager;
  SetAssetScriptBudgetForTests(tvfuzz::kFuzzScriptBudget);
  auto* script = new TWindowScript;
  manager.AttachScript(script);
  auto* screen = new TModalWindow;
  manager.PushModal(screen);
  script->PushParent(screen);
  const std::string text(reinterpret_cast<const char*>(data), size);
  script->DoLuaString(text.c_str(), static_cast<int>(text.size()));
  script->PopWindow();
  // Whatever the script pushed goes, and the screen with it.
  while (manager.GetTopModal() && manager.GetTopModal() != host->root) manager.PopModal();
  if (!manager.GetTopModal()) host->MakeRoot();
  TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
  manager.HandleEvent(&tick);
  manager.AttachScript(nullptr);
  SetAssetScriptBudgetForTests(std::nullopt);
  return 0;
}
