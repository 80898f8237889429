// The launcher of a control library that carries the game: it plays the carried cabinet.
#include "webcontrol/CarriedCabinet.h"
#include "webcontrol/GameCommandLine.h"
#include "webcontrol/TGameLauncher.h"

std::unique_ptr<TLauncher> CreateLauncher() {
  return std::make_unique<TGameLauncher>(GetCarriedCabinet(), GetHostProgramPath());
}
