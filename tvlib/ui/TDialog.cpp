// Dialogs: publishing the texts, the layout, centring, the close wait and web links.
#include "tvlib/ui/TDialog.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/script/TLuaObjectWrapper.h"
#include "tvlib/script/TLuaStackGuard.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr char kLinkPrefix[] = "http=";
constexpr int kLinkPrefixLength = 5;

// gDialogTable.body and .title set to the texts (the table made when there is none).
void PublishTexts(lua_State* L, const TString& body, const TString& title) {
  TLuaStackGuard guard(L);
  lua_pushstring(L, "gDialogTable");
  lua_gettable(L, LUA_GLOBALSINDEX);
  if (!lua_istable(L, -1)) {
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushstring(L, "gDialogTable");
    lua_pushvalue(L, -2);
    lua_settable(L, LUA_GLOBALSINDEX);
  }
  lua_pushstring(L, "body");
  PushLuaString(L, body);
  lua_settable(L, -3);
  lua_pushstring(L, "title");
  PushLuaString(L, title);
  lua_settable(L, -3);
}

}  // namespace

TDialog::TDialog(const TString& layoutScript, const TString& body, const TString& title)
    : mLayoutScript(layoutScript), mBody(body), mTitle(title) {}

TWindow* TDialog::Create() {
  return new TDialog("", "", "");
}

TWindowClassId TDialog::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TDialog::Create);
}

bool TDialog::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TModalWindow::IsKindOf(id);
}

bool TDialog::Init() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  if (!script) return true;
  lua_State* L = script->GetState();
  PublishTexts(L, mBody, mTitle);
  // A layout its limits stopped leaves no half-built dialog: the manager has dropped it.
  if (!manager->RunWindowScript(this, mLayoutScript) && script->GetStop() != TScriptStop::kNone) {
    return false;
  }
  const TRect& rect = GetRect();
  if (rect.left == 0 && rect.top == 0) {
    if (TModalWindow* root = manager->GetRootWindow()) {
      SetPosition((root->GetWidth() - GetWidth()) / 2, (root->GetHeight() - GetHeight()) / 2);
    }
  }
  script->DoLuaString(
      TString::Format("function gDialogFunction() DebugOut('inside a dialog function'); "
                      "WaitForCloseMessage('%s'); end;",
                      GetIdText().c_str())
          .c_str());
  lua_pushstring(L, "gDialogFunction");
  lua_gettable(L, LUA_GLOBALSINDEX);
  TLuaObjectWrapper command(L);
  manager->PostToScript(nullptr, &command);
  return true;
}

bool TDialog::OnMessage(TMessage* message) {
  const char* name = message->mName.c_str();
  if (message->mName.Length() >= kLinkPrefixLength &&
      TString(name, kLinkPrefixLength) == kLinkPrefix) {
    TPlatform* platform = TPlatform::GetInstance();
    if (platform && name[kLinkPrefixLength] != '\0') {
      platform->OpenUrl(TString(name + kLinkPrefixLength));
    }
    return true;
  }
  return TModalWindow::OnMessage(message);
}
