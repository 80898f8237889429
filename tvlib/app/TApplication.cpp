// Start-up, the run of the game's main function, and shutdown; the platform's setup.
#include "tvlib/app/TApplication.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TComputerId.h"
#include "tvlib/core/TDataFolders.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/core/TVersion.h"
#include "tvlib/platform/process/Harness.h"
#include "tvlib/platform/process/ProgramPath.h"
#include "tvlib/platform/process/Termination.h"
#include "tvlib/platform/window/WindowMessages.h"
#include "tvlib/platform/x11/HostMessage.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// The switches start-up looks for, anywhere in the command line.
struct TSwitches {
  bool hostWindow, cheat, multiple, screensaver;
};

TSwitches FindSwitches(const TString& commandLine) {
  return {commandLine.Find("-wnd=") >= 0, commandLine.Find("--cheat") >= 0,
          commandLine.Find("--multiple") >= 0, commandLine.Find("screensaver") >= 0};
}

TString ProgramFolderOf(const TString& programPath) {
  std::string path = programPath.c_str();
  size_t slash = path.rfind('/');
  return slash != std::string::npos ? TString(path.substr(0, slash + 1).c_str()) : TString("./");
}

TString CurrentFolder() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? GetFullPath(buffer) : TString();
}

TString WithoutTrailingSlash(const TString& folder) {
  int length = folder.Length();
  return length > 1 && folder.GetAt(length - 1) == '/' ? folder.Substr(0, length - 1) : folder;
}

// The block's paths, the working directory and the single-instance claim. False when
// another instance runs (it has been asked to raise its window).
bool BuildPlatformData(TPlatformData* data, const char* commandLine, bool allowSeveral) {
  data->commandLine = commandLine;
  data->programPath = GetProgramPath();
  data->programFolder = ProgramFolderOf(data->programPath);
  data->startupFolder = CurrentFolder();
  // Relative names (settings, "final.txt", the assets) are read beside the program.
  if (chdir(data->programFolder.c_str()) != 0) {
    DebugLog("BuildPlatformData: cannot enter the program folder %s", data->programFolder.c_str());
  }
  if (!allowSeveral) {
    TString instanceName = MakeInstanceName(data->programPath);
    if (data->singleInstance.Claim(instanceName) == TSingleInstance::TClaim::kAlreadyRunning) {
      return false;
    }
  }
  data->assetsFolder = data->programFolder + "assets/";
  return true;
}

// Reads "-wnd=" and the host's window id in hexadecimal after it (blanks and a "0x" may lead)
// into `id`; answers why that names no host window, or null when it does.
const char* ReadHostWindow(const TString& commandLine, uint64_t* id) {
  const char* text = commandLine.c_str() + commandLine.Find("-wnd=") + 5;
  while (*text == ' ' || *text == '\t') text++;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && std::isxdigit(text[2])) text += 2;
  *id = 0;
  if (!std::isxdigit(static_cast<unsigned char>(*text))) return "not a hexadecimal window id";
  for (; std::isxdigit(static_cast<unsigned char>(*text)); text++) {
    const int digit = std::isdigit(*text) ? *text - '0' : std::tolower(*text) - 'a' + 10;
    *id = *id * 16 + static_cast<uint64_t>(digit);
    if (*id > 0xffffffffu) return "too large for a window id";
  }
  if (*id == 0) return "window 0 is no window";
  if (!IsHostWindowOnDisplay(*id)) return "no such window on the display";
  return nullptr;
}

}  // namespace

TString MakeCommandLine(int argc, char** argv) {
  TString line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += " ";
    line += argv[i];
  }
  return line;
}

void TAppPlatform::Setup() {
  mData->userFolder = mData->programFolder;
  mData->commonFolder = mData->programFolder;
  mData->versionText =
      TString::Format("%d.%d.%d.%d", kVersion[0], kVersion[1], kVersion[2], kVersion[3]);
  // Embedded without a portal host, the game keeps its files beside the program.
  if (!mData->embedded || mData->commandLine.Find("-pq=") >= 0) {
    MakeAppDataFolder(false, &mData->userFolder, kProductName);
    if (!MakeAppDataFolder(true, &mData->commonFolder, kProductName)) {
      mData->commonFolder = mData->userFolder;
    }
  }
  SetSetting("buildtag", kInternalName);
  mData->userFolder = WithoutTrailingSlash(mData->userFolder);
  mData->commonFolder = WithoutTrailingSlash(mData->commonFolder);
  if (!mData->embedded) SetLogDirectory(mData->userFolder.c_str());
  mData->windowManager->AttachScript(new TWindowScript());
  SetProgramFolder(mData->programFolder);
  SetDataFolders(mData->userFolder, mData->commonFolder);
  MountFileSystem();
  if (mData->stringTable->Load("strings.xml")) mData->windowManager->SetLocalizeLabels(true);
  DebugLog("%s, version %s.", kProductName, mData->versionText.c_str());
  StartCursorThread();
  SetSetting("computerid", GetComputerId());
}

int RunApplication(const char* commandLine, TGameMain gameMain, bool allowSeveral) {
  TString programFolder = ProgramFolderOf(GetProgramPath());
  uintptr_t harnessWindow = LoadTestHarness(programFolder, &commandLine);
  TString line = commandLine;
  TSwitches switches = FindSwitches(line);
  if (switches.hostWindow || switches.screensaver || switches.multiple) allowSeveral = true;
  TvSrand((ClockMilliseconds() * 8627u) % 104729u);

  CatchTerminationSignals();
  auto data = std::make_unique<TPlatformData>();
  if (!BuildPlatformData(data.get(), commandLine, allowSeveral)) return 0;
  if (switches.screensaver) data->screensaver = true;
  if (switches.hostWindow) {
    data->embedded = true;
    if (const char* problem = ReadHostWindow(line, &data->hostWindow)) {
      std::fprintf(stderr, "%s: bad -wnd= value: %s\n", kProductName, problem);
      return kExitStartupFailed;
    }
  }
  if (line.Find("-msn") >= 0) SetPortalMode();
  if (line.Find("--axtest") >= 0) data->harnessTest = true;

  auto platform = std::make_unique<TAppPlatform>(data.get());
  platform->Setup();
  platform->CreateMainWindow(nullptr);
  if (!data->window) {
    platform->Shutdown();
    return kExitStartupFailed;
  }
  if (data->harnessTest) data->embedded = true;  // its window is its own host
  platform->StartSound();
  platform->CreateDisplayHandler();
  // The harness layout's host is the window itself; its id is read only now that the
  // renderer exists, since making the renderer can recreate the window.
  if (data->harnessTest) data->hostWindow = data->window->GetBackend().GetWindowId();
  // A window inside a host is visible from its creation; its X window may only move into
  // the host once the display handler has made the renderer, which can recreate it.
  if (data->hostWindow != 0) data->window->GetBackend().ShowWindow(true);

  platform->SetSetting("installkey", data->programFolder);
  platform->SetSetting("startupdir", data->startupFolder);
  if (switches.cheat) data->settings.SetCheatCode(line);
  data->settings.LoadSettingsDocument("settings.xml");
  data->settings.ParseOptions(line);
  if (line.Find("-pq=") >= 0) SetPortalMode();

  // Start-up is over: from here a termination signal waits for the event pump.
  DeferTerminationSignals();
  gameMain(platform.get(), commandLine);

  if (harnessWindow != 0) PostHostMessageOnDisplay(harnessWindow, {kHostQuit, 0, 0});
  platform->Shutdown();
  return 0;
}
