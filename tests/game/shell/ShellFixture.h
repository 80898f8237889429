// A headless platform with a window script, a recording sound manager, private user and
// program folders and a fake clock, for the shell's services.
#pragma once

#include <filesystem>

#include "tests/app/PlatformFixture.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class ShellTest : public PlatformTest {
 protected:
  ShellTest() {
    std::filesystem::create_directories(mDir / "user");
    SetLogDirectory(mDir.Path().c_str());
    SetProgramFolder(mDir.Path().c_str());
    SetDataFolders((mDir / "user").c_str(), (mDir / "user").c_str());
    ClearFileIndex();
    MountFileSystem();
    mData.settings.SetSetting("installkey", "/games/festravask");
    mData.windowManager->AttachScript(new TWindowScript());
  }
  ~ShellTest() override { mData.windowManager.reset(); }

  TWindowScript& Script() { return *mData.windowManager->GetWindowScript(); }
  // Runs `code` in the window script and answers the global "result" as text.
  TString Lua(const char* code) {
    Script().DoLuaString(code);
    return Script().GetGlobalString("result");
  }

  TTempDir mDir;
};
