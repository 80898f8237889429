// The front-end screens' shared parts: children by name and literal names.
#include "game/frontend/ScreenParts.h"

#include <string>

#include "game/frontend/ShownChildren.h"

TWindow* ShowChild(TWindow* root, const TString& name, bool shown) {
  TWindow* child = root ? root->FindChild(name, -1) : nullptr;
  if (SetShown(child, shown)) child->Invalidate();
  return child;
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
