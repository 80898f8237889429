// Commands from a hosting portal ("-msn" or "-pq="): pause, resume, start and mute.
//
// The host sends WM_USER with a command code 1 to 10; only in portal mode are they obeyed.
// The game stays silent until the host has sent 7 (start), and while the host suspends it
// the pump only pumps messages and the platform clock stands still. Process-wide state,
// UI thread only.
#pragma once

#include <cstdint>

#include "tvlib/platform/x11/HostProtocol.h"  // the command codes (kPortalMenu ...)

void SetPortalMode();
bool IsPortalMode();
void HandlePortalCommand(uint32_t command);
void PortalPause();
void PortalResume();
// Applies the mute rule: heard only when started, not muted and not suspended.
void UpdatePortalMute();
// Sets the master volume the player chose. While a portal host keeps the game silent, the
// volume is kept for the moment the host lets the game be heard.
void ApplyMasterVolume(float volume);
bool IsPortalSuspended();
// Milliseconds of all finished suspensions in portal mode, else 0.
uint32_t GetPortalSuspendedTime();
// Back to the state of a fresh process (tests run many sequences in one process).
void ResetPortalState();
