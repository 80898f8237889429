// The channel between the game and a host window (the launcher control, or a test host).
//
// Windows-style messages travel as X11 ClientMessage events of one atom, format 32:
// l[0] the message number (WM_USER 1024, WM_USER + 2 1026, WM_QUIT 18), l[1] wParam,
// l[2] lParam. The game and the control both use this header, so the two sides cannot
// disagree on the packing. Posting is asynchronous; a synchronous reply does not exist.
#pragma once

#include <cstdint>

#include "tvlib/platform/window/WindowMessages.h"

// Xlib's types, declared here so that Xlib's macros (None, Bool, Status ...) stay out of
// every file that includes this one.
struct _XDisplay;
union _XEvent;
using TXDisplay = _XDisplay;
using TXWindow = unsigned long;
using TXAtom = unsigned long;

inline constexpr char kHostMessageAtomName[] = "_TARVOLEN_HOST_MESSAGE";

// The channel's message numbers. From the host: a portal command (wParam); to the host: the
// full-screen report (wParam 1 or 0).
inline constexpr uint32_t kHostCommand = WM_USER;
// Sent to the game, passed on to the host as it is.
inline constexpr uint32_t kHostForward = WM_USER + 2;
// From the host: end the program.
inline constexpr uint32_t kHostQuit = WM_QUIT;

struct THostMessage {
  uint32_t message = 0;
  long wParam = 0;
  long lParam = 0;
};

// The channel's atom on a connection (interned on first use).
TXAtom GetHostMessageAtom(TXDisplay* display);

// Sends the message to the window. Answers false, silently, when the window is gone or
// the event could not be sent (as posting to a destroyed window is on Windows).
bool PostHostMessage(TXDisplay* display, TXWindow target, const THostMessage& message);

// True, with the message filled in, when the event is a message of this channel.
bool ReadHostMessage(TXDisplay* display, const _XEvent& event, THostMessage* message);

// Whether the id names an existing window, asked under an error trap.
bool IsHostWindow(TXDisplay* display, TXWindow window);

// The same two questions on a connection of their own to the default display, for callers
// that hold none (start-up, before the window exists; the end of a test run). Without a
// display no window exists and nothing is posted.
bool IsHostWindowOnDisplay(TXWindow window);
bool PostHostMessageOnDisplay(TXWindow target, const THostMessage& message);
