// The real SDL window under the test command's X server: input made with XTest reaches the
// engine as engine events.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "tvlib/core/TPlatform.h"
#include "tvlib/platform/window/WindowMessages.h"

// After GoogleTest and the engine: Xlib's macros would break their headers.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

// SDL's video start-up loads the session bus library, which keeps allocations for the life of
// the process by design.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

class SdlWindowTest : public testing::Test {
protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    mX = XOpenDisplay(nullptr);
    if (!mX) GTEST_SKIP() << "no X display";
    std::unique_ptr<TWindowBackend> backend = CreateSdlWindowBackend();
    ASSERT_NE(backend, nullptr);
    mPlatform.CreateMainWindow(std::move(backend));
    ASSERT_NE(mData.window, nullptr);
    mData.window->GetBackend().ShowWindow(true);
    SDL_Window* window = SDL_GetKeyboardFocus();
    for (uint32_t id = 1; !window && id < 16; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
    mWindow = info.info.x11.window;
    Pump(200);
    XSetInputFocus(mX, mWindow, RevertToParent, CurrentTime);
    XSync(mX, False);
    // Long enough that the next click is no longer the one that activated the window.
    Pump(300);
  }
  void TearDown() override {
    if (mX) XCloseDisplay(mX);
  }

  // Collects engine events other than ticks and nothings for `ms` milliseconds.
  void Pump(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      TPlatformEvent event;
      mPlatform.GetEvent(&event);
      if (event.type != kEventTick && event.type != kEventNothing) mEvents.push_back(event);
    }
  }
  void Key(KeySym symbol) {
    KeyCode code = XKeysymToKeycode(mX, symbol);
    XTestFakeKeyEvent(mX, code, True, CurrentTime);
    XTestFakeKeyEvent(mX, code, False, CurrentTime);
    XFlush(mX);
  }
  // Where (type, param) first occurs in the collected events, -1 when it never does.
  int Find(uint32_t type, uint32_t param) const {
    for (size_t i = 0; i < mEvents.size(); ++i) {
      if (mEvents[i].type == type && mEvents[i].param == param) return static_cast<int>(i);
    }
    return -1;
  }

  TPlatformData mData;
  TPlatform mPlatform{&mData};
  Display* mX = nullptr;
  Window mWindow = 0;
  std::vector<TPlatformEvent> mEvents;
};

TEST_F(SdlWindowTest, KeysAndClicksBecomeEngineEvents) {
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(mX, mWindow, DefaultRootWindow(mX), 0, 0, &x, &y, &child);
  // The pointer may already rest where the test moves it (an earlier run on the same
  // server): step away first so the move is a real one.
  XTestFakeMotionEvent(mX, -1, x + 5, y + 5, CurrentTime);
  XFlush(mX);
  Pump(50);
  mEvents.clear();
  XTestFakeMotionEvent(mX, -1, x + 40, y + 30, CurrentTime);
  XFlush(mX);
  Pump(100);
  Key(XK_a);
  Key(XK_Return);
  Key(XK_Left);
  XTestFakeButtonEvent(mX, 1, True, CurrentTime);
  XTestFakeButtonEvent(mX, 1, False, CurrentTime);
  XTestFakeButtonEvent(mX, 3, True, CurrentTime);
  XFlush(mX);
  Pump(300);

  int move = Find(kEventMouseMove, 0);
  ASSERT_GE(move, 0);
  EXPECT_EQ(mEvents[move].x, 40);  // no display handler: window coordinates
  EXPECT_EQ(mEvents[move].y, 30);
  int keyDown = Find(kEventKeyDown, 'A');
  int character = Find(kEventChar, 'a');
  int keyUp = Find(kEventKeyUp, 'A');
  ASSERT_GE(keyDown, 0);
  EXPECT_GT(character, keyDown);
  EXPECT_GT(keyUp, character);
  EXPECT_GE(Find(kEventChar, 13), 0);  // Enter's character is made by the message layer
  int left = Find(kEventKeyDown, VK_LEFT);
  ASSERT_GE(left, 0);
  EXPECT_EQ(mEvents[left].param2, kKeyModExtended);
  int down = Find(kEventLeftDown, 0);
  ASSERT_GE(down, 0);
  EXPECT_EQ(mEvents[down].x, 40);
  EXPECT_GT(Find(kEventLeftUp, 0), down);
  EXPECT_GE(Find(kEventOtherButton, kButtonRightDown), 0);
  XTestFakeButtonEvent(mX, 3, False, CurrentTime);
  XFlush(mX);
}

TEST_F(SdlWindowTest, ClosingTheWindowIsACloseRequest) {
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = mWindow;
  close.xclient.message_type = XInternAtom(mX, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(mX, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(mX, mWindow, False, NoEventMask, &close);
  XFlush(mX);
  Pump(300);
  EXPECT_GE(Find(kEventClose, 0), 0);
  EXPECT_LT(Find(kEventQuit, 0), 0);  // the game decides; the window is still there
}

TEST_F(SdlWindowTest, ClipboardHoldsUtf8Text) {
  EXPECT_TRUE(mPlatform.SetClipboardText("Festsaal \xC3\xBC"));
  EXPECT_EQ(mPlatform.GetClipboardText(), TString("Festsaal \xC3\xBC"));
}

}  // namespace
