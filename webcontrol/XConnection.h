// The control's X connections (its window's, and its launcher's).
//
// Each is opened with the control's X error handler in place: an error on one of them (a
// post to a game window that has gone, a question about a window the page has closed) is
// dropped silently, as posting to a destroyed window is on Windows, instead of ending the
// host's process. X error handlers are process-wide, so the handler passes errors of other
// connections on to the handler it replaced; it is installed while any control connection is
// open and put back when the last one closes (unless the host has replaced it since).
#pragma once

struct _XDisplay;

// Null when the display cannot be opened (`name` null: $DISPLAY).
_XDisplay* OpenControlConnection(const char* name);
void CloseControlConnection(_XDisplay* display);
