// The main window: its creation, its window procedure, and the visibility and activation
// bookkeeping the procedure does. The procedure raises flags in the platform data block;
// TAppPlatform::GetEvent turns each into one engine event.
#include <cstdlib>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/app/WindowBackends.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/dialog/TMessageBox.h"
#include "tvlib/platform/x11/HostMessage.h"
#include "tvlib/render/TDisplayHandler.h"

namespace {

constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 360;

TPlatformData* DataOf(TNativeWindow* window) {
  auto* platform = static_cast<TAppPlatform*>(window->GetUserData());
  return platform ? platform->GetData() : nullptr;
}

void OnWindowPosChanged(TNativeWindow* window, TPlatformData* data, const TWindowPos& pos) {
  if (pos.flags & SWP_NOSIZE) return;
  bool shown = pos.cx != 0 && pos.cy != 0 && pos.x >= -10000 && pos.y >= -10000;
  if (shown) {
    data->hidden = false;
    if (data->wasHidden) {
      HandleActivateApp(window, true);
      data->wasHidden = false;
    }
  } else {
    data->hidden = true;
    HandleActivateApp(window, false);
    data->wasHidden = true;
  }
}

void OnMouseMove(TNativeWindow* window, TPlatformData* data, intptr_t lParam) {
  if (TDisplayHandler* handler = data->displayHandler.get()) {
    if (!data->leaveTracked) handler->OnWindowMoved();
    handler->UpdateCursor(PointParamX(lParam), PointParamY(lParam));
  }
  if (!data->leaveTracked) data->leaveTracked = window->TrackMouseEvent(TME_LEAVE);
  if (!data->hoverTracked) data->hoverTracked = window->TrackMouseEvent(TME_HOVER);
}

}  // namespace

void TAppPlatform::CreateMainWindow(std::unique_ptr<TWindowBackend> backend) {
  if (!backend) backend = CreateWindowBackend();
  if (mData->hostWindow != 0 && !(backend && backend->IsHostWindow(mData->hostWindow))) {
    DebugLog("Error: mExternalWindowParent is lost, exiting!");
    std::exit(kExitStartupFailed);
  }
  if (!backend) {
    DebugLog("TPlatform::CreateMainWindow failed! No window backend could start.");
    return;
  }
  // Message boxes from now on are the chosen backend's.
  TWindowBackend* chosen = backend.get();
  SetMessageBoxService([chosen](const char* text, const char* caption, uint32_t flags) {
    return chosen->ShowMessageBox(text, caption, flags);
  });
  mData->window = std::make_unique<TNativeWindow>(std::move(backend), MainWindowProc);
  {
    std::lock_guard<std::mutex> lock(mData->cursorLock);
    mData->cursorBackend = &mData->window->GetBackend();
  }
  TWindowDesc desc;
  desc.title = "Tarvolen";
  desc.width = kWindowWidth;
  desc.height = kWindowHeight;
  desc.hostWindow = mData->hostWindow;
  desc.icon = GetProgramIcon(&desc.iconSize);
  if (!mData->window->Create(desc)) {
    DebugLog("TPlatform::CreateMainWindow failed! The %s backend made no window.",
             mData->window->GetBackend().GetName());
    return;
  }
  mData->parentWindow = mData->hostWindow;
  mData->window->SetEmbedded(mData->embedded);
  // The harness layout's window is its own host and is shown at once.
  if (mData->harnessTest) mData->window->GetBackend().ShowWindow(true);
  mData->window->SetUserData(this);
}

void TAppPlatform::SetWindowTitle(const TString& text) {
  if (mData->window) mData->window->GetBackend().SetTitle(text.c_str());
}

void TAppPlatform::SetCursorImage(std::shared_ptr<TTexture> texture, int hotX, int hotY) {
  mData->cursorTexture = std::move(texture);
  mData->cursorHotX = hotX;
  mData->cursorHotY = hotY;
  UpdateCursor();
}

void TAppPlatform::UpdateCursor() {
  if (TDisplayHandler* handler = GetDisplayHandler()) {
    handler->SetCursorTexture(mData->cursorTexture, mData->cursorHotX, mData->cursorHotY);
  }
  if (mData->window) mData->window->SetClassCursor(mData->cursorTexture == nullptr);
}

intptr_t MainWindowProc(TNativeWindow* window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) {
  TPlatformData* data = DataOf(window);
  if (!data) return window->DefWindowProc(message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      window->PostQuitMessage();
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        SetWindowVisibleState(window, false);
      } else if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED || wParam == SIZE_MAXSHOW) {
        SetWindowVisibleState(window, true);
      }
      break;
    case WM_PAINT:
      data->paintPending = true;
      data->repaintRequested = true;
      break;
    case WM_CLOSE:
      data->closeRequested = true;  // the game decides whether to close
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_ACTIVATEAPP:
      HandleActivateApp(window, wParam == 1);
      break;
    case WM_SETCURSOR:
      if ((lParam & 0xFFFF) == HTCLIENT && data->displayHandler &&
          data->displayHandler->HideSystemCursor()) {
        return 1;
      }
      break;
    case WM_MOUSEACTIVATE:
      if (!data->embedded) {
        data->mouseActivated = true;
        data->activationTime = TPlatform::GetTime();
      }
      break;
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(window, data, *reinterpret_cast<const TWindowPos*>(lParam));
      break;
    case WM_DISPLAYCHANGE:
      if (!data->visible && data->displayHandler) data->displayHandler->OnDisplayChange();
      break;
    case WM_NCHITTEST: {
      intptr_t hit = window->DefWindowProc(message, wParam, lParam);
      // The sizing frame and the maximise box are never reached: the window keeps the size
      // the display set-up gives it.
      if (hit == HTSIZE || hit == HTMAXBUTTON || (hit >= HTLEFT && hit <= HTBORDER)) {
        hit = HTNOWHERE;
      }
      return hit;
    }
    case WM_TIMER:
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(window, data, lParam);
      break;
    case WM_MOUSELEAVE:
      if (data->displayHandler) data->displayHandler->HideCursor();
      data->hoverTracked = false;
      data->mouseLeft = true;
      data->leaveTracked = false;
      return 0;
    case kHostCommand:
      HandlePortalCommand(static_cast<uint32_t>(wParam));
      return 1;
    case kHostForward:
      SendToParent(message, wParam, lParam);
      return 1;
    default:
      break;
  }
  return window->DefWindowProc(message, wParam, lParam);
}

void SetWindowVisibleState(TNativeWindow* window, bool visible) {
  TPlatformData* data = DataOf(window);
  if (!data || visible == data->visible) return;
  if (data->soundManager) data->soundManager->SetActive(visible);
  // Two changes before the pump sees them cancel out.
  data->visibilityChanged = !data->visibilityChanged;
  data->visible = visible;
}

void HandleActivateApp(TNativeWindow* window, bool active) {
  TPlatformData* data = DataOf(window);
  if (!data || active == data->active) return;
  SetWindowVisibleState(window, active);
  data->active = active;
  data->activationChanged = true;
  if (data->soundManager) data->soundManager->SetActive(active);
  if (active) {
    data->hidden = false;
  } else if (TPlatform::GetInstance()->IsFullscreen()) {
    data->hidden = true;
  }
}

void SendToParent(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  TPlatformData* data = platform->GetData();
  if (data->window && data->parentWindow != 0) data->window->SendToHost(message, wParam, lParam);
}

void NotifyParentFullscreen(bool full) {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  platform->GetData()->hostFullscreen = full;
  SendToParent(kHostCommand, full ? 1 : 0, 0);
}

bool IsParentFullscreen() {
  TPlatform* platform = TPlatform::GetInstance();
  return platform && platform->GetData()->hostFullscreen;
}
