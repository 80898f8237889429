// FestraVask: program entry.
#include <cstdio>

#include "tvlib/core/TVersion.h"

int main() {
  std::printf("%s %d.%d.%d.%d - a reception planning game. "
              "The engine is being built; the game cannot be played yet.\n",
              kProductName, kVersion[0], kVersion[1], kVersion[2], kVersion[3]);
  return 0;
}
