// Unpacking, starting, waiting for and cleaning up after the carried game.
#include "webcontrol/TGameLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "webcontrol/CabinetUnpacker.h"
#include "webcontrol/ControlLog.h"
#include "webcontrol/GameCommandLine.h"
#include "webcontrol/GameFolder.h"

extern char** environ;

namespace {

constexpr char kCabinetFileName[] = "__game.cab";
constexpr auto kWaitStep = std::chrono::milliseconds(100);
// How long a game may take to quit once asked, and then to end once sent SIGTERM.
constexpr auto kQuitGrace = std::chrono::seconds(5);
constexpr auto kTerminateGrace = std::chrono::seconds(2);

// Writes the cabinet whole into the folder as "__game.cab"; nothing when it is empty.
void WriteCabinetFile(const std::string& folder, std::span<const unsigned char> cabinet) {
  if (cabinet.empty()) return;
  std::string path = folder + "/" + kCabinetFileName;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    ControlLog("WriteCabinetFile: %s: %s", path.c_str(), std::strerror(errno));
    return;
  }
  size_t done = 0;
  while (done < cabinet.size()) {
    ssize_t wrote = write(fd, cabinet.data() + done, cabinet.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      ControlLog("WriteCabinetFile: %s: %s", path.c_str(), std::strerror(errno));
      break;
    }
    done += static_cast<size_t>(wrote);
  }
  close(fd);
}

}  // namespace

void TGameLauncher::Run(TLaunchSite& site) {
  std::string commandLine =
      BuildGameCommandLine(site.GetPageParams(), site.GetControlWindow(), mHostProgram);
  std::string folder = Unpack();
  pid_t game = -1;
  if (!folder.empty() && site.ControlWindowExists()) {
    game = Start(folder, commandLine);
    if (game > 0) site.SetGameStarted();
  }
  site.RequestRepaint();
  WaitForGame(game, site);
  if (!folder.empty()) RemoveGameFolder(folder);
}

std::string TGameLauncher::Unpack() {
  std::string folder = MakeGameFolder();
  if (folder.empty()) return folder;
  WriteCabinetFile(folder, mCabinet);
  if (!UnpackCabinet(mCabinet.data(), mCabinet.size(), folder))
    ControlLog("TGameLauncher::Unpack: the game was not unpacked whole");
  // Cabinets keep no permissions: the program is made executable here.
  std::string program = folder + "/" + kGameProgramName;
  struct stat info;
  if (lstat(program.c_str(), &info) == 0 && S_ISREG(info.st_mode))
    chmod(program.c_str(), S_IRWXU | S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH);
  return folder;
}

pid_t TGameLauncher::Start(const std::string& folder, const std::string& commandLine) {
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::string program = folder + "/" + kGameProgramName;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);  // inherits no handles
  // The host's signal mask and ignored signals are its own, not the game's.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t game = -1;
  int error = posix_spawn(&game, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    ControlLog("TGameLauncher::Start: %s: %s", program.c_str(), std::strerror(error));
    return -1;
  }
  return game;
}

void TGameLauncher::WaitForGame(pid_t game, TLaunchSite& site) {
  using TClock = std::chrono::steady_clock;
  TClock::time_point quitAskedAt{};
  bool terminated = false;
  bool killed = false;
  for (;;) {
    std::this_thread::sleep_for(kWaitStep);
    if (game <= 0) return;
    int status = 0;
    pid_t ended = waitpid(game, &status, WNOHANG);
    if (ended == game || (ended < 0 && errno != EINTR)) return;
    if (!site.IsQuitting()) continue;
    TClock::time_point now = TClock::now();
    if (quitAskedAt == TClock::time_point{}) quitAskedAt = now;
    if (!terminated && now - quitAskedAt >= kQuitGrace) {
      ControlLog("TGameLauncher::WaitForGame: the game has not quit: ending it");
      kill(game, SIGTERM);
      terminated = true;
    } else if (terminated && !killed && now - quitAskedAt >= kQuitGrace + kTerminateGrace) {
      kill(game, SIGKILL);
      killed = true;
    }
  }
}
