// The real SDL window under the test command's X server: input made with XTest reaches the
// engine as engine events.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/platform/sdl/SdlBackend.h"
#include "tvlib/platform/sdl/TSdlPresenter.h"
#include "tvlib/platform/window/WindowMessages.h"
#include "tvlib/platform/x11/HostMessage.h"

// After GoogleTest and the engine: Xlib's macros would break their headers.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "tests/support/XCloseRequest.h"
#include "tests/support/XDisplayOpen.h"

namespace {

// The X window id of the platform's SDL window (0 when there is none).
Window GameXWindow(TPlatformData& data) {
  SDL_Window* window = data.window ? GetSdlWindow(data.window->GetBackend()) : nullptr;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info)) return 0;
  return info.info.x11.window;
}

// Shows the platform's SDL window and answers its X window id.
Window ShowGameWindow(TPlatformData& data) {
  if (data.window) data.window->GetBackend().ShowWindow(true);
  return GameXWindow(data);
}

Window ParentOf(Display* display, Window window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return parent;
}

class SdlWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    mX = OpenTestDisplay();
    ASSERT_NE(mX, nullptr) << "cannot open the X display " << std::getenv("DISPLAY");
    std::unique_ptr<TWindowBackend> backend = CreateSdlWindowBackend();
    ASSERT_NE(backend, nullptr);
    mPlatform.CreateMainWindow(std::move(backend));
    mWindow = ShowGameWindow(mData);
    ASSERT_NE(mWindow, 0u);
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
  TAppPlatform mPlatform{&mData};
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

// The cursor thread's wait: a pointer move over the window ends it as a move (also in a drag,
// while the window's own client holds the pointer grabbed), a wake-up or the time limit as
// quiet, and a wake-up that came before the wait ends the next one.
TEST_F(SdlWindowTest, PointerWaitEndsOnAMoveAWakeUpOrItsTimeLimit) {
  using TPointerWait = TWindowBackend::TPointerWait;
  TWindowBackend& backend = mData.window->GetBackend();
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(mX, mWindow, DefaultRootWindow(mX), 0, 0, &x, &y, &child);
  XTestFakeMotionEvent(mX, -1, x + 5, y + 5, CurrentTime);
  XFlush(mX);
  Pump(100);
  // Moves made before now are drained: nothing comes within a short limit.
  while (backend.WaitForPointer(50) == TPointerWait::kMoved) {
  }
  EXPECT_EQ(backend.WaitForPointer(20), TPointerWait::kQuiet);
  backend.WakePointerWait();
  EXPECT_EQ(backend.WaitForPointer(-1), TPointerWait::kQuiet);
  XTestFakeButtonEvent(mX, 1, True, CurrentTime);  // a drag begins
  XFlush(mX);
  Pump(50);
  while (backend.WaitForPointer(20) == TPointerWait::kMoved) {
  }
  std::thread waiter([&] { EXPECT_EQ(backend.WaitForPointer(-1), TPointerWait::kMoved); });
  XTestFakeMotionEvent(mX, -1, x + 60, y + 40, CurrentTime);
  XFlush(mX);
  waiter.join();
  XTestFakeButtonEvent(mX, 1, False, CurrentTime);
  XFlush(mX);
  Pump(50);
  std::thread woken([&] { EXPECT_EQ(backend.WaitForPointer(-1), TPointerWait::kQuiet); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  backend.WakePointerWait();
  woken.join();
}

TEST_F(SdlWindowTest, ClosingTheWindowIsACloseRequest) {
  RequestWindowClose(mX, mWindow);
  Pump(300);
  EXPECT_GE(Find(kEventClose, 0), 0);
  EXPECT_LT(Find(kEventQuit, 0), 0);  // the game decides; the window is still there
}

TEST_F(SdlWindowTest, ClipboardHoldsUtf8Text) {
  EXPECT_TRUE(mPlatform.SetClipboardText("Festsaal \xC3\xBC"));
  EXPECT_EQ(mPlatform.GetClipboardText(), TString("Festsaal \xC3\xBC"));
}

// A host window of the test's own, with the game's window living inside it.
class EmbeddedSdlWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetPortalState();
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    mX = OpenTestDisplay();
    ASSERT_NE(mX, nullptr) << "cannot open the X display " << std::getenv("DISPLAY");
    mHost = XCreateSimpleWindow(mX, DefaultRootWindow(mX), 0, 0, 1000, 750, 0, 0, 0);
    XMapWindow(mX, mHost);
    XSync(mX, False);
    mData.commandLine = "game -msn";
    mData.hostWindow = mHost;
    mData.embedded = true;
    SetPortalMode();
    mPlatform.CreateMainWindow(CreateSdlWindowBackend());
  }
  void TearDown() override {
    ResetPortalState();
    if (mX) XCloseDisplay(mX);
  }
  TPlatformEvent Next() {
    TPlatformEvent event;
    for (int i = 0; i < 2000; ++i) {
      mPlatform.GetEvent(&event);
      if (event.type != kEventTick && event.type != kEventNothing) break;
    }
    return event;
  }
  void Pump(int ticks) {
    TPlatformEvent event;
    for (int i = 0; i < ticks; ++i) mPlatform.GetEvent(&event);
  }
  void HostSends(uint32_t message, long wParam) {
    PostHostMessage(mX, mGame, {message, wParam, 0});
    XFlush(mX);
  }

  TPlatformData mData;
  TAppPlatform mPlatform{&mData};
  Display* mX = nullptr;
  Window mHost = 0, mGame = 0;
};

TEST_F(EmbeddedSdlWindowTest, GameWindowLivesInTheHostAndTalksToIt) {
  mGame = ShowGameWindow(mData);
  ASSERT_NE(mGame, 0u);
  EXPECT_EQ(ParentOf(mX, mGame), mHost);
  int width = 0, height = 0;
  EXPECT_TRUE(mData.window->GetBackend().GetHostClientSize(mHost, &width, &height));
  EXPECT_EQ(width, 1000);

  HostSends(WM_USER, kPortalPause);
  for (int i = 0; i < 500 && !IsPortalSuspended(); ++i) Pump(1);
  EXPECT_TRUE(IsPortalSuspended());
  HostSends(WM_USER, kPortalStart);
  Pump(1);  // the pump waits in the suspension until the host resumes
  EXPECT_FALSE(IsPortalSuspended());

  SendToParent(WM_USER + 2, 0x64636261, 0);
  XEvent event;
  THostMessage message;
  bool got = false;
  for (int i = 0; i < 200 && !got; ++i) {
    XSync(mX, False);
    while (!got && XCheckTypedWindowEvent(mX, mHost, ClientMessage, &event)) {
      got = ReadHostMessage(mX, event, &message);
    }
    if (!got) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(got);
  EXPECT_EQ(message.message, WM_USER + 2);
  EXPECT_EQ(message.wParam, 0x64636261);

  HostSends(WM_QUIT, 0);
  EXPECT_EQ(Next().type, kEventQuit);
}

TEST_F(EmbeddedSdlWindowTest, APresenterShowingTheWindowPutsItIntoTheHost) {
  ASSERT_NE(mData.window, nullptr);
  auto presenter = sd::TSdlPresenter::Create(GetSdlWindow(mData.window->GetBackend()));
  ASSERT_NE(presenter, nullptr);
  mGame = GameXWindow(mData);  // read after the renderer was made: it may recreate the window
  std::vector<uint32_t> frame(64 * 48, 0xFF336699u);
  presenter->Show(frame.data(), 64, 64, 48, sd::TRect{0, 0, 64, 48});
  for (int i = 0; i < 200 && ParentOf(mX, mGame) != mHost; ++i) Pump(1);
  EXPECT_EQ(ParentOf(mX, mGame), mHost);
}

TEST_F(EmbeddedSdlWindowTest, AHostThatGoesEndsTheGameQuietly) {
  mGame = ShowGameWindow(mData);
  Pump(20);
  XDestroyWindow(mX, mHost);
  XSync(mX, False);
  uint32_t type = 0;
  for (int i = 0; i < 10 && type != kEventQuit; ++i) type = Next().type;  // a leave may come first
  EXPECT_EQ(type, kEventQuit);
  HostSends(WM_USER, kPortalPause);  // posting to the gone window is silent
  EXPECT_FALSE(IsPortalSuspended());
  SendToParent(WM_USER + 2, 1, 2);
}

}  // namespace
