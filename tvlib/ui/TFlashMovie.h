// The movie window: a movie played over the whole game window while the game's own frames are
// not drawn. This platform has no player for the movie format, so a movie never starts:
// Start fails the way a missing player does (false, nothing changed, one log line per run of
// the program), IsPlaying answers false and Close has nothing to undo. Scripts then show
// their still images instead (DisplaySplash). UI thread only.
#pragma once

#include "tvlib/core/TString.h"

class TFlashMovie {
 public:
  explicit TFlashMovie(const TString& file);
  TFlashMovie(const TFlashMovie&) = delete;
  TFlashMovie& operator=(const TFlashMovie&) = delete;

  // Starts the movie (looping when asked); false when it cannot play. Drawing stays enabled.
  bool Start(bool loop);
  bool IsPlaying() const { return false; }
  // Ends the movie; with no movie ever started there is nothing to undo.
  void Close() {}

 private:
  TString mFile;
};
