// The polling tasks of the hiscore screen and of its submit dialog: each runs its window's
// poll every 20 ms, counted from the end of the last one, in the task list of a modal window,
// so that it rests while another screen lies above.
#pragma once

#include "tvlib/core/TTask.h"

class THiscore;
class THiscoreSubmit;

inline constexpr uint32_t kHiscorePollMs = 20;

// Lives in the task list of the hiscore screen's modal window; when the window goes first,
// the task finishes at its next run.
class TUpdateHiscoreWindow : public TAnimTask {
 public:
  explicit TUpdateHiscoreWindow(THiscore* window) : mWindow(window) {}
  ~TUpdateHiscoreWindow() override;
  bool Animate() override;
  // The window is going.
  void Forget() { mWindow = nullptr; }

 private:
  THiscore* mWindow;
};

// Lives in the submit dialog's own task list; finishes once the submission has its result.
class TUpdateHiscoreSubmitWindow : public TAnimTask {
 public:
  explicit TUpdateHiscoreSubmitWindow(THiscoreSubmit* dialog) : mDialog(dialog) {}
  bool Animate() override;

 private:
  THiscoreSubmit* mDialog;
};
