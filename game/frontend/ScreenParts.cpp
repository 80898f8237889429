// The front-end screens' shared parts: children by name, literal names, the binding state.
#include "game/frontend/ScreenParts.h"

#include <string>

#include "tvlib/core/DebugLog.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

TWindow* ShowChild(TWindow* root, const TString& name, bool shown) {
  TWindow* child = root ? root->FindChild(name, -1) : nullptr;
  if (!child) return nullptr;
  if (shown) {
    child->AddFlags(kWindowVisible);
  } else {
    child->ClearFlags(kWindowVisible);
  }
  child->Invalidate();
  return child;
}

lua_State* ScreenBindingState(const char* owner) {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) {
    DebugLog("%s: no window script for its functions", owner);
    return nullptr;
  }
  return script->GetState();
}

TString LiteralMarkup(const TString& text) {
  std::string out;
  for (int i = 0; i < text.Length(); ++i) {
    const char c = text.c_str()[i];
    if (c == '<' || c == '\\') out += '\\';
    out += c;
  }
  return TString(out.data(), static_cast<int>(out.size()));
}
