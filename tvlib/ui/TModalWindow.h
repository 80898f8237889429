// A window that can be pushed on the window manager's modal stack, with its own task list.
//
// First cut: the task-list operations the platform and the tasks use; modality, message
// queues and the frame step come with the windows-and-text subsystem.
#pragma once

#include <memory>

#include "tvlib/core/TTaskList.h"
#include "tvlib/ui/TWindow.h"

class TModalWindow : public TWindow {
 public:
  // The class identifier: this function's own address.
  static void* ClassId();

  // The window's task list, null while it has none.
  TTaskList* GetTaskList() { return mTasks.get(); }
  // Gives the window a task list when it has none yet.
  void CreateTaskList();
  // The task operations do nothing (Remove answers false) while there is no list.
  void AddTask(TTask* task);
  bool RemoveTask(TTask* task);
  void DeleteAllTasks();
  // phase: kTimerPhase or kDrawPhase.
  void RunTasks(int phase);

 private:
  std::unique_ptr<TTaskList> mTasks;
};
