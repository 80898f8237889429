// The owner of the window tree and the modal stack; routes engine events.
//
// First cut: the root window, the drawing-disabled flag and the tick routing to the root's
// timed tasks. Pointer and key routing, capture, focus, the modal stack, message queues and
// the frame step come with the windows-and-text subsystem.
#pragma once

#include <memory>

#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/ui/TModalWindow.h"

class TWindowManager {
public:
  TWindowManager();
  ~TWindowManager();

  // Makes `root` (owned from now on) the root window, sized to the platform's screen, and
  // calls its Init.
  void SetRootWindow(TModalWindow* root);
  TModalWindow* GetRootWindow() { return mRoot.get(); }

  // Routes one event; event 2 is ignored, the tick runs the top window's timed tasks.
  void HandleEvent(TPlatformEvent* event);

  // While set, the frame step draws nothing and the display handler does not present.
  bool mDrawingDisabled = false;

private:
  std::unique_ptr<TModalWindow> mRoot;
};
