// The program's one native window and its message layer, standing in for USER32.
//
// Messages have the numbers of WindowMessages.h. Messages the system would *send* (size,
// activation, close, capture change, host commands) call the window procedure at once;
// the others are *posted* to a queue that the engine's pump reads with PeekMessage and
// hands back through TranslateMessage and DispatchMessage. On top of the backend's raw
// input this layer emulates what the native systems lack: character messages for the
// control keys, hover (the pointer resting kHoverTimeMs within kHoverSlopPx), leave
// tracking, the click that activates the window, and focus as application activation.
// UI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "tvlib/platform/window/TWindowBackend.h"
#include "tvlib/platform/window/WindowMessages.h"

class TNativeWindow;
using TWindowProc = intptr_t (*)(TNativeWindow* window, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam);

struct TWindowMessage {
  TNativeWindow* window = nullptr;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  uint32_t modifiers = 0;  // kMod* bits of the keys held when the message was made
};

// lParam of WM_WINDOWPOSCHANGED points at one of these.
struct TWindowPos {
  int x = 0, y = 0, cx = 0, cy = 0;
  uint32_t flags = 0;
};

// A press this soon after the window gained the focus is taken as the activating click.
inline constexpr uint32_t kActivationClickMs = 100;

class TNativeWindow {
 public:
  TNativeWindow(std::unique_ptr<TWindowBackend> backend, TWindowProc proc);
  ~TNativeWindow();
  TNativeWindow(const TNativeWindow&) = delete;
  TNativeWindow& operator=(const TNativeWindow&) = delete;

  TWindowBackend& GetBackend() { return *mBackend; }
  bool Create(const TWindowDesc& desc);
  // Sends WM_DESTROY and destroys the native window.
  void Destroy();

  // The window's extra value (the engine keeps its platform object there); 0 at first.
  void SetUserData(void* data) { mUserData = data; }
  void* GetUserData() const { return mUserData; }
  // Embedded windows get no activation messages (a child window is never activated).
  void SetEmbedded(bool embedded) { mEmbedded = embedded; }

  // --- The message calls -----------------------------------------------------------
  // Takes the next message (all messages when `only` is 0, else that message only);
  // reads the backend's input first. False when none is waiting.
  bool PeekMessage(TWindowMessage* out, uint32_t only = 0);
  void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void PostQuitMessage();
  // Posts the character message of a key-down that the backend's text input lacks
  // (Backspace, Tab, Enter, Escape, Ctrl+letter); answers whether it did.
  bool TranslateMessage(const TWindowMessage& message);
  intptr_t DispatchMessage(const TWindowMessage& message);
  intptr_t DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
  // Waits up to `ms` for input (the pump's idle wait).
  void WaitMessage(uint32_t ms);
  void Invalidate() { mPaintPending = true; }
  void Validate() { mPaintPending = false; }

  void SetCapture();
  // Releases the capture; the window is told through a sent WM_CAPTURECHANGED.
  void ReleaseCapture();
  bool HasCapture() const { return mCapture; }
  void SetFocus() { mBackend->SetInputFocus(); }
  // Negative when the key (VK_SHIFT, VK_CONTROL, VK_MENU) was held when the message last
  // taken from the queue was made: the state moves with the queue, not with the keyboard.
  int16_t GetKeyState(uint32_t vk) const;
  bool TrackMouseEvent(uint32_t flags);
  // The class cursor shown by the default WM_SETCURSOR handling: the arrow or none.
  void SetClassCursor(bool arrow) { mClassArrow = arrow; }
  void SendToHost(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    mBackend->SendToHost(message, wParam, lParam);
  }

  // --- Input reported by the backend -------------------------------------------------
  // `modifiers`: the kMod* keys held at this key event.
  void InputKey(uint32_t vk, bool extended, bool down, bool repeat, uint32_t modifiers);
  void InputText(uint32_t codePoint);
  void InputMouseMove(int x, int y);
  // button: 1 left, 2 middle, 3 right, 4 first extra, 5 second extra.
  void InputButton(int button, bool down, int x, int y);
  void InputFocusChange(bool gained);
  void InputLeave();
  void InputClose();
  void InputQuit() { PostQuitMessage(); }
  void InputExposed() { Invalidate(); }
  void InputSize(uintptr_t sizeType) { SendMessage(WM_SIZE, sizeType, 0); }
  // Shown at a position and size, or hidden (size 0).
  void InputPosition(const TWindowPos& pos);
  // A message from the host window; the host expects it handled at once.
  void InputHostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SendMessage(message, wParam, lParam);
  }

 private:
  void CheckHover();
  void Enqueue(uint32_t message, uintptr_t wParam, intptr_t lParam, uint32_t modifiers, bool first);

  std::unique_ptr<TWindowBackend> mBackend;
  TWindowProc mProc;
  void* mUserData = nullptr;
  bool mCreated = false;
  bool mEmbedded = false;
  std::deque<TWindowMessage> mQueue;
  uint32_t mMessageModifiers = 0;
  bool mQuitPosted = false;
  bool mPaintPending = false;
  bool mCapture = false;
  bool mClassArrow = true;
  bool mLeaveArmed = false;
  bool mHoverArmed = false;
  int mHoverX = 0, mHoverY = 0;
  uint32_t mHoverSince = 0;
  int mMouseX = 0, mMouseY = 0;
  bool mFocusFresh = false;
  uint32_t mFocusTime = 0;
};
