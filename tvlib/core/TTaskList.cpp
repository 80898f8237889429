// Task passes with deferred removal and deletion.
#include "tvlib/core/TTaskList.h"

#include <algorithm>

TTaskList::~TTaskList() {
  if (mPass) {
    // Destroyed by one of its own tasks: the running pass destroys what the list owned once
    // that task returns, and touches the list no more.
    for (TTask* task : mTasks) {
      if (!Holds(mRemovals, task) || Holds(mDeletions, task)) mPass->orphans.push_back(task);
    }
    mPass->listDestroyed = true;
    return;
  }
  DeleteAll();
}

bool TTaskList::Holds(const std::vector<TTask*>& tasks, TTask* task) {
  return std::find(tasks.begin(), tasks.end(), task) != tasks.end();
}

bool TTaskList::Contains(TTask* task) const {
  return std::find(mTasks.begin(), mTasks.end(), task) != mTasks.end();
}

void TTaskList::Add(TTask* task) {
  mTasks.push_back(task);
}

bool TTaskList::Remove(TTask* task) {
  auto it = std::find(mTasks.begin(), mTasks.end(), task);
  if (it == mTasks.end()) return false;
  if (mPass) {
    mRemovals.push_back(task);
  } else {
    mTasks.erase(it);
  }
  return true;
}

void TTaskList::DeleteAll() {
  if (mPass) {
    for (TTask* task : mTasks) {
      if (Holds(mDeletions, task)) continue;  // asked twice in one pass
      mRemovals.push_back(task);
      mDeletions.push_back(task);
    }
    return;
  }
  for (TTask* task : mTasks) {
    if (!Holds(mRemovals, task)) delete task;
  }
  for (TTask* task : mDeletions) delete task;
  mTasks.clear();
  mRemovals.clear();
  mDeletions.clear();
}

void TTaskList::Run(int phase) {
  if (mPass) return;  // a nested pass over the same list would skip the deferred work
  TPass pass;
  mPass = &pass;
  for (auto it = mTasks.begin(); it != mTasks.end();) {
    TTask* task = *it;
    if ((!mRemovals.empty() && Holds(mRemovals, task)) || !task->IsReady(phase)) {
      ++it;
      continue;
    }
    bool goesOn = task->Run();
    if (pass.listDestroyed) {
      // `this` is gone; the finished task is among the orphans when the list owned it.
      if (!goesOn &&
          std::find(pass.orphans.begin(), pass.orphans.end(), task) == pass.orphans.end()) {
        pass.orphans.push_back(task);
      }
      for (TTask* orphan : pass.orphans) delete orphan;
      return;
    }
    // Taken after the run, so a task appended meanwhile is still reached in this pass.
    auto next = std::next(it);
    if (!goesOn) {
      mTasks.erase(it);
      mDeletions.erase(std::remove(mDeletions.begin(), mDeletions.end(), task), mDeletions.end());
      delete task;
    }
    it = next;
  }
  mPass = nullptr;
  FinishPass();
}

void TTaskList::FinishPass() {
  if (!mRemovals.empty()) {
    std::vector<TTask*> removals;
    removals.swap(mRemovals);
    for (TTask* task : removals) Remove(task);
  }
  if (!mDeletions.empty()) {
    std::vector<TTask*> deletions;
    deletions.swap(mDeletions);
    for (TTask* task : deletions) delete task;
  }
}
