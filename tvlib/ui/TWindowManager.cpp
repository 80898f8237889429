// The window manager: the modal stack, capture and focus, deferred deletion, the message
// queue, event routing and the frame step.
#include "tvlib/ui/TWindowManager.h"

#include <algorithm>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TDialog.h"
#include "tvlib/ui/TLuaMessageWrapper.h"
#include "tvlib/ui/TWindowSpider.h"
#include "tvlib/ui/TXSellWindow.h"

namespace {

// Clears the cached-layer mark; every other bit of 8-15 stays.
constexpr uint32_t kClearCachedLayer = ~kWindowCachedLayer;

template <typename T>
bool Erase(std::vector<T*>* list, T* item) {
  auto at = std::find(list->begin(), list->end(), item);
  if (at == list->end()) return false;
  list->erase(at);
  return true;
}

bool IsInSubtree(const TWindow* window, const TWindow* root) {
  for (const TWindow* w = window; w; w = w->GetParent()) {
    if (w == root) return true;
  }
  return false;
}

}  // namespace

TWindowManager::TWindowManager() = default;

TWindowManager::~TWindowManager() {
  mShuttingDown = true;
  mListeners.clear();
  mCapture.clear();
  mDirty.clear();
  while (!mModalStack.empty()) PopModal();
  DeletePending();
  std::vector<TWindow*> overlays;
  overlays.swap(mOverlays);
  for (TWindow* overlay : overlays) delete overlay;
  mRenderTarget.reset();
  mFactories.clear();
  DetachScriptTask();
  DropScriptMessages();
}

void TWindowManager::DetachScriptTask() {
  // The list the script was put on, even when the platform object has gone before its data:
  // the script is the manager's, and the list must not delete it a second time.
  if (mScriptTasks && mScript) mScriptTasks->Remove(mScript.get());
  mScriptTasks = nullptr;
}

void TWindowManager::DropScriptMessages() {
  // Messages a script posted hold values of its state: they cannot outlive it.
  std::erase_if(mQueue, [](const std::unique_ptr<TMessage>& message) {
    return message->IsKindOf(TLuaMessageWrapper::GetClassId());
  });
}

TWindowManager* TWindowManager::Get() {
  TPlatform* platform = TPlatform::GetInstance();
  return platform ? platform->GetWindowManager() : nullptr;
}

void TWindowManager::PostQuit() {
  if (TPlatform* platform = TPlatform::GetInstance()) platform->PostQuitMessage();
}

template <typename Call>
void TWindowManager::ForEachLive(const std::vector<TWindow*>& windows, Call call) {
  std::vector<TWindow*> walk = windows;
  mWalks.push_back(&walk);
  for (TWindow*& window : walk) {
    if (window) call(window);  // the entry turns null when the call deletes its window
  }
  mWalks.pop_back();
}

// --- Window script and factories -----------------------------------------------------

void TWindowManager::AttachScript(TWindowScript* script) {
  TPlatform* platform = TPlatform::GetInstance();
  DetachScriptTask();
  if (mScript) DropScriptMessages();
  mScript.reset(script);
  if (!mScript) return;
  AddWindowType("XSellWindow", &TXSellWindow::Create);
  mScript->ResetParents(GetTopModal());
  BindScriptFunctions(mScript->GetState());
  if (platform) {
    mScriptTasks = platform->GetTaskList();
    mScriptTasks->Add(mScript.get());
  }
}

bool TWindowManager::RunWindowScript(TWindow* parent, const TString& file) {
  if (!mScript) return false;
  // A screen without its layout would come up empty with nothing to say why.
  if (!FileExists(file)) {
    DebugLog("TWindowManager::RunWindowScript: no layout script '%s'", file.c_str());
    return false;
  }
  mScript->PushParent(parent);
  const bool ran = mScript->RunScript(file);
  mScript->PopWindow();
  if (!ran && mScript->GetStop() != TScriptStop::kNone) {
    DebugLog("TWindowManager::RunWindowScript: %s was stopped; its screen is dropped",
             file.c_str());
    DropModal(parent);
  }
  return ran;
}

void TWindowManager::AddWindowType(const TString& name, TWindowCreator creator) {
  if (mScript) mScript->RegisterWindowType(name, creator);
}

bool TWindowManager::SetLocalizeLabels(bool localize) {
  return mScript ? mScript->SetLocalizeLabels(localize) : false;
}

void TWindowManager::SetFactory(const TString& name, TWindowFactory* factory) {
  mFactories[name].reset(factory);
}

TWindowFactory* TWindowManager::GetFactory(const TString& name) const {
  auto at = mFactories.find(name);
  return at == mFactories.end() ? nullptr : at->second.get();
}

// --- Modal stack -----------------------------------------------------------------------

void TWindowManager::PushModal(TModalWindow* window) {
  if (!window) return;
  std::vector<TWindow*> captured;
  captured.swap(mCapture);
  ForEachLive(captured, [](TWindow* w) { w->OnMouseLeave(); });
  TModalWindow* previous = GetTopModal();
  mModalStack.push_back(window);
  if (previous) previous->AddChild(window, false);
  SetFocus(window);
  if (mScript) mScript->ResetParents(window);
  window->Init();
  if (window->GetWidth() == 0 && window->GetParent()) {
    window->SetSize(window->GetParent()->GetWidth(), window->GetParent()->GetHeight());
  }
  window->Invalidate();
}

void TWindowManager::PopModal() {
  TModalWindow* top = GetTopModal();
  if (!top) return;
  const TRect area = top->GetScreenRect();
  if (TWindow* parent = top->GetParent()) parent->RemoveChild(top);
  DeleteLater(top);
  mModalStack.pop_back();
  top->DeleteAllTasks();
  if (TModalWindow* next = GetTopModal()) {
    if (mScript) mScript->ResetParents(next);
    SetFocus(next);
  } else {
    if (mScript) mScript->ResetParents(nullptr);
    if (mRoot == top) mRoot = nullptr;
    // Nothing is left to show or to take input: the program ends rather than hang.
    if (!mShuttingDown) PostQuit();
  }
  if (mRoot) mRoot->Invalidate(&area);
  mModalPopped = true;
}

void TWindowManager::DropModal(const TWindow* window) {
  if (!window || std::find(mModalStack.begin(), mModalStack.end(), window) == mModalStack.end())
    return;
  while (!mModalStack.empty()) {
    const bool last = GetTopModal() == window;
    PopModal();
    if (last) return;
  }
}

TModalWindow* TWindowManager::PushDialog(const TString& layoutScript, const TString& body,
                                         const TString& title, const TString& name) {
  auto* dialog = new TDialog(layoutScript, body, title);
  dialog->SetName(name);
  PushModal(dialog);
  return dialog;
}

void TWindowManager::SetRootWindow(TModalWindow* window) {
  if (!window) return;
  mRoot = window;
  PushModal(window);
  if (TPlatform* platform = TPlatform::GetInstance()) {
    int left = 0, top = 0, right = 0, bottom = 0;
    platform->GetViewport(&left, &top, &right, &bottom);
    if (right > left && bottom > top) window->SetSize(right - left, bottom - top);
  }
  window->Init();
}

// --- Mouse, overlays, focus ------------------------------------------------------------

TWindow* TWindowManager::CaptureMouse(TWindow* window) {
  if (std::find(mCapture.begin(), mCapture.end(), window) != mCapture.end()) return window;
  TWindow* previous = mCapture.empty() ? nullptr : mCapture.front();
  mCapture.insert(mCapture.begin(), window);
  return previous;
}

void TWindowManager::ReleaseMouse(TWindow* window) {
  Erase(&mCapture, window);
}

void TWindowManager::AddOverlay(TWindow* window) {
  if (window) mOverlays.insert(mOverlays.begin(), window);
}

bool TWindowManager::RemoveOverlay(TWindow* window) {
  return Erase(&mOverlays, window);
}

void TWindowManager::SetFocus(TWindow* window) {
  TWindow* previous = mFocus;
  mFocus = window;
  if (window) window->OnFocus(previous);
}

// --- Redraw and deletion ---------------------------------------------------------------

void TWindowManager::ClearQueuedTargets(TWindow* window, bool subtree) {
  for (auto& message : mQueue) {
    if (!message->mTarget) continue;
    if (message->mTarget == window || (subtree && IsInSubtree(message->mTarget, window))) {
      message->mTarget = nullptr;
    }
  }
}

void TWindowManager::DeleteLater(TWindow* window) {
  if (!window) return;
  if (std::find(mPendingDelete.begin(), mPendingDelete.end(), window) == mPendingDelete.end()) {
    mPendingDelete.push_back(window);
  }
  ClearQueuedTargets(window, true);
  ReleaseMouse(window);
}

void TWindowManager::ForgetWindow(TWindow* window) {
  mDirty.erase(window);
  if (mFocus == window) mFocus = nullptr;
  ReleaseMouse(window);
  for (TModalWindow* modal : mModalStack) {
    if (modal->GetFocusChild() == window) modal->SetFocusChild(nullptr);
  }
  // A window deleted by other means than DeleteLater leaves every other list too.
  Erase(&mOverlays, window);
  Erase(&mPendingDelete, window);
  auto modal = std::find_if(mModalStack.begin(), mModalStack.end(),
                            [window](const TWindow* w) { return w == window; });
  if (modal != mModalStack.end()) mModalStack.erase(modal);
  if (mRoot == window) mRoot = nullptr;
  ClearQueuedTargets(window, false);
  for (std::vector<TWindow*>* walk : mWalks) {
    std::replace(walk->begin(), walk->end(), window, static_cast<TWindow*>(nullptr));
  }
}

void TWindowManager::DeletePending() {
  if (mPendingDelete.empty()) return;
  // One at a time: deleting a window deletes its subtree, whose windows leave the list.
  while (!mPendingDelete.empty()) {
    TWindow* window = mPendingDelete.front();
    mPendingDelete.erase(mPendingDelete.begin());
    delete window;
  }
  mDirty.clear();
  if (TModalWindow* top = GetTopModal()) top->Invalidate();
}

// --- Messages --------------------------------------------------------------------------

void TWindowManager::PostMessage(TMessage* message) {
  if (message) mQueue.emplace_back(message);
}

void TWindowManager::DrainQueue() {
  while (!mQueue.empty()) {
    TMessage* message = mQueue.front().release();
    mQueue.pop_front();
    Deliver(message);
  }
}

void TWindowManager::Deliver(TMessage* message) {
  if (message->mType == kMessageQuit) PostQuit();
  TWindow* target = message->mTarget;
  if (!target) {
    for (auto& listener : mListeners) {
      if (listener->Offer(message)) {
        delete message;
        return;
      }
    }
    target = mFocus ? mFocus : GetTopModal();
  }
  if (!target) {
    delete message;
    return;
  }
  target->SendMessage(message);
}

void TWindowManager::PostToScript(TMessage* message, TLuaObjectWrapper* command) {
  // A script waiting in a plain yield refuses the message; clicks made meanwhile are dropped.
  if (!mScript || !mScript->QueueMessageToLua(message, command)) delete message;
}

void TWindowManager::AddListener(TMessageListener* listener) {
  if (listener) mListeners.emplace_back(listener);
}

// --- Events ----------------------------------------------------------------------------

void TWindowManager::HandleEvent(TPlatformEvent* event) {
  if (event->type == kEventNothing) return;
  if (event->type == kEventDisplayModeChanged) mRenderTarget.reset();
  TPlatform* platform = TPlatform::GetInstance();
  if (platform && platform->ConsumeRepaintRequest() && mRoot) mRoot->Invalidate();
  DeletePending();
  TModalWindow* top = GetTopModal();
  if (!top) return;
  switch (event->type) {
    case kEventTick:
      top->RunTasks(kTimerPhase);
      DrainQueue();
      DrawAll();
      DrainQueue();
      break;
    case kEventPaint:
      top->Invalidate();
      DrainQueue();
      DrawAll();
      DrainQueue();
      break;
    case kEventLeftDown:
    case kEventOtherButton:
    case kEventLeftUp:
    case kEventMouseMove:
    case kEventMouseHover:
      if (mCapture.empty()) {
        RouteToPointer(*event);
      } else {
        RouteToCapture(*event);
      }
      break;
    case kEventMouseLeave:
      ForEachLive(mCapture, [](TWindow* w) { w->OnMouseLeave(); });
      DrainQueue();
      break;
    case kEventKeyDown:
    case kEventKeyUp:
    case kEventChar:
      (mFocus ? mFocus : top)->HandleEvent(*event, false);
      DrainQueue();
      break;
    case kEventVisibility:
      break;
    default:
      DrainQueue();
      if (TModalWindow* current = GetTopModal()) current->HandleEvent(*event, false);
      break;
  }
}

void TWindowManager::RouteToPointer(const TPlatformEvent& event) {
  TPlatform* platform = TPlatform::GetInstance();
  if (event.type == kEventMouseMove && platform && platform->GetMouseMode() == 1) return;
  TModalWindow* top = GetTopModal();
  TPoint point{event.x, event.y};
  top->ScreenToLocal(&point);
  TWindow* target = top->FindWindowAt(point, -1);
  TPoint local{event.x, event.y};
  target->ScreenToLocal(&local);
  TPlatformEvent forTarget = event;
  forTarget.x = local.x;
  forTarget.y = local.y;
  target->HandleEvent(forTarget, false);
  DrainQueue();
}

void TWindowManager::RouteToCapture(const TPlatformEvent& event) {
  TPlatform* platform = TPlatform::GetInstance();
  const int mouseMode = platform ? platform->GetMouseMode() : 0;
  ForEachLive(mCapture, [&](TWindow*& entry) {
    TWindow* window = entry;
    const TRect screen = window->GetScreenRect();
    if (mouseMode == 0 && !screen.Contains(event.x, event.y)) window->OnMouseLeave();
    TPlatformEvent forWindow = event;
    if (!(event.type == kEventMouseMove && mouseMode == 1)) {
      forWindow.x -= screen.left;
      forWindow.y -= screen.top;
    }
    // The leave handler may have deleted the window: its entry is null then.
    if (entry) window->HandleEvent(forWindow, false);
  });
}

// --- The frame step --------------------------------------------------------------------

void TWindowManager::DrawAll() {
  mModalPopped = false;
  if (mDrawingDisabled) return;
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  if (!platform->IsFullscreen() && !platform->IsFlipDone()) return;
  if (!mModalStack.empty()) {
    TWindowClearFlags clear(kClearCachedLayer, true);
    clear.Apply(mModalStack.front());
    mModalStack.front()->ForEachChild(&clear);
  }
  if (mDirty.empty() || mModalStack.empty()) return;
  if (mRoot) {
    for (TWindow* overlay : mOverlays) {
      const TRect area = overlay->GetScreenRect();
      mRoot->Invalidate(&area);
    }
  }
  if (TTaskList* tasks = platform->GetTaskList()) tasks->Run(kDrawPhase);
  if (TModalWindow* top = GetTopModal()) top->RunTasks(kDrawPhase);
  std::vector<TWindow*> dirty(mDirty.begin(), mDirty.end());
  mDirty.clear();
  ForEachLive(dirty, [](TWindow* w) { w->PropagateDirty(); });
  mDirty.clear();
  const bool keep = !mFullRedraw;
  if (!mRenderTarget) {
    if (platform->BeginFrame(keep)) {
      DrawModalStack(kDrawAll);
      DrawOverlays();
      platform->EndFrame(true);
    }
  } else {
    if (platform->SetRenderTarget(mRenderTarget)) {
      DrawModalStack(kDrawLayers);
      platform->PopRenderTarget();
    }
    if (platform->BeginFrame(keep)) {
      if (mRoot && mRoot->IsDirty()) mRoot->DrawTree(kDrawAll);
      DrawModalStack(kDrawUncached);
      DrawOverlays();
      platform->EndFrame(true);
    }
  }
  mFullRedraw = false;
}

void TWindowManager::DrawModalStack(int mode) {
  if (mModalPopped || mModalStack.empty()) return;
  TPlatform* platform = TPlatform::GetInstance();
  TDisplayHandler* handler = platform ? platform->GetDisplayHandler() : nullptr;
  if (!handler || !handler->IsDeviceValid()) return;
  if (mode == kDrawUncached || mTopModalOnly) {
    GetTopModal()->DrawTree(mode);
    return;
  }
  for (size_t i = 0; i < mModalStack.size(); ++i) {
    TModalWindow* window = mModalStack[i];
    if (mode == kDrawLayers && i + 1 == mModalStack.size()) continue;
    if (!handler->IsDeviceValid()) break;
    window->DrawTree(mode);
    if (mModalPopped) break;
  }
}

void TWindowManager::DrawOverlays() {
  ForEachLive(mOverlays, [](TWindow* overlay) {
    overlay->AddFlags(kWindowDirty);
    overlay->DrawTree(kDrawAll);
  });
}

uint32_t TWindowManager::GetMsUntilDue(uint32_t cap) {
  TModalWindow* top = GetTopModal();
  TTaskList* tasks = top ? top->GetTaskList() : nullptr;
  return tasks ? tasks->GetMsUntilDue(cap) : cap;
}
