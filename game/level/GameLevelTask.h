// The task that drives a level: every 20 ms it runs the level's tick and asks for the level
// window to be drawn again. It lives in the task list of the modal window the level was built
// in, so it rests while another modal window lies above, and never ends by itself.
#pragma once

#include "tvlib/core/TTask.h"

class TGameLevel;

class TUpdateGameLevelTask : public TAnimTask {
 public:
  explicit TUpdateGameLevelTask(TGameLevel* level);
  bool Animate() override;

 private:
  TGameLevel* mLevel;
};
