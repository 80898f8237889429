// FestraVask: program entry.
#include <cstdio>

int main() {
  std::puts("FestraVask 1.0.0.48 - a reception planning game. "
            "The engine is being built; the game cannot be played yet.");
  return 0;
}
