// The window script's window functions: labels, bitmaps, positions, commands, layers, focus,
// the clipboard, modal windows, strings, the movie window and window deletion. Names are
// looked up below the top modal window (or the top parent where the script's own windows
// are meant); a missing window leaves everything as it was.
#include <algorithm>
#include <memory>

#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/TLuaObjectWrapper.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TFlashMovie.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowPlacement.h"
#include "tvlib/ui/TWindowScript.h"

TWindow* TWindowScript::FindBelowTopModal(const TString& name) const {
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
  return top ? top->FindChild(name, -1) : nullptr;
}

void TWindowScript::PostCreate(TString /*typeName*/) {
  if (TWindow* parent = GetTopParent()) parent->PostCreate();
}

TString TWindowScript::GetLabel(TString name) {
  TWindow* window = FindBelowTopModal(name);
  if (window == nullptr) return name + "_is_not_found";
  if (TText* text = TText::CastToText(window)) return text->GetText();
  if (TButton* button = TButton::CastToButton(window)) return button->GetLabel();
  return name + "_is_not_a_TText_window_or_TButton";
}

void TWindowScript::SetLabel(TString name, TString text) {
  if (TText* label = TText::CastToText(FindBelowTopModal(name))) label->SetText(text);
}

void TWindowScript::SetBitmap(TString name, TString image, float scale) {
  TWindow* window = FindBelowTopModal(name);
  if (window && window->IsKindOf(TImage::GetClassId())) {
    static_cast<TImage*>(window)->SetTexture(TTexture::Get(image, 0), scale);
  }
}

void TWindowScript::SetPosition(TString name, int x, int y) {
  TWindow* window = FindBelowTopModal(name);
  if (window == nullptr) return;
  int width = window->GetWidth();
  int height = window->GetHeight();
  x = std::clamp(x, -kPlacementLimit, kPlacementLimit);
  y = std::clamp(y, -kPlacementLimit, kPlacementLimit);
  if (TWindow* parent = window->GetParent()) {
    const int parentWidth = parent->GetWidth();
    const int parentHeight = parent->GetHeight();
    ResolveAxis(kPlaceNear, &parentWidth, &x, &width);
    ResolveAxis(kPlaceNear, &parentHeight, &y, &height);
  }
  window->SetPosition(x, y);
}

int TWindowScript::SetCommand(lua_State* L) {
  TButton* button = TButton::CastToButton(FindBelowTopModal(LuaToString(L, 1)));
  if (button == nullptr) return 0;
  if (!lua_isfunction(L, 2)) {
    button->SetAction(nullptr);
    return 0;
  }
  lua_settop(L, 2);
  button->SetAction(new TButton::LuaAction(std::make_unique<TLuaObjectWrapper>(L)));
  return 0;
}

unsigned TWindowScript::GetTimer() {
  return TPlatform::GetTime();
}

void TWindowScript::DoSelectLayer(int layer) {
  TWindow* parent = GetTopParent();
  if (parent && parent->IsKindOf(TLayeredWindow::GetClassId())) {
    static_cast<TLayeredWindow*>(parent)->SelectLayer(layer);
  }
}

void TWindowScript::RealSetFocus(TString name) {
  TWindowManager* manager = TWindowManager::Get();
  TWindow* parent = GetTopParent();
  if (!manager || !parent) return;
  // SetFocus tells the window (OnFocus with the previous focus) once.
  manager->SetFocus(parent->FindChild(name, -1));
}

bool TWindowScript::StringToClipboard(TString text) {
  TPlatform* platform = TPlatform::GetInstance();
  return platform && platform->SetClipboardText(text);
}

void TWindowScript::UpdateWindow() {
  TWindowManager* manager = TWindowManager::Get();
  if (TModalWindow* top = manager ? manager->GetTopModal() : nullptr) top->Invalidate();
}

TString TWindowScript::PushModal(TString name) {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager) return TString("");
  auto* window = new TModalWindow;
  window->SetName(name);
  manager->PushModal(window);
  return window->GetIdText();
}

void TWindowScript::ClearModalChildren() {
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
  if (!top) return;
  top->DeleteAllTasks();
  top->DeleteChildren();
  top->SetPosition(0, 0);
  top->SetSize(0, 0);
}

void TWindowScript::DoPopModal() {
  if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
}

TString TWindowScript::GetString(TString key, TString a1, TString a2, TString a3, TString a4,
                                 TString a5) {
  TPlatform* platform = TPlatform::GetInstance();
  TStringTable* table = platform ? platform->GetStringTable() : nullptr;
  return table ? table->GetString(key, a1, a2, a3, a4, a5) : key;
}

bool TWindowScript::StartMovie(TString name) {
  if (name.Length() == 0) return false;
  auto movie = std::make_unique<TFlashMovie>(name);
  if (!movie->Start(true)) return false;
  mMovie = std::move(movie);
  return true;
}

bool TWindowScript::IsMoviePlaying() {
  return mMovie && mMovie->IsPlaying();
}

void TWindowScript::StopMovie() {
  if (!mMovie) return;
  mMovie->Close();
  mMovie.reset();
}

bool TWindowScript::ImageLoaded(TString name) {
  TWindow* window = FindBelowTopModal(name);
  return window && window->IsKindOf(TImage::GetClassId()) &&
         static_cast<TImage*>(window)->GetTexture() != nullptr;
}

void TWindowScript::DestroyWindow(TString name) {
  TWindowManager* manager = TWindowManager::Get();
  TWindow* parent = GetTopParent();
  if (!manager || !parent) return;
  if (TWindow* window = parent->FindChild(name, -1); window && window != parent) {
    manager->DeleteLater(window);
  }
}
