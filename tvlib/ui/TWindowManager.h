// The owner of the window tree and the modal stack; routes engine events.
//
// First cut: the root window, the drawing-disabled flag, the tick routing to the root's
// timed tasks and the window script, for which the root stands as the top modal window.
// Pointer and key routing, capture, focus, the modal stack, message queues, window types and
// the frame step come with the windows-and-text subsystem.
#pragma once

#include <memory>

#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowScript.h"

class TWindowManager {
 public:
  TWindowManager();
  ~TWindowManager();

  // Makes `root` (owned from now on) the root window, sized to the platform's screen, and
  // calls its Init.
  void SetRootWindow(TModalWindow* root);
  TModalWindow* GetRootWindow() { return mRoot.get(); }

  // Keeps `script` (owned from now on), binds "SetTopModalOnly" in it and makes the top
  // modal window its parent for new windows.
  void AttachScript(TWindowScript* script);
  TWindowScript* GetWindowScript() { return mScript.get(); }
  // Sets the window script's label-localisation flag; returns the old value (false, and
  // nothing set, without a script).
  bool SetLocalizeLabels(bool localize);
  // While set, only the top modal window is drawn.
  void SetTopModalOnly(bool topOnly) { mTopModalOnly = topOnly; }

  // Routes one event; event 2 is ignored, the tick runs the top window's timed tasks.
  void HandleEvent(TPlatformEvent* event);

  // While set, the frame step draws nothing and the display handler does not present.
  bool mDrawingDisabled = false;
  bool mTopModalOnly = false;

 private:
  // The script goes before the windows it may point to.
  std::unique_ptr<TModalWindow> mRoot;
  std::unique_ptr<TWindowScript> mScript;
  TLuaBindings mBindings;
};
