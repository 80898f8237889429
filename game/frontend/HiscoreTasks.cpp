// The hiscore screens' polling tasks.
#include "game/frontend/HiscoreTasks.h"

#include "game/frontend/THiscore.h"
#include "game/frontend/THiscoreSubmit.h"

TUpdateHiscoreWindow::~TUpdateHiscoreWindow() {
  if (mWindow) mWindow->mPollTask = nullptr;
}

bool TUpdateHiscoreWindow::Animate() {
  if (!mWindow) return false;
  mWindow->Poll();
  SetPeriod(kHiscorePollMs, false, true, false);
  return true;
}

bool TUpdateHiscoreSubmitWindow::Animate() {
  if (!mDialog->Poll()) return false;
  SetPeriod(kHiscorePollMs, false, true, false);
  return true;
}
