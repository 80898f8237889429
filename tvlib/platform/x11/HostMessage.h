// The channel between the game and a host window (the launcher control, or a test host).
//
// The protocol (atom, message numbers, fields, script chunks) is HostProtocol.h, which the
// launcher control shares; these are the engine's Xlib calls over it. Posting is
// asynchronous; a synchronous reply does not exist.
#pragma once

#include "tvlib/platform/window/WindowMessages.h"
#include "tvlib/platform/x11/HostProtocol.h"

// Xlib's types, declared here so that Xlib's macros (None, Bool, Status ...) stay out of
// every file that includes this one.
struct _XDisplay;
union _XEvent;
using TXDisplay = _XDisplay;
using TXWindow = unsigned long;
using TXAtom = unsigned long;

static_assert(kHostCommand == WM_USER && kHostForward == WM_USER + 2 && kHostQuit == WM_QUIT);

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
