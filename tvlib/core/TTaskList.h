// A list of tasks run in passes (see TTask.h).
//
// A task may add, remove or delete tasks of the list that is running it, delete them all,
// or even destroy the list itself: changes made during a pass are deferred to its end, so a
// pass never touches a destroyed task. Finished and deleted tasks are destroyed through
// their virtual destructor; a task taken out with Remove is not. UI thread only.
#pragma once

#include <list>
#include <vector>

#include "tvlib/core/TTask.h"

class TTaskList {
 public:
  TTaskList() = default;
  ~TTaskList();
  TTaskList(const TTaskList&) = delete;
  TTaskList& operator=(const TTaskList&) = delete;

  // Appends; a task added during a pass is reached in that same pass.
  void Add(TTask* task);
  // Takes a task out without destroying it (at the pass end when inside a pass); false when
  // the task is not in the list.
  bool Remove(TTask* task);
  // Destroys every task (at the pass end when inside a pass).
  void DeleteAll();
  // One pass over the tasks ready in `phase`.
  void Run(int phase);

  bool Contains(TTask* task) const;
  int GetCount() const { return static_cast<int>(mTasks.size()); }

 private:
  // What a running pass must know when the list is destroyed under it.
  struct TPass {
    bool listDestroyed = false;
    std::vector<TTask*> orphans;  // tasks to destroy when the pass unwinds
  };

  static bool Holds(const std::vector<TTask*>& tasks, TTask* task);
  void FinishPass();

  std::list<TTask*> mTasks;
  std::vector<TTask*> mRemovals;
  std::vector<TTask*> mDeletions;
  TPass* mPass = nullptr;
};
