// The interface every window backend implements: the one native window of the program,
// its input, the mouse capture, the cursor and the clipboard.
//
// A backend only moves events: it reports native input to TNativeWindow's Input* calls
// (during Poll, on the UI thread) and carries out the window operations below. The shared
// work (message numbers, key bits, character synthesis, hover, leave and click-to-activate
// emulation) is done once, in TNativeWindow. Backends, one folder each: "sdl" (SDL2, for
// players; tvlib/platform/sdl) and "headless" (a scriptable fake for tests;
// tvlib/platform/headless). The composition root's backend list picks one. The presenter,
// the system pointer and the message boxes come from the chosen backend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TNativeWindow;
namespace sd {
class TPresenter;
}

struct TWindowDesc {
  std::string title;
  int width = 0;
  int height = 0;
  uint64_t hostWindow = 0;  // X window id of a host to live inside; 0 for a desktop window
  // The program's icon: iconSize x iconSize packed ARGB pixels, rows top to bottom; none
  // when null.
  const uint32_t* icon = nullptr;
  int iconSize = 0;
};

class TWindowBackend {
 public:
  virtual ~TWindowBackend() = default;
  virtual const char* GetName() const = 0;

  // Creates the window, hidden; answers false when it cannot be made.
  virtual bool CreateWindow(const TWindowDesc& desc) = 0;
  virtual void DestroyWindow() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void ShowWindow(bool shown) = 0;
  // Shows the window normally (restoring it when minimised), brings it to the front and
  // gives it the focus when another window has it: the full-screen keep-on-top rule, and a
  // later instance's request.
  virtual void RaiseWindow() = 0;
  // The native id of the program's own window (an X window id); 0 while there is none.
  // Read it after the display's renderer exists: making the renderer can recreate the window.
  virtual uint64_t GetWindowId() = 0;
  // Whether a host window id names an existing window, and its client size.
  virtual bool IsHostWindow(uint64_t id) = 0;
  virtual bool GetHostClientSize(uint64_t id, int* width, int* height) = 0;

  virtual void SetMouseCapture(bool on) = 0;
  virtual void SetInputFocus() = 0;
  virtual void ShowSystemCursor(bool shown) = 0;
  // kModShift, kModCtrl and kModAlt bits of the keys held now.
  virtual uint32_t GetModifiers() = 0;
  // The pointer's position in the window's client area.
  virtual void GetCursorPosition(int* x, int* y) = 0;

  virtual bool SetClipboardText(const std::string& text) = 0;
  // False when the clipboard holds no text.
  virtual bool GetClipboardText(std::string* text) = 0;

  // Reports every native event waiting to the window's Input* calls.
  virtual void Poll(TNativeWindow& window) = 0;
  // Waits at most `ms` milliseconds for native input.
  virtual void Wait(uint32_t ms) = 0;
  // Sends a message to the host window, without waiting for an answer.
  virtual void SendToHost(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // The presenter that shows frames in this backend's window; a headless one when the
  // backend cannot draw into it (or has no window yet).
  virtual std::unique_ptr<sd::TPresenter> CreatePresenter() = 0;
  // The system pointer in desktop pixels; any thread. False when it cannot be read.
  virtual bool ReadSystemPointer(int* x, int* y) = 0;
  // For the cursor thread: blocks until the pointer may have moved over the window (kMoved),
  // until `timeoutMs` milliseconds pass (-1: no limit) or WakePointerWait is called (kQuiet).
  // kCannotTell, at once, when the backend has no pointer events to wait on: the caller then
  // reads the pointer at a pace of its own.
  enum class TPointerWait { kMoved, kQuiet, kCannotTell };
  virtual TPointerWait WaitForPointer(int /*timeoutMs*/) { return TPointerWait::kCannotTell; }
  // Ends a WaitForPointer in progress (or the next one); any thread.
  virtual void WakePointerWait() {}
  // Shows a modal message box and waits for it; false when the backend has none.
  virtual bool ShowMessageBox(const char* text, const char* caption, uint32_t flags) = 0;
};

// One entry of a backend list: the name TV_WINDOW_BACKEND asks for, and its maker (null
// when the backend cannot start here).
struct TWindowBackendEntry {
  const char* name;
  std::unique_ptr<TWindowBackend> (*create)();
};
