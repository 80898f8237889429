// FestraVask: program entry. The framework runs the program; the game's main function is
// its part.
#include "game/shell/GameMain.h"
#include "tvlib/core/TApplication.h"

int main(int argc, char** argv) {
  TString commandLine = MakeCommandLine(argc, argv);
  return RunApplication(commandLine.c_str(), GameMain, false);
}
