// FestraVask: program entry. The framework runs the program; the game's main function is
// its part.
#include "game/main/GameMain.h"
#include "game/main/ProgramIcon.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TApplication.h"

int main(int argc, char** argv) {
  TPlatform::SetProgramIcon(kProgramIcon, kProgramIconSize);
  TString commandLine = MakeCommandLine(argc, argv);
  return RunApplication(commandLine.c_str(), GameMain, false);
}
