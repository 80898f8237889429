// The pause menu (window type "PauseMenu"), opened by a paused level over itself: it marks
// the player as being in the pause menu ("inPauseMenu" = 1; the main menu and the venue map
// set it back to 0) and shows the mute box ("mutebox") as the player's "soundoff" stands. Its
// script resumes or ends the level through the level's own script function; the script
// function DeliverMsg hands the resume message (type kResumeMessage) to the top modal
// window. UI thread only.
#pragma once

#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

// The pause menu's resume message.
inline constexpr int kResumeMessage = 1700;

class TPauseMenu : public TWindow {
 public:
  // Marks the player and binds DeliverMsg.
  TPauseMenu();
  ~TPauseMenu() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  void PostCreate() override;

  // --- Script function ----------------------------------------------------------------
  // The argument is not used.
  void DeliverMsg(int unused);

 private:
  // The script function's registration (PauseMenuBind.cpp).
  void BindScriptFunctions();

  TLuaBindings mBindings;
};
