// The launcher that plays the game a cabinet carries: it unpacks the cabinet into a private
// folder, starts the game program there inside the control's window, waits for it to end, and
// removes the folder.
//
// In order: build the command line; make the folder, write the cabinet into it as
// "__game.cab" and unpack it; start the program when the control's window still exists (only
// the program's working folder is the game's folder; the host's stays as it was); ask for a
// repaint; look every 100 ms whether the game has ended; remove the folder. A game that has
// not ended 5 s after the control asked it to quit is sent SIGTERM, and SIGKILL 2 s later.
#pragma once

#include <sys/types.h>

#include <span>
#include <string>

#include "webcontrol/TLauncher.h"

class TGameLauncher final : public TLauncher {
 public:
  // `cabinet` stays valid for the launcher's life; `hostProgram` goes into " -host=".
  TGameLauncher(std::span<const unsigned char> cabinet, std::string hostProgram)
      : mCabinet(cabinet), mHostProgram(std::move(hostProgram)) {}

  void Run(TLaunchSite& site) override;

 private:
  // The folder with the game unpacked in it; empty when no folder could be made.
  std::string Unpack();
  // The game's process; -1 when it could not be started.
  pid_t Start(const std::string& folder, const std::string& commandLine);
  void WaitForGame(pid_t game, TLaunchSite& site);

  std::span<const unsigned char> mCabinet;
  std::string mHostProgram;
};
