// The SDL2 window backend: the players' window, keyboard, mouse, focus and clipboard.
//
// Needs a display (X11 or Wayland through SDL's video drivers); CreateSdlWindowBackend
// answers null when SDL's video cannot start. Every SDL call happens on the UI thread.
// Living inside a host window ("-wnd=") needs X11: the window is made hidden and
// borderless, and only when it is first shown (after the display set-up made its renderer,
// which may recreate the X window) is its X window reparented into the host, on SDL's own
// connection, so that the host's client messages reach it as SDL_SYSWMEVENT. A presenter
// that shows the window itself moves it into the host when SDL reports it shown.
#include <SDL.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/sdl/SdlBackend.h"
#include "tvlib/platform/sdl/SdlKeyTable.h"
#include "tvlib/platform/sdl/TSdlPresenter.h"
#include "tvlib/platform/window/TNativeWindow.h"
#include "tvlib/platform/window/Utf8.h"
#include "tvlib/platform/x11/HostMessage.h"
#include "tvlib/platform/x11/TPointerWatch.h"
#include "tvlib/platform/x11/TSystemPointer.h"

// Last: Xlib's macros must not reach the headers above.
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

// Inside a host, requests may name windows the host has already destroyed (ours goes with
// it); as posting to a destroyed window is, they are silent instead of ending the program.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

uint32_t ModifierBits(int mod) {
  return ((mod & KMOD_SHIFT) ? kModShift : 0) | ((mod & KMOD_CTRL) ? kModCtrl : 0) |
         ((mod & KMOD_ALT) ? kModAlt : 0);
}

class TSdlWindowBackend : public TWindowBackend {
 public:
  ~TSdlWindowBackend() override {
    DestroyWindow();
    if (mQueryDisplay) XCloseDisplay(mQueryDisplay);
    // SDL would wait forever to see a window unmapped that X has already destroyed: such a
    // window is left to the end of the process.
    if (!mWindowLost) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  const char* GetName() const override { return "sdl"; }

  bool CreateWindow(const TWindowDesc& desc) override {
    if (mWindow) return false;
    if (desc.hostWindow != 0 && !IsHostWindow(desc.hostWindow)) return false;
    uint32_t flags = SDL_WINDOW_HIDDEN | (desc.hostWindow ? SDL_WINDOW_BORDERLESS : 0);
    mWindow = SDL_CreateWindow(desc.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               desc.width, desc.height, flags);
    if (!mWindow) return false;
    if (desc.icon) SetIcon(desc.icon, desc.iconSize);
    mHost = desc.hostWindow;
    mInHost = false;
    if (mHost) {
      SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
      mPreviousErrorHandler = XSetErrorHandler(IgnoreXError);
    }
    SDL_StartTextInput();
    return true;
  }

  void SetIcon(const uint32_t* argb, int size) {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), size, size,
                                                           32, size * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(mWindow, icon);  // SDL keeps its own copy
    SDL_FreeSurface(icon);
  }

  void DestroyWindow() override {
    if (!mWindow) return;
    SDL_StopTextInput();
    if (mInHost && !IsHostWindow(mXWindow)) mWindowLost = true;  // gone with its host
    WatchPointer(0);
    if (!mWindowLost) SDL_DestroyWindow(mWindow);
    mWindow = nullptr;
    if (mHost) {
      XSetErrorHandler(mPreviousErrorHandler);
      mHost = 0;
    }
  }

  void SetTitle(const std::string& title) override {
    if (mWindow) SDL_SetWindowTitle(mWindow, title.c_str());
  }
  void ShowWindow(bool shown) override {
    if (!mWindow) return;
    if (shown && mHost && !mInHost) MoveIntoHost();
    shown ? SDL_ShowWindow(mWindow) : SDL_HideWindow(mWindow);
    // Shown, the window is the X window it will keep (the renderer may have made a new one).
    if (shown) WatchPointer(GetWindowId());
  }
  // Called on every idle tick in full screen: asks the X server only when another window
  // has taken the focus.
  void RaiseWindow() override {
    if (!mWindow) return;
    uint32_t flags = SDL_GetWindowFlags(mWindow);
    if (flags & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(mWindow);
    if (!(flags & SDL_WINDOW_INPUT_FOCUS)) SDL_RaiseWindow(mWindow);
  }
  uint64_t GetWindowId() override {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!mWindow || !SDL_GetWindowWMInfo(mWindow, &info) || info.subsystem != SDL_SYSWM_X11)
      return 0;
    return info.info.x11.window;
  }

  bool IsHostWindow(uint64_t id) override {
    return QueryDisplay() && ::IsHostWindow(mQueryDisplay, static_cast<TXWindow>(id));
  }
  bool GetHostClientSize(uint64_t id, int* width, int* height) override {
    if (!IsHostWindow(id)) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(mQueryDisplay, static_cast<Window>(id), &attributes)) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
  }
  void SetMouseCapture(bool on) override { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }
  void SetInputFocus() override {
    if (mWindow) SDL_SetWindowInputFocus(mWindow);
  }
  void ShowSystemCursor(bool shown) override { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

  uint32_t GetModifiers() override { return ModifierBits(SDL_GetModState()); }

  void GetCursorPosition(int* x, int* y) override { SDL_GetMouseState(x, y); }

  bool SetClipboardText(const std::string& text) override {
    return SDL_SetClipboardText(text.c_str()) == 0;
  }
  bool GetClipboardText(std::string* text) override {
    if (!SDL_HasClipboardText()) return false;
    char* got = SDL_GetClipboardText();
    if (!got) return false;
    *text = got;
    SDL_free(got);
    return true;
  }

  void Poll(TNativeWindow& window) override {
    SDL_Event event;
    while (SDL_PollEvent(&event)) Deliver(window, event);
  }

  SDL_Window* GetSdlWindow() const { return mWindow; }
  std::unique_ptr<sd::TPresenter> CreatePresenter() override {
    if (mWindow) {
      if (auto sdl = sd::TSdlPresenter::Create(mWindow)) return sdl;
    }
    return std::make_unique<sd::THeadlessPresenter>();
  }
  bool ReadSystemPointer(int* x, int* y) override { return ::ReadSystemPointer(x, y); }
  TPointerWait WaitForPointer(int timeoutMs) override {
    std::shared_ptr<TPointerWatch> watch;
    {
      std::lock_guard<std::mutex> guard(mWatchLock);
      watch = mPointerWatch;
    }
    if (!watch || !watch->Ok()) return TPointerWait::kCannotTell;
    return watch->Wait(timeoutMs) ? TPointerWait::kMoved : TPointerWait::kQuiet;
  }
  void WakePointerWait() override {
    std::lock_guard<std::mutex> guard(mWatchLock);
    if (mPointerWatch) mPointerWatch->Wake();
  }
  bool ShowMessageBox(const char* text, const char* caption, uint32_t flags) override {
    return ShowSdlMessageBox(text, caption, flags);
  }

  void Wait(uint32_t ms) override { SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)); }
  void SendToHost(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (!mHost || !QueryDisplay()) return;
    // A host that has gone is silent, as posting to a destroyed window is.
    PostHostMessage(mQueryDisplay, static_cast<TXWindow>(mHost),
                    {message, static_cast<long>(wParam), static_cast<long>(lParam)});
    XFlush(mQueryDisplay);
  }

 private:
  void Deliver(TNativeWindow& window, const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        window.InputQuit();
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        uint32_t vk = 0;
        bool extended = false;
        if (SdlKeyToVirtualKey(event.key.keysym, &vk, &extended)) {
          window.InputKey(vk, extended, event.type == SDL_KEYDOWN, event.key.repeat != 0,
                          ModifierBits(event.key.keysym.mod));
        }
        break;
      }
      case SDL_TEXTINPUT:
        for (uint32_t c : DecodeUtf8(event.text.text, std::strlen(event.text.text))) {
          window.InputText(c);
        }
        break;
      case SDL_MOUSEMOTION:
        window.InputMouseMove(event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        // SDL numbers the buttons as the message layer does: left, middle, right, X1, X2.
        window.InputButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN, event.button.x,
                           event.button.y);
        break;
      case SDL_WINDOWEVENT:
        DeliverWindowEvent(window, event.window);
        break;
      case SDL_SYSWMEVENT:
        DeliverHostMessage(window, *event.syswm.msg);
        break;
      default:
        break;
    }
  }

  void DeliverWindowEvent(TNativeWindow& window, const SDL_WindowEvent& event) {
    switch (event.event) {
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        window.InputFocusChange(true);
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        window.InputFocusChange(false);
        break;
      case SDL_WINDOWEVENT_LEAVE:
        window.InputLeave();
        break;
      case SDL_WINDOWEVENT_CLOSE:
        window.InputClose();
        break;
      case SDL_WINDOWEVENT_EXPOSED:
        window.InputExposed();
        break;
      case SDL_WINDOWEVENT_MINIMIZED:
        window.InputSize(SIZE_MINIMIZED);
        break;
      case SDL_WINDOWEVENT_MAXIMIZED:
        window.InputSize(SIZE_MAXIMIZED);
        break;
      case SDL_WINDOWEVENT_RESTORED:
        window.InputSize(SIZE_RESTORED);
        break;
      case SDL_WINDOWEVENT_SHOWN: {
        if (mHost && !mInHost) MoveIntoHost();
        WatchPointer(GetWindowId());  // also when a presenter showed the window
        TWindowPos pos;
        SDL_GetWindowPosition(mWindow, &pos.x, &pos.y);
        SDL_GetWindowSize(mWindow, &pos.cx, &pos.cy);
        window.InputPosition(pos);
        break;
      }
      case SDL_WINDOWEVENT_HIDDEN:
        window.InputPosition(TWindowPos{});  // zero size: the window counts as hidden
        break;
      default:
        break;
    }
  }

  // The host posts its quit message and sends everything else (answered at once).
  void DeliverHostMessage(TNativeWindow& window, const SDL_SysWMmsg& native) {
    if (native.subsystem != SDL_SYSWM_X11) return;
    const XEvent& event = native.msg.x11.event;
    if (event.type == DestroyNotify && mInHost && event.xdestroywindow.window == mXWindow) {
      mWindowLost = true;
      window.InputQuit();  // destroyed with its host: the program ends, as on WM_DESTROY
      return;
    }
    THostMessage message;
    if (!ReadHostMessage(native.msg.x11.event.xany.display, native.msg.x11.event, &message)) return;
    if (message.message == kHostQuit) {
      window.InputQuit();
    } else {
      window.InputHostMessage(message.message, static_cast<uintptr_t>(message.wParam),
                              static_cast<intptr_t>(message.lParam));
    }
  }

  void MoveIntoHost() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(mWindow, &info) || info.subsystem != SDL_SYSWM_X11) return;
    int width = 0, height = 0;
    if (!GetHostClientSize(mHost, &width, &height)) return;
    mXWindow = info.info.x11.window;
    XReparentWindow(info.info.x11.display, mXWindow, static_cast<Window>(mHost), 0, 0);
    XSync(info.info.x11.display, False);
    SDL_SetWindowSize(mWindow, width, height);
    // The size change puts the window back where it stood on the screen: it goes to the
    // host's corner once more.
    XMoveWindow(info.info.x11.display, mXWindow, 0, 0);
    XSync(info.info.x11.display, False);
    mInHost = true;
  }

  // Watches the pointer over X window `window` (0: none) for WaitForPointer; a wait on the
  // watch it replaces ends.
  void WatchPointer(uint64_t window) {
    std::lock_guard<std::mutex> guard(mWatchLock);
    if (mPointerWatch && mPointerWindow == window) return;
    if (mPointerWatch) mPointerWatch->Wake();
    mPointerWatch = window ? std::make_shared<TPointerWatch>(window) : nullptr;
    mPointerWindow = window;
  }

  // A connection of our own for questions about other clients' windows; its errors are
  // trapped, so a vanished host never ends the program.
  bool QueryDisplay() {
    if (!mQueryDisplay) mQueryDisplay = XOpenDisplay(nullptr);
    return mQueryDisplay != nullptr;
  }

  SDL_Window* mWindow = nullptr;
  uint64_t mHost = 0;
  bool mInHost = false;
  Window mXWindow = 0;
  bool mWindowLost = false;
  int (*mPreviousErrorHandler)(Display*, XErrorEvent*) = nullptr;
  Display* mQueryDisplay = nullptr;
  // The pointer watch, shared with the cursor thread while it waits on it.
  std::mutex mWatchLock;
  std::shared_ptr<TPointerWatch> mPointerWatch;
  uint64_t mPointerWindow = 0;
};

}  // namespace

std::unique_ptr<TWindowBackend> CreateSdlWindowBackend() {
  // A close is a close request the game decides on, never an automatic quit.
  SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return std::make_unique<TSdlWindowBackend>();
}

SDL_Window* GetSdlWindow(TWindowBackend& backend) {
  auto* sdl = dynamic_cast<TSdlWindowBackend*>(&backend);
  return sdl ? sdl->GetSdlWindow() : nullptr;
}
