// The window script's create functions: windows, bitmaps, texts, text edits, buttons and
// windows of registered types made from a script table (argument 1), read through the style
// rules, then placed inside the top parent by SetupWindow.
#include <algorithm>
#include <cstring>
#include <memory>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/NumberConversion.h"
#include "tvlib/script/TLuaStackGuard.h"
#include "tvlib/ui/ScriptStyle.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextEdit.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowPlacement.h"
#include "tvlib/ui/TWindowScript.h"
#include "tvlib/ui/TWindowStyle.h"

namespace {

// Reads keys of the table at stack index 1 through the style rules.
class TTableKeys {
 public:
  explicit TTableKeys(TScript* script) : mScript(script), mL(script->GetState()) {}

  TString String(const char* key, const TString& def) const {
    lua_pushvalue(mL, 1);
    TString value = GetStyleString(*mScript, key, def);
    lua_pop(mL, 1);
    return value;
  }
  double Number(const char* key, double def) const {
    lua_pushvalue(mL, 1);
    const double value = GetStyleNumber(*mScript, key, def);
    lua_pop(mL, 1);
    return value;
  }
  // A number as an int, cut to the placement limit.
  int Int(const char* key, int def) const {
    return std::clamp(tvs::NumberToInt(Number(key, def)), -kPlacementLimit, kPlacementLimit);
  }
  bool Bool(const char* key) const {
    lua_pushvalue(mL, 1);
    const bool value = GetStyleBool(*mScript, key, false);
    lua_pop(mL, 1);
    return value;
  }
  // Pushes the value found under `key` and answers true, or pushes nothing and answers false.
  bool Push(const char* key) const {
    lua_pushvalue(mL, 1);
    if (!FindStyleValue(*mScript, key, true)) {
      lua_pop(mL, 1);
      return false;
    }
    lua_remove(mL, -2);
    return true;
  }

 private:
  TScript* mScript;
  lua_State* mL;
};

// The table's "font"; raises the script errors of a font without a name or height.
TFontSpec ReadFont(TScript* script, const TTableKeys& keys) {
  TFontSpec font;
  if (!keys.Push("font")) {
    font.face = "font.mvec";
    font.color = {0, 0, 0, 1};
    return font;
  }
  font = PopFontSpec(*script);
  lua_State* L = script->GetState();
  if (font.face.Length() == 0) luaL_error(L, "Font error: Font has no name!");
  if (font.height == 0) luaL_error(L, "Font error: Font has zero height!");
  return font;
}

// Whether `window` is `root` or below it.
bool Contains(const TWindow* root, const TWindow* window) {
  if (root == window) return true;
  for (const TWindow* child : root->GetChildren()) {
    if (Contains(child, window)) return true;
  }
  return false;
}

// A button's cleanup, run once after its children are made: a button made "on" is checked,
// any other shows the layer of its state again (its children joined every layer).
int ButtonCleanup(lua_State* L) {
  auto* button = static_cast<TButton*>(lua_touserdata(L, lua_upvalueindex(1)));
  const bool on = lua_toboolean(L, lua_upvalueindex(2)) != 0;
  TWindowManager* manager = TWindowManager::Get();
  const auto& stack = manager ? manager->GetModalStack() : std::vector<TModalWindow*>{};
  if (stack.empty() || !Contains(stack.front(), button)) return 0;  // gone meanwhile
  if (on) {
    button->SetChecked(true);
  } else {
    button->SetState(button->GetState());
  }
  return 0;
}

}  // namespace

TWindow* TWindowScript::MakeWindow(lua_State* /*L*/, const char* defaultFactory,
                                   TWindowCreator fallback) {
  const TTableKeys keys(this);
  const TString factoryName = keys.String("factory", defaultFactory);
  TWindowManager* manager = TWindowManager::Get();
  if (TWindowFactory* factory = manager ? manager->GetFactory(factoryName) : nullptr) {
    const TWindowStyle style(this, 1);
    if (TWindow* window = factory->Create(style)) return window;
  }
  return fallback ? fallback() : nullptr;
}

bool TWindowScript::SetupWindow(lua_State* /*L*/, TWindow* window) {
  TWindow* parent = GetTopParent();
  if (parent == nullptr || !parent->AddChild(window, true)) {
    // Refused (or nowhere to go): the window is not part of the screen and goes at once.
    delete window;
    return false;
  }
  const TTableKeys keys(this);
  int x = keys.Int("x", 0);
  int y = keys.Int("y", 0);
  PushParent(window);
  window->SetName(keys.String("name", ""));
  int w = keys.Int("w", window->GetWidth());
  int h = keys.Int("h", window->GetHeight());

  // A parent without a size takes it from its first sized children.
  if (w >= 1 && w <= 79999 && parent->GetWidth() == 0) {
    parent->SetSize((x > 40000 ? x - 80000 : x) + w, parent->GetHeight());
  }
  if (h >= 1 && h <= 79999 && parent->GetHeight() == 0) {
    parent->SetSize(parent->GetWidth(), (y > 40000 ? y - 80000 : y) + h);
  }

  const int align = keys.Int("align", 0);
  const int parentWidth = parent->GetWidth();
  const int parentHeight = parent->GetHeight();
  ResolveAxis(align & 3, &parentWidth, &x, &w);
  ResolveAxis((align >> 2) & 3, &parentHeight, &y, &h);
  w = std::max(w, 0);
  h = std::max(h, 0);
  window->SetPosition(x, y);
  window->SetSize(w, h);
  if (x + w > parentWidth || y + h > parentHeight) {
    parent->SetSize(std::max(parentWidth, x + w), std::max(parentHeight, y + h));
  }
  DoLuaString(TString::Format("gDialogWidth = %d; gDialogHeight= %d ;", window->GetWidth(),
                              window->GetHeight())
                  .c_str());
  return true;
}

int TWindowScript::CreateWindowFromTable(lua_State* L) {
  TWindow* window = MakeWindow(L, "_window", &TWindow::Create);
  lua_pushboolean(L, SetupWindow(L, window));
  return 1;
}

int TWindowScript::GenericCreate(lua_State* L) {
  const TString typeName = TTableKeys(this).String("typename", "");
  auto at = mWindowTypes.find(typeName);
  TWindow* window = at == mWindowTypes.end() ? nullptr : at->second();
  if (window == nullptr) {
    DebugLog("TWindowScript::GenericCreate: no window type '%s'", typeName.c_str());
    lua_pushboolean(L, false);
    return 1;
  }
  const bool setUp = SetupWindow(L, window);  // a refused window is gone now
  if (setUp) window->OnCreated();
  lua_pushboolean(L, setUp);
  return 1;
}

int TWindowScript::CreateBitmap(lua_State* L) {
  const TTableKeys keys(this);
  TWindow* window = MakeWindow(L, "", &TImage::Create);
  if (window->IsKindOf(TImage::GetClassId())) {
    const TString image = keys.String("image", "");
    const TString mask = keys.String("mask", "");
    const bool mipmap = keys.Number("mipmap", 0) != 0;
    std::shared_ptr<TTexture> texture;
    if (image.Length() != 0 && mask.Length() != 0) {
      texture = TTexture::GetMasked(image, mask, mipmap);
    } else if (image.Length() != 0) {
      texture = TTexture::Get(
          image, (keys.Bool("alpha") ? kLoadAlpha : 0u) | (mipmap ? kLoadMipmaps : 0u));
    }
    static_cast<TImage*>(window)->SetTexture(texture, static_cast<float>(keys.Number("scale", 1)));
  }
  lua_pushboolean(L, SetupWindow(L, window));
  return 1;
}

TString TWindowScript::LocalizeLabel(const TString& label) const {
  const char* text = label.c_str();
  if (text[0] == '#') return TString(text + 1);
  if (label.Length() > 0 && std::strspn(text, "0123456789.") == size_t(label.Length())) {
    return label;
  }
  TPlatform* platform = TPlatform::GetInstance();
  TStringTable* table = platform ? platform->GetStringTable() : nullptr;
  return table ? table->GetString(label, "", "", "", "", "") : label;
}

void TWindowScript::InitTextWindow(lua_State* /*L*/, TWindow* window, bool localize) {
  // The font first: its errors leave before anything changed.
  const TTableKeys keys(this);
  const TFontSpec font = ReadFont(this, keys);
  TText* text = TText::CastToText(window);
  if (!text) return;
  TString label = keys.String("label", "");
  if (localize && mLocalizeLabels && label.Length() != 0) label = LocalizeLabel(label);
  const int width = window->GetWidth();
  const int height = window->GetHeight();
  if (width == 0 || height == 0) {
    DebugLog("ERROR: Attempting to create text window of size(0,0): named '%s', label '%s'",
             window->GetName().c_str(), label.c_str());
    return;
  }
  const int defaultFlags = keys.Int("defflags", 0);
  const int flags = keys.Int("flags", defaultFlags);
  text->lineSpacing = keys.Int("padding", 0);
  const float colour[4] = {font.color.r, font.color.g, font.color.b, font.color.a};
  text->InitText(label, width, height, flags, font.face, font.height, colour);
  const double rotation = keys.Number("rotation", 0);
  if (rotation != 0) {
    text->SetRotation(static_cast<float>(rotation),
                      ResolvePositionCode(keys.Int("rotationOriginX", 0), 0, width),
                      ResolvePositionCode(keys.Int("rotationOriginY", 0), 0, height));
  }
}

int TWindowScript::CreateText(lua_State* L) {
  ReadFont(this, TTableKeys(this));  // a bad font stops the script before a window is made
  TWindow* window = MakeWindow(L, "_text", &TText::Create);
  if (!SetupWindow(L, window)) {
    lua_pushboolean(L, false);
    return 1;
  }
  InitTextWindow(L, window, true);
  lua_pushboolean(L, true);
  return 1;
}

int TWindowScript::CreateTextEdit(lua_State* L) {
  const TTableKeys keys(this);
  ReadFont(this, keys);
  TWindow* window = MakeWindow(L, "_textedit", &TTextEdit::Create);
  if (!SetupWindow(L, window)) {
    lua_pushboolean(L, false);
    return 1;
  }
  if (TTextEdit* edit = TTextEdit::CastToTextEdit(window)) {
    edit->SetMaxLength(keys.Int("length", 10));
    edit->SetPassword(keys.Bool("password"));
    edit->SetExcluded(keys.String("ignore", ""));
  }
  InitTextWindow(L, window, false);
  lua_pushboolean(L, true);
  return 1;
}

int TWindowScript::CreateButton(lua_State* L) {
  const TTableKeys keys(this);
  TWindow* window = MakeWindow(L, "_button", nullptr);
  if (window == nullptr) window = new TButton(keys.Int("type", kButtonPush));
  TButton* button = TButton::CastToButton(window);
  const bool on = keys.Bool("on");
  if (button) {
    // Each image is the look of one state: image1 of layer 0, image2 of layer 1 ...
    const float scale = static_cast<float>(keys.Number("scale", 1));
    if (keys.Push("graphics")) {
      // One look per layer: further images have no state to show them.
      for (int i = 1; lua_istable(L, -1) && i <= button->GetLayerCount(); ++i) {
        lua_rawgeti(L, -1, i);
        if (lua_isnil(L, -1)) {
          lua_pop(L, 1);
          break;
        }
        const TString imageName = LuaToString(L, -1);
        lua_pop(L, 1);
        auto* image = new TImage;
        image->SetName(TString::Format("image%d", i));
        image->SetTexture(TTexture::Get(imageName, 0), scale);
        button->SelectLayer(i - 1);
        button->AddChild(image, true);
      }
      lua_pop(L, 1);
    }
    button->SetLabel(keys.String("label", ""));
    const TString sound = keys.String("sound", "");
    if (sound.Length() != 0) button->SetSound(kButtonPressed, sound);
    const TString rollover = keys.String("rolloversound", "");
    if (rollover.Length() != 0) button->SetSound(kButtonHover, rollover);
    const TString mask = keys.String("mask", "");
    if (mask.Length() != 0) button->SetHitMask(TTexture::Get(mask, 0).get());
    uint32_t options = 0;
    if (keys.Bool("beginGroup")) options |= kSetBeginGroup;
    if (keys.Bool("sendToParent")) options |= kSetToScreen;
    if (keys.Bool("close")) options |= kSetReturnValue;
    if (keys.Bool("default")) options |= kSetDefault;
    button->SetOptions(options);
    if (keys.Push("command")) {
      if (lua_isfunction(L, -1)) {
        button->SetAction(new TButton::LuaAction(std::make_unique<TLuaObjectWrapper>(L)));
      } else {
        lua_pop(L, 1);
      }
    }
  }
  if (!SetupWindow(L, window)) {
    lua_pushboolean(L, false);
    return 1;
  }
  if (button) {
    // The children made next (the label) belong to every look; the cleanup shows the
    // layer of the button's state again.
    button->SelectLayer(-1);
    lua_pushstring(L, "cleanup");
    lua_pushlightuserdata(L, button);
    lua_pushboolean(L, on);
    lua_pushcclosure(L, ButtonCleanup, 2);
    lua_settable(L, 1);
  }
  lua_pushboolean(L, true);
  return 1;
}
