// The movie window without a movie player.
#include "tvlib/ui/TFlashMovie.h"

#include "tvlib/core/DebugLog.h"

TFlashMovie::TFlashMovie(const TString& file) : mFile(file) {}

bool TFlashMovie::Start(bool /*loop*/) {
  // The player's entry points are looked up once per run; here there are none to find.
  static bool logged = false;
  if (!logged) {
    logged = true;
    DebugLog("TFlashMovie::Start: movie playback not available; %s not played", mFile.c_str());
  }
  return false;
}
