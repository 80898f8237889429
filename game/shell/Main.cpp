// FestraVask: program entry. The framework runs the program; the game's main function is
// its part.
#include "game/shell/GameMain.h"
#include "game/shell/ProgramIcon.h"
#include "tvlib/core/app/TAppPlatform.h"
#include "tvlib/core/app/TApplication.h"

int main(int argc, char** argv) {
  TPlatform::SetProgramIcon(kProgramIcon, kProgramIconSize);
  TString commandLine = MakeCommandLine(argc, argv);
  return RunApplication(commandLine.c_str(), GameMain, false);
}
