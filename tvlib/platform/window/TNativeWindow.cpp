// The message layer over a window backend: queue, sent messages and input emulation.
#include "tvlib/platform/window/TNativeWindow.h"

#include <cstdlib>

#include "tvlib/core/Clock.h"

TNativeWindow::TNativeWindow(std::unique_ptr<TWindowBackend> backend, TWindowProc proc)
    : mBackend(std::move(backend)), mProc(proc) {}

TNativeWindow::~TNativeWindow() {
  Destroy();
}

bool TNativeWindow::Create(const TWindowDesc& desc) {
  mCreated = mBackend->CreateWindow(desc);
  return mCreated;
}

void TNativeWindow::Destroy() {
  if (!mCreated) return;
  SendMessage(WM_DESTROY, 0, 0);
  mBackend->DestroyWindow();
  mCreated = false;
}

bool TNativeWindow::PeekMessage(TWindowMessage* out, uint32_t only) {
  mBackend->Poll(*this);
  CheckHover();
  for (auto it = mQueue.begin(); it != mQueue.end(); ++it) {
    if (only != 0 && it->message != only) continue;
    *out = *it;
    mQueue.erase(it);
    mMessageModifiers = out->modifiers;
    return true;
  }
  mMessageModifiers = mBackend->GetModifiers();
  // As on the designed system: the quit message comes after the posted ones, and a paint
  // only when nothing else is waiting.
  if (mQuitPosted && (only == 0 || only == WM_QUIT)) {
    mQuitPosted = false;
    *out = {this, WM_QUIT, 0, 0, mMessageModifiers};
    return true;
  }
  if (mPaintPending && (only == 0 || only == WM_PAINT)) {
    *out = {this, WM_PAINT, 0, 0,
            mMessageModifiers};  // stays pending until the window validates itself
    return true;
  }
  return false;
}

void TNativeWindow::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Enqueue(message, wParam, lParam, mBackend->GetModifiers(), false);
}

void TNativeWindow::Enqueue(uint32_t message, uintptr_t wParam, intptr_t lParam, uint32_t modifiers,
                            bool first) {
  TWindowMessage entry{this, message, wParam, lParam, modifiers};
  first ? mQueue.push_front(entry) : mQueue.push_back(entry);
}

intptr_t TNativeWindow::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return mProc ? mProc(this, message, wParam, lParam) : DefWindowProc(message, wParam, lParam);
}

void TNativeWindow::PostQuitMessage() {
  mQuitPosted = true;
}

bool TNativeWindow::TranslateMessage(const TWindowMessage& message) {
  if (message.message != WM_KEYDOWN) return false;
  uint32_t vk = static_cast<uint32_t>(message.wParam);
  uint32_t character = 0;
  if (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE) {
    character = vk;
  } else if (vk >= 'A' && vk <= 'Z' && GetKeyState(VK_CONTROL) < 0) {
    character = vk - 'A' + 1;
  }
  if (character == 0) return false;
  // Ahead of the input still waiting, as the system's posted messages are: the character
  // comes right after its key.
  Enqueue(WM_CHAR, character, 1, message.modifiers, true);
  return true;
}

intptr_t TNativeWindow::DispatchMessage(const TWindowMessage& message) {
  return SendMessage(message.message, message.wParam, message.lParam);
}

intptr_t TNativeWindow::DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_PAINT:
      Validate();
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR:
      if ((lParam & 0xFFFF) == HTCLIENT) mBackend->ShowSystemCursor(mClassArrow);
      return 0;
    case WM_CLOSE:
      Destroy();
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes, as the system's keyboard interface does where no window manager
      // takes the key first (inside a host, or without one).
      if (wParam == VK_F4 && (lParam & kKeyAltBit)) SendMessage(WM_CLOSE, 0, 0);
      return 0;
    case WM_RBUTTONUP:
      // As on the designed system: an unhandled right click offers a context menu, which a
      // child window passes on to its host.
      SendToHost(WM_CONTEXTMENU, 0, lParam);
      return 0;
    default:
      return 0;
  }
}

void TNativeWindow::WaitMessage(uint32_t ms) {
  if (mQueue.empty() && !mQuitPosted) mBackend->Wait(ms);
}

void TNativeWindow::SetCapture() {
  mCapture = true;
  mBackend->SetMouseCapture(true);
}

void TNativeWindow::ReleaseCapture() {
  if (!mCapture) return;
  mCapture = false;
  mBackend->SetMouseCapture(false);
  // Sent, never posted: the pump must not see our own release as the pointer leaving.
  SendMessage(WM_CAPTURECHANGED, 0, 0);
}

int16_t TNativeWindow::GetKeyState(uint32_t vk) const {
  uint32_t modifiers = mMessageModifiers;
  uint32_t bit = vk == VK_SHIFT     ? kModShift
                 : vk == VK_CONTROL ? kModCtrl
                 : vk == VK_MENU    ? kModAlt
                                    : 0;
  return (modifiers & bit) ? static_cast<int16_t>(-128) : 0;
}

bool TNativeWindow::TrackMouseEvent(uint32_t flags) {
  if (!mCreated) return false;
  if (flags & TME_LEAVE) mLeaveArmed = true;
  if (flags & TME_HOVER) {
    mHoverArmed = true;
    mHoverX = mMouseX;
    mHoverY = mMouseY;
    mHoverSince = ClockMilliseconds();
  }
  return true;
}

void TNativeWindow::CheckHover() {
  if (!mHoverArmed || ClockMilliseconds() - mHoverSince < kHoverTimeMs) return;
  mHoverArmed = false;  // one hover per arming, as with the native tracking
  PostMessage(WM_MOUSEHOVER, 0, MakePointParam(mHoverX, mHoverY));
}

void TNativeWindow::InputKey(uint32_t vk, bool extended, bool down, bool repeat,
                             uint32_t modifiers) {
  bool alt = (modifiers & kModAlt) != 0;
  intptr_t lParam = 1;
  if (extended) lParam |= kKeyExtendedBit;
  if (alt) lParam |= kKeyAltBit;
  if (repeat) lParam |= intptr_t{1} << 30;  // the key was already down
  if (!down) lParam |= (intptr_t{1} << 30) | (intptr_t{1} << 31);
  uint32_t message = down ? (alt || vk == VK_MENU ? WM_SYSKEYDOWN : WM_KEYDOWN)
                          : (alt || vk == VK_MENU ? WM_SYSKEYUP : WM_KEYUP);
  Enqueue(message, vk, lParam, modifiers, false);
}

void TNativeWindow::InputText(uint32_t codePoint) {
  // Control characters come from TranslateMessage; with Alt held the system sends its own
  // character message, which the engine ignores.
  if (codePoint < 0x20 || codePoint == 0x7F) return;
  if (mBackend->GetModifiers() & kModAlt) return;
  PostMessage(WM_CHAR, codePoint, 1);
}

void TNativeWindow::InputMouseMove(int x, int y) {
  mMouseX = x;
  mMouseY = y;
  if (mHoverArmed &&
      (std::abs(x - mHoverX) > kHoverSlopPx || std::abs(y - mHoverY) > kHoverSlopPx)) {
    mHoverX = x;
    mHoverY = y;
    mHoverSince = ClockMilliseconds();
  }
  SendMessage(WM_SETCURSOR, 0, HTCLIENT | (intptr_t{WM_MOUSEMOVE} << 16));
  PostMessage(WM_MOUSEMOVE, 0, MakePointParam(x, y));
}

void TNativeWindow::InputButton(int button, bool down, int x, int y) {
  mMouseX = x;
  mMouseY = y;
  if (down && mFocusFresh && ClockMilliseconds() - mFocusTime < kActivationClickMs) {
    SendMessage(WM_MOUSEACTIVATE, 0, HTCLIENT);
  }
  mFocusFresh = false;
  static constexpr uint32_t kDown[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN,
                                       WM_XBUTTONDOWN, WM_XBUTTONDOWN};
  static constexpr uint32_t kUp[] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP, WM_XBUTTONUP,
                                     WM_XBUTTONUP};
  if (button < 1 || button > 5) return;
  uintptr_t wParam = button == 4 ? MK_XBUTTON1 : button == 5 ? MK_XBUTTON2 : 0;
  PostMessage(down ? kDown[button - 1] : kUp[button - 1], wParam, MakePointParam(x, y));
}

void TNativeWindow::InputFocusChange(bool gained) {
  mFocusFresh = gained;
  mFocusTime = ClockMilliseconds();
  if (!mEmbedded) SendMessage(WM_ACTIVATEAPP, gained ? 1 : 0, 0);
}

void TNativeWindow::InputLeave() {
  mHoverArmed = false;
  if (!mLeaveArmed) return;
  mLeaveArmed = false;
  PostMessage(WM_MOUSELEAVE, 0, 0);
}

void TNativeWindow::InputClose() {
  SendMessage(WM_CLOSE, 0, 0);
}

void TNativeWindow::InputPosition(const TWindowPos& pos) {
  TWindowPos copy = pos;
  SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<intptr_t>(&copy));
}
