// The event pump: one engine event per call, from the window procedure's flags first, then
// from one waiting message, and only when nothing waits the idle work and the tick.
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/process/Termination.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// A press or release this soon after a click activated the window reaches no window.
constexpr uint32_t kActivationClickWindowMs = 400;
// The longest idle wait: one frame at 60 frames a second.
constexpr uint32_t kIdleTickMs = 16;

bool IsRightButton(uint32_t message) {
  return message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
}

}  // namespace

TPoint TAppPlatform::GetPointer() {
  if (TDisplayHandler* handler = GetDisplayHandler()) return handler->GetCursorPosition();
  // Without a display there is no game area to map to: the window's own position serves.
  TPoint point;
  if (mData->window) mData->window->GetBackend().GetCursorPosition(&point.x, &point.y);
  return point;
}

bool TAppPlatform::SwallowActivationClick(bool buttonUp) {
  bool activated = mData->mouseActivated;
  if (buttonUp) mData->mouseActivated = false;
  return activated && GetTime() - mData->activationTime < kActivationClickWindowMs;
}

void TAppPlatform::GetEvent(TPlatformEvent* out) {
  TNativeWindow* window = mData->window.get();
  TDisplayHandler* handler = GetDisplayHandler();
  TWindowMessage message;

  // While the portal host suspends the game, only messages are pumped.
  while (window && IsPortalSuspended()) {
    ClockSleep(1);
    if (!window->PeekMessage(&message)) continue;
    if (message.message == WM_QUIT) return MakePlatformEvent(out, kEventQuit, 0, 0, 0, 0);
    window->TranslateMessage(message);
    window->DispatchMessage(message);
  }
  if (mData->visibilityChanged) {
    mData->visibilityChanged = false;
    if (!mData->visible && handler) handler->ResetWorkingCount();
    return MakePlatformEvent(out, kEventVisibility, 0, 0, mData->visible, 0);
  }
  if (!mData->hidden && handler && !handler->IsDeviceValid()) {
    if (window && window->PeekMessage(&message, WM_QUIT)) {
      return MakePlatformEvent(out, kEventQuit, 0, 0, 0, 0);
    }
    if (mData->visible && !mData->visibilityChanged) mData->Restore();
    return MakePlatformEvent(out, kEventNothing, 0, 0, 0, 0);
  }
  if (mData->displayModeChanged) {
    mData->displayModeChanged = false;
    return MakePlatformEvent(out, kEventDisplayModeChanged, 0, 0, 0, 0);
  }
  if (mData->paintPending) {
    mData->paintPending = false;
    return MakePlatformEvent(out, kEventPaint, 0, 0, 0, 0);
  }
  if (mData->activationChanged) {
    mData->activationChanged = false;
    return MakePlatformEvent(out, kEventVisibility, 0, 0, mData->active, 0);
  }
  if (mData->closeRequested) {
    mData->closeRequested = false;
    return MakePlatformEvent(out, kEventClose, 0, 0, 0, 0);
  }
  if (mData->mouseLeft) {
    mData->mouseLeft = false;
    TPoint at = GetPointer();
    return MakePlatformEvent(out, kEventMouseLeave, at.x, at.y, 0, 0);
  }
  if (window && window->PeekMessage(&message)) {
    ConvertMessage(message, out);
    // The host gets no context-menu click from an embedded game.
    if (!(mData->embedded && IsRightButton(message.message))) {
      window->TranslateMessage(message);
      window->DispatchMessage(message);
    }
    return;
  }
  if (handler && handler->IsFullscreen() && mData->visible && !mData->visibilityChanged) {
    KeepOnTop();
  }
  ServiceProcessRequests();
  if (mData->soundManager) mData->soundManager->Update();
  mData->taskList.Run(kTimerPhase);
  MakePlatformEvent(out, kEventTick, 0, 0, 0, 0);
  // Idle: sleep until a message comes, the earliest task (the platform's, or the top window's
  // that the tick runs next) is due, or the next frame tick.
  uint32_t wait = mData->taskList.GetMsUntilDue(kIdleTickMs);
  if (mData->windowManager) wait = mData->windowManager->GetMsUntilDue(wait);
  if (window) window->WaitMessage(wait);
}

void TAppPlatform::ServiceProcessRequests() {
  TNativeWindow* window = mData->window.get();
  if (!window) return;
  if (mData->singleInstance.TakeRaiseRequest()) {
    DebugLog("Another instance of the program asked for this window.");
    window->GetBackend().RaiseWindow();
  }
  if (TakeTerminationRequest()) window->PostQuitMessage();
}

void TAppPlatform::ConvertMessage(const TWindowMessage& message, TPlatformEvent* out) {
  TNativeWindow* window = mData->window.get();
  bool screensaver = mData->screensaver;
  // Input in screensaver mode ends a desktop program; an embedded one ignores it.
  uint32_t quit = mData->embedded ? kEventNothing : kEventQuit;
  MakePlatformEvent(out, kEventNothing, 0, 0, 0, 0);
  switch (message.message) {
    case WM_PAINT:
      window->Validate();  // BeginPaint and EndPaint
      mData->hoverTracked = false;
      return MakePlatformEvent(out, kEventPaint, 0, 0, 0, 0);
    case WM_QUIT:
      return MakePlatformEvent(out, kEventQuit, 0, 0, 0, 0);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (screensaver) return MakePlatformEvent(out, quit, 0, 0, 0, 0);
      return ConvertKeyDown(message, out);
    case WM_KEYUP:
      if (screensaver) return MakePlatformEvent(out, quit, 0, 0, 0, 0);
      return MakePlatformEvent(out, kEventKeyUp, 0, 0, static_cast<uint32_t>(message.wParam), 0);
    case WM_CHAR:
      if (screensaver) return MakePlatformEvent(out, quit, 0, 0, 0, 0);
      return MakePlatformEvent(out, kEventChar, 0, 0, static_cast<uint32_t>(message.wParam), 0);
    case WM_MOUSEMOVE: {
      TPoint at = GetPointer();
      if (screensaver) {
        bool moved = mData->screensaverMouseKnown && at.x != mData->screensaverMouseX &&
                     at.y != mData->screensaverMouseY;
        if (moved) return MakePlatformEvent(out, quit, 0, 0, 0, 0);
        mData->screensaverMouseKnown = true;
        mData->screensaverMouseX = at.x;
        mData->screensaverMouseY = at.y;
        return;
      }
      MakePlatformEvent(out, kEventMouseMove, at.x, at.y, 0, 0);
      if (!mData->hoverTracked) mData->hoverTracked = window->TrackMouseEvent(TME_HOVER);
      return;
    }
    case WM_CAPTURECHANGED:
      // Only another window taking the capture counts as the pointer leaving.
      if (message.lParam != reinterpret_cast<intptr_t>(window)) {
        MakePlatformEvent(out, kEventMouseLeave, 0, 0, 0, 0);
      }
      return;
    case WM_MOUSEHOVER: {
      if (screensaver) return;
      mData->hoverTracked = window->TrackMouseEvent(TME_HOVER);
      TPoint at = GetPointer();
      return MakePlatformEvent(out, kEventMouseHover, at.x, at.y, 0, 0);
    }
    default:
      return ConvertButton(message, out);
  }
}

void TAppPlatform::ConvertKeyDown(const TWindowMessage& message, TPlatformEvent* out) {
  TNativeWindow* window = mData->window.get();
  uint32_t vk = static_cast<uint32_t>(message.wParam);
  uint32_t modifiers = (window->GetKeyState(VK_CONTROL) < 0 ? kKeyModCtrl : 0) |
                       (window->GetKeyState(VK_SHIFT) < 0 ? kKeyModShift : 0) |
                       ((message.lParam & kKeyExtendedBit) ? kKeyModExtended : 0);
  if (message.message == WM_SYSKEYDOWN && (message.lParam & kKeyAltBit)) {
    if (vk == VK_RETURN) {
      if (mData->embedded && !HasPqSwitch()) return;  // the host's layout stays as it is
      SetFullscreen(!IsFullscreen());
      return MakePlatformEvent(out, kEventFullscreenSwitch, 0, 0, IsFullscreen(), 0);
    }
    if (vk == VK_F1) {
      mData->fpsOverlay = !mData->fpsOverlay;
      return;
    }
    return MakePlatformEvent(out, kEventKeyDown, 0, 0, vk, modifiers | kKeyModAlt);
  }
  // Insert alone is dropped; Shift+Insert (the paste key) goes through.
  if (vk == VK_INSERT && (modifiers & ~kKeyModExtended) != kKeyModShift) return;
  MakePlatformEvent(out, kEventKeyDown, 0, 0, vk, modifiers);
}

void TAppPlatform::ConvertButton(const TWindowMessage& message, TPlatformEvent* out) {
  TNativeWindow* window = mData->window.get();
  uint32_t type = kEventNothing;
  uint32_t param = 0;
  bool down = true;
  switch (message.message) {
    case WM_LBUTTONDOWN:
      type = kEventLeftDown;
      break;
    case WM_RBUTTONDOWN:
      type = kEventOtherButton;
      param = kButtonRightDown;
      break;
    case WM_MBUTTONDOWN:
      type = kEventOtherButton;
      param = kButtonMiddleDown;
      break;
    case WM_XBUTTONDOWN:
      type = kEventOtherButton;
      param = (message.wParam & MK_XBUTTON1) ? kButtonExtra1Down : kButtonExtra2Down;
      break;
    case WM_LBUTTONUP:
      type = kEventLeftUp;
      down = false;
      break;
    case WM_RBUTTONUP:
      type = kEventOtherButton;
      param = kButtonRightUp;
      down = false;
      break;
    case WM_MBUTTONUP:
      type = kEventOtherButton;
      param = kButtonMiddleUp;
      down = false;
      break;
    default:
      return;  // a message without an event of its own
  }
  if (SwallowActivationClick(!down)) return;
  if (mData->screensaver &&
      (message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONUP)) {
    return MakePlatformEvent(out, mData->embedded ? kEventNothing : kEventQuit, 0, 0, 0, 0);
  }
  if (down) {
    if (mData->embedded) window->SetFocus();
    window->SetCapture();
  } else {
    window->ReleaseCapture();
  }
  if (message.message == WM_XBUTTONDOWN && !(message.wParam & (MK_XBUTTON1 | MK_XBUTTON2))) return;
  TPoint at = GetPointer();
  MakePlatformEvent(out, type, at.x, at.y, param, 0);
}
