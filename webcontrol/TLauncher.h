// The launcher: the work the control does on a thread of its own once its window first
// exists: start the game carried in the library as a child of that window, wait for it to
// end, and clean up after it.
//
// The control starts the launcher once per control, on the first creation of its window, and
// owns the thread: when Run returns the control marks the launcher finished and repaints its
// window (which then shows "Sorry, the game cannot run." unless the game was started). The
// control's release asks the game to quit and waits for Run to return; a launcher ends a game
// that has not quit a while after that.
#pragma once

#include <memory>

#include "webcontrol/PageParams.h"

// What the launcher may use of its control, from the launcher thread only.
class TLaunchSite {
 public:
  // A copy of the page's parameters made when the launcher started.
  virtual const TPageParams& GetPageParams() const = 0;
  // The control's window, for the game's "-wnd=" switch.
  virtual unsigned long GetControlWindow() const = 0;
  // Whether the control's window still exists (the page may have closed it).
  virtual bool ControlWindowExists() = 0;
  // The game process was created: the window stops showing its loading text.
  virtual void SetGameStarted() = 0;
  // Asks the control's window to draw itself again.
  virtual void RequestRepaint() = 0;
  // The control is being released: it has asked the game to quit and waits for the launcher.
  virtual bool IsQuitting() const = 0;

 protected:
  ~TLaunchSite() = default;
};

class TLauncher {
 public:
  virtual ~TLauncher() = default;
  // Runs on the launcher thread; asks for a repaint once it has tried to start the game, and
  // returns when the game has ended (or could not start) and what it left is cleaned up.
  virtual void Run(TLaunchSite& site) = 0;
};

// The launcher the control library is built with (each library build links one).
std::unique_ptr<TLauncher> CreateLauncher();
