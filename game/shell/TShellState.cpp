// The game shell's process-wide state.
#include "game/shell/TShellState.h"

#include <cstring>

bool TShellState::HasSwitch(const char* text) const {
  return std::strstr(commandLine.c_str(), text) != nullptr;
}

TShellState& GetShellState() {
  static TShellState state;
  return state;
}
