// The control's dispatch interface (ITarvolenFestraVaskControl): each method by its dispatch
// id and name, and the portal command it posts to the game's window. The ids and codes are
// the format between the page, the control and the game: never renumber them.
#pragma once

#include <array>
#include <cstdint>

#include "tvlib/platform/x11/HostProtocol.h"

struct TControlMethod {
  int dispid;
  const char* name;
  bool posts;        // false: the method posts nothing
  uint32_t command;  // the kHostCommand wParam it posts
};

inline constexpr std::array<TControlMethod, 11> kControlMethods = {{
    {1, "GameContinue", true, kPortalResume6},
    {2, "GameMenu", true, kPortalMenu},
    {3, "MuteOn", true, kPortalMuteOn},
    {4, "MuteOff", true, kPortalMuteOff},
    {5, "PauseOn", true, kPortalPause},
    {6, "PauseOff", true, kPortalResume5},
    {7, "GameStart", true, kPortalStart},
    {8, "RestartGame", true, kPortalRestart},
    {9, "SessionStart", true, kPortalResume9},
    {10, "LoadGame", false, 0},
    {11, "CustomReturn", true, kPortalResume10},
}};

// The method with this id, or with this name (as the page spells it, without regard to
// case); null when there is none.
const TControlMethod* FindControlMethod(int dispid);
const TControlMethod* FindControlMethod(const char* name);
