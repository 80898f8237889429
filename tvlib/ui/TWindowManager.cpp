// The window manager's root window, window script and tick routing.
#include "tvlib/ui/TWindowManager.h"

#include "tvlib/core/TPlatform.h"

TWindowManager::TWindowManager() = default;
TWindowManager::~TWindowManager() = default;

void TWindowManager::SetRootWindow(TModalWindow* root) {
  mRoot.reset(root);
  if (mScript) mScript->ResetParents(mRoot.get());
  if (!mRoot) return;
  if (TPlatform* platform = TPlatform::GetInstance()) {
    int left, top, right, bottom;
    platform->GetViewport(&left, &top, &right, &bottom);
    if (right > left && bottom > top) mRoot->SetSize(right - left, bottom - top);
  }
  mRoot->Init();
}

void TWindowManager::HandleEvent(TPlatformEvent* event) {
  if (event->type == kEventTick && mRoot) mRoot->RunTasks(kTimerPhase);
}

void TWindowManager::AttachScript(TWindowScript* script) {
  mScript.reset(script);
  if (!mScript) return;
  mBindings.Bind(mScript->GetState(), "SetTopModalOnly", this, &TWindowManager::SetTopModalOnly);
  mScript->ResetParents(mRoot.get());
}

bool TWindowManager::SetLocalizeLabels(bool localize) {
  return mScript ? mScript->SetLocalizeLabels(localize) : false;
}

uint32_t TWindowManager::GetMsUntilDue(uint32_t cap) {
  TTaskList* tasks = mRoot ? mRoot->GetTaskList() : nullptr;
  return tasks ? tasks->GetMsUntilDue(cap) : cap;
}
