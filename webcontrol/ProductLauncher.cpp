// The launcher of the library players install, which starts the game the library carries.
// This build of the library carries no game: its launcher ends at once, and the control then
// shows that the game cannot run.
#include "webcontrol/ControlLog.h"
#include "webcontrol/TLauncher.h"

namespace {

class TCarriedGameLauncher final : public TLauncher {
 public:
  void Run(TLaunchSite& /*site*/) override {
    ControlLog("TCarriedGameLauncher::Run: this library carries no game");
  }
};

}  // namespace

std::unique_ptr<TLauncher> CreateLauncher() {
  return std::make_unique<TCarriedGameLauncher>();
}
