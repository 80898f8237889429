// How windows play sounds without the media library beside them: the window manager holds the
// program's sound effects for windows, which the composition root supplies (the engine's
// sound effects); without them windows are silent. A button looks its state sounds up once
// and plays them through this. UI thread only.
#pragma once

#include <memory>

#include "tvlib/core/TString.h"

// One sound effect, played once on each call.
class TUiSound {
 public:
  virtual ~TUiSound() = default;
  virtual void Play() = 0;
};

class TUiSounds {
 public:
  virtual ~TUiSounds() = default;
  // The sound effect of the file; null when it cannot be had.
  virtual std::shared_ptr<TUiSound> Get(const TString& fileName) = 0;
};
