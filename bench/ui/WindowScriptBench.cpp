// The window script on a main-menu-sized layout: building 9 panels of 7 buttons and 12 plain
// windows each (180 windows with the panels, coordinate codes and a style chain included) from
// script tables and clearing them again, and handing a message to a script waiting in its message
// loop. Headless platform, no display handler: what is measured is the script side and the tree.
#include <benchmark/benchmark.h>

#include <memory>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"
#include "tvlib/script/Libs.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

constexpr char kLayout[] =
    "gLayout = { SetStyle{ h = 22 } }"
    "for p = 0, 8 do"
    "  local panel = { x = math.mod(p, 3) * 266 + 4, y = math.floor(p / 3) * 200 + 4,"
    "                  w = 258, h = 192, AppendStyle{ w = 110 } }"
    "  for i = 0, 6 do"
    "    table.insert(panel, Button{ name = 'b' .. p .. i, x = 8, y = 8 + i * 26 })"
    "  end"
    "  for i = 0, 11 do"
    "    table.insert(panel, Window{ x = -132, y = 4 + i * 15, w = kMax - 4, h = 14 })"
    "  end"
    "  table.insert(gLayout, Window(panel))"
    "end";

struct TScriptFixture {
  TScriptFixture() {
    platform.CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
    auto* screen = new TScreen;
    data.windowManager->SetRootWindow(screen);
    screen->SetSize(800, 600);
    script = new TWindowScript;
    data.windowManager->AttachScript(script);
    lua_State* L = script->GetState();
    luaopen_math(L);
    script->DoLuaString(kLayout);
  }

  TPlatformData data;
  TAppPlatform platform{&data};
  TWindowScript* script = nullptr;
};

void BM_BuildLayoutFromScript(benchmark::State& state) {
  TScriptFixture f;
  TWindowManager& manager = *f.data.windowManager;
  for (auto _ : state) {
    f.script->DoLuaString("MakeDialog(gLayout)");
    f.script->DoLuaString("ClearModalChildren()");
    manager.DeletePending();
  }
  state.SetItemsProcessed(state.iterations() * 180);
}
BENCHMARK(BM_BuildLayoutFromScript);

void BM_MessageToWaitingScript(benchmark::State& state) {
  TScriptFixture f;
  f.script->DoLuaString("return function() while true do WaitForMessage() end end");
  for (auto _ : state) f.script->QueueMessageToLua(new TMessage(kMessageClick, "play"), nullptr);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MessageToWaitingScript);

}  // namespace
