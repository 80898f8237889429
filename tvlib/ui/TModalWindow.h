// A window that can stand on the window manager's modal stack: every screen and dialog is
// one. It stops the bubbling of messages, owns the task list of its screen's timed work,
// remembers which descendant takes the focus with it, swallows every close message (popping
// itself when the message names it) and on Enter presses its visible default button, sending
// a type-2 message unless that closed the window. Its destruction
// posts a type-6 message named with its id text.
#pragma once

#include <memory>

#include "tvlib/core/TTaskList.h"
#include "tvlib/ui/TWindow.h"

class TModalWindow : public TWindow {
 public:
  TModalWindow();
  ~TModalWindow() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  TTaskList* GetTaskList() { return mTasks.get(); }
  void AddTask(TTask* task);
  bool RemoveTask(TTask* task);
  void DeleteAllTasks();
  // phase: kTimerPhase or kDrawPhase.
  void RunTasks(int phase);

  // The descendant that takes the focus when this window gets it; when this window holds the
  // focus now, the focus moves to the new child at once.
  void SetFocusChild(TWindow* child);
  TWindow* GetFocusChild() const { return mFocusChild; }

  bool OnMessage(TMessage* message) override;
  bool OnChar(int character) override;
  void OnFocus(TWindow* previous) override;

 private:
  std::unique_ptr<TTaskList> mTasks;
  TWindow* mFocusChild = nullptr;
};
