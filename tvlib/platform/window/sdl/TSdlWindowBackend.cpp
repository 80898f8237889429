// The SDL2 window backend: the players' window, keyboard, mouse, focus and clipboard.
//
// Needs a display (X11 or Wayland through SDL's video drivers); CreateSdlWindowBackend
// answers null when SDL's video cannot start. Every SDL call happens on the UI thread.
// Limit: living inside a host window ("-wnd=") is not offered by this backend yet, so
// host ids are never windows here.
#include <SDL.h>

#include "tvlib/platform/window/TNativeWindow.h"
#include "tvlib/platform/window/sdl/SdlKeyTable.h"

namespace {

// Decodes UTF-8 text input into code points; malformed bytes are dropped.
template <typename F>
void ForEachCodePoint(const char* text, F&& f) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    uint32_t c = *p;
    int more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    ++p;
    if (more < 0) continue;
    if (more > 0) c &= 0x3Fu >> more;
    bool ok = true;
    for (int i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (*p & 0x3F);
    }
    if (ok) f(c);
  }
}

class TSdlWindowBackend : public TWindowBackend {
public:
  ~TSdlWindowBackend() override {
    DestroyWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  const char* GetName() const override { return "sdl"; }

  bool CreateWindow(const TWindowDesc& desc) override {
    if (desc.hostWindow != 0 || mWindow) return false;
    mWindow = SDL_CreateWindow(desc.title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                               SDL_WINDOWPOS_UNDEFINED, desc.width, desc.height,
                               SDL_WINDOW_HIDDEN);
    if (!mWindow) return false;
    SDL_StartTextInput();
    return true;
  }

  void DestroyWindow() override {
    if (!mWindow) return;
    SDL_StopTextInput();
    SDL_DestroyWindow(mWindow);
    mWindow = nullptr;
  }

  void SetTitle(const std::string& title) override {
    if (mWindow) SDL_SetWindowTitle(mWindow, title.c_str());
  }
  void ShowWindow(bool shown) override {
    if (!mWindow) return;
    shown ? SDL_ShowWindow(mWindow) : SDL_HideWindow(mWindow);
  }
  void RaiseWindow() override {
    if (mWindow) SDL_RaiseWindow(mWindow);
  }
  bool IsHostWindow(uint64_t) override { return false; }
  bool GetHostClientSize(uint64_t, int*, int*) override { return false; }
  void SetMouseCapture(bool on) override { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }
  void SetInputFocus() override {
    if (mWindow) SDL_SetWindowInputFocus(mWindow);
  }
  void ShowSystemCursor(bool shown) override { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

  uint32_t GetModifiers() override {
    SDL_Keymod mod = SDL_GetModState();
    return ((mod & KMOD_SHIFT) ? kModShift : 0) | ((mod & KMOD_CTRL) ? kModCtrl : 0) |
           ((mod & KMOD_ALT) ? kModAlt : 0);
  }

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

  void Wait(uint32_t ms) override { SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)); }
  void SendToHost(uint32_t, uintptr_t, intptr_t) override {}

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
          window.InputKey(vk, extended, event.type == SDL_KEYDOWN, event.key.repeat != 0);
        }
        break;
      }
      case SDL_TEXTINPUT:
        ForEachCodePoint(event.text.text, [&](uint32_t c) { window.InputText(c); });
        break;
      case SDL_MOUSEMOTION:
        window.InputMouseMove(event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        // SDL numbers the buttons as the message layer does: left, middle, right, X1, X2.
        window.InputButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN,
                           event.button.x, event.button.y);
        break;
      case SDL_WINDOWEVENT:
        DeliverWindowEvent(window, event.window);
        break;
      default:
        break;
    }
  }

  void DeliverWindowEvent(TNativeWindow& window, const SDL_WindowEvent& event) {
    switch (event.event) {
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        window.InputFocus(true);
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        window.InputFocus(false);
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

  SDL_Window* mWindow = nullptr;
};

}  // namespace

std::unique_ptr<TWindowBackend> CreateSdlWindowBackend() {
  // A close is a close request the game decides on, never an automatic quit.
  SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return std::make_unique<TSdlWindowBackend>();
}
