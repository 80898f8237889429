// The task that calls a window's Animate on its schedule: made by TWindow::GetAnim and run by
// the task list of the window's modal window. It ends (and is destroyed by its list) once its
// window is gone or Animate answers false.
#pragma once

#include "tvlib/core/TTask.h"

class TWindow;

class TWindowAnim : public TAnimTask {
 public:
  explicit TWindowAnim(TWindow* window) : mWindow(window) {}
  ~TWindowAnim() override;
  bool Animate() override;

 private:
  friend class TWindow;
  TWindow* mWindow;
};
