// The thread the control runs its launcher on, and the site the launcher sees.
//
// The launcher gets a copy of the page's parameters taken at the start (the page thread may
// load parameters again meanwhile) and an X connection of the thread's own for its questions
// about the control's window and its repaint requests. The flags it shares with the control's
// thread are atomic.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "webcontrol/PageParams.h"
#include "webcontrol/TLauncher.h"

struct _XDisplay;
class TControlWindow;

// The launcher's progress, written by the launcher thread, read by the control's thread.
struct TLaunchFlags {
  std::atomic<bool> gameStarted{false};
  std::atomic<bool> finished{false};
  // Written by the control's thread when its release asks the game to quit.
  std::atomic<bool> quitting{false};
};

class TLaunchThread final : private TLaunchSite {
 public:
  // Starts `launcher` on a new thread for the control's `window`.
  TLaunchThread(TLauncher& launcher, const TPageParams& params, const TControlWindow& window,
                TLaunchFlags& flags);
  // Waits for the launcher to return.
  ~TLaunchThread();
  TLaunchThread(const TLaunchThread&) = delete;
  TLaunchThread& operator=(const TLaunchThread&) = delete;

 private:
  void Main();

  const TPageParams& GetPageParams() const override { return mParams; }
  unsigned long GetControlWindow() const override;
  bool ControlWindowExists() override;
  void SetGameStarted() override;
  void RequestRepaint() override;
  bool IsQuitting() const override { return mFlags.quitting; }

  TLauncher& mLauncher;
  const TPageParams mParams;
  const TControlWindow& mWindow;
  const std::string mDisplayName;
  TLaunchFlags& mFlags;
  _XDisplay* mDisplay = nullptr;  // the launcher thread's own connection
  std::thread mThread;
};
