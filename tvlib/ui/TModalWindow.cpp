// The modal window's task list.
#include "tvlib/ui/TModalWindow.h"

void* TModalWindow::ClassId() {
  return reinterpret_cast<void*>(&TModalWindow::ClassId);
}

void TModalWindow::CreateTaskList() {
  if (!mTasks) mTasks = std::make_unique<TTaskList>();
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
