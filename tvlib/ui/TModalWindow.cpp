// Modal windows: the task list, the focus child, close messages and Enter.
#include "tvlib/ui/TModalWindow.h"

#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowSpider.h"

namespace {

constexpr int kEnter = 13;

// Finds the visible default button at any depth; the one visited last wins.
class FindDefault : public TWindowSpider {
 public:
  bool Visit(TWindow* window) override {
    TButton* button = TButton::CastToButton(window);
    if (button && (button->GetOptions() & kButtonDefault) && button->IsVisible()) {
      mFound = button;
      return false;
    }
    window->ForEachChild(this);
    return true;
  }
  TButton* GetFound() const { return mFound; }

 private:
  TButton* mFound = nullptr;
};

}  // namespace

TModalWindow::TModalWindow() : mTasks(std::make_unique<TTaskList>()) {
  AddFlags(kWindowModal | kWindowFocusHolder);
}

TModalWindow::~TModalWindow() {
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->PostMessage(new TMessage(kMessageModalClosed, GetIdText()));
  }
  mTasks.reset();
}

TWindow* TModalWindow::Create() {
  return new TModalWindow;
}

TWindowClassId TModalWindow::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TModalWindow::Create);
}

bool TModalWindow::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TModalWindow::AddTask(TTask* task) {
  if (mTasks) mTasks->Add(task);
}

bool TModalWindow::RemoveTask(TTask* task) {
  return mTasks && mTasks->Remove(task);
}

void TModalWindow::DeleteAllTasks() {
  if (mTasks) mTasks->DeleteAll();
}

void TModalWindow::RunTasks(int phase) {
  if (mTasks) mTasks->Run(phase);
}

void TModalWindow::SetFocusChild(TWindow* child) {
  mFocusChild = child;
  TWindowManager* manager = TWindowManager::Get();
  if (manager && manager->GetFocus() == this && child) manager->SetFocus(child);
}

void TModalWindow::OnFocus(TWindow* /*previous*/) {
  TWindowManager* manager = TWindowManager::Get();
  if (mFocusChild && manager) manager->SetFocus(mFocusChild);
}

bool TModalWindow::OnMessage(TMessage* message) {
  if (message->mType != kMessageClose) return false;
  // Every close message stops here; only the one naming this window closes it.
  if (message->mName == GetIdText()) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal();
  }
  return true;
}

bool TModalWindow::OnChar(int character) {
  if (character != kEnter) return false;
  FindDefault finder;
  ForEachChild(&finder);
  if (finder.GetFound() && finder.GetFound()->Fire()) return true;
  auto* message = new TMessage(kMessageEnter, "");
  TWindowManager* manager = TWindowManager::Get();
  TWindow* from = manager && manager->GetFocus() ? manager->GetFocus() : this;
  from->SendMessage(message);
  return true;
}
