// The launcher of the host tests' control library: it starts the stand-in game.
#include "tests/webcontrol/TProgramLauncher.h"

std::unique_ptr<TLauncher> CreateLauncher() {
  return std::make_unique<TProgramLauncher>(FV_FAKE_GAME);
}
