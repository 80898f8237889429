// The host channel over X client messages: parameters, gone windows, foreign messages.
#include "tvlib/platform/x11/HostMessage.h"

#include <gtest/gtest.h>

#include <cstdlib>

// After GoogleTest: Xlib's macros would break its headers.
#include <X11/Xlib.h>

#include "tests/support/XDisplayOpen.h"

namespace {

// Two windows on one connection to the test X server.
class HostMessageTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    mDisplay = OpenTestDisplay();
    ASSERT_NE(mDisplay, nullptr) << "cannot open the X display " << std::getenv("DISPLAY");
    Window root = DefaultRootWindow(mDisplay);
    mHost = XCreateSimpleWindow(mDisplay, root, 0, 0, 100, 100, 0, 0, 0);
    mGame = XCreateSimpleWindow(mDisplay, mHost, 0, 0, 50, 50, 0, 0, 0);
  }
  void TearDown() override {
    if (mDisplay) XCloseDisplay(mDisplay);
  }

  // The next event of the channel for `window`, if one has arrived.
  bool NextMessage(Window window, THostMessage* message) {
    XSync(mDisplay, False);
    XEvent event;
    while (XCheckTypedWindowEvent(mDisplay, window, ClientMessage, &event))
      if (ReadHostMessage(mDisplay, event, message)) return true;
    return false;
  }

  Display* mDisplay = nullptr;
  Window mHost = None, mGame = None;
};

}  // namespace

TEST_F(HostMessageTest, MessagesArriveWithTheirParameters) {
  const THostMessage sent[] = {{1024, 7, 0}, {1026, 0x12345678, -1}, {18, 0, 0}};
  for (const THostMessage& m : sent) {
    ASSERT_TRUE(PostHostMessage(mDisplay, mGame, m));
    THostMessage received;
    ASSERT_TRUE(NextMessage(mGame, &received));
    EXPECT_EQ(received.message, m.message);
    EXPECT_EQ(received.wParam, m.wParam);
    EXPECT_EQ(received.lParam, m.lParam);
  }
}

TEST_F(HostMessageTest, GoneWindowsAreSilent) {
  EXPECT_TRUE(IsHostWindow(mDisplay, mHost));
  XDestroyWindow(mDisplay, mGame);
  XSync(mDisplay, False);
  EXPECT_FALSE(IsHostWindow(mDisplay, mGame));
  EXPECT_FALSE(PostHostMessage(mDisplay, mGame, {1024, 4, 0}));
  EXPECT_FALSE(IsHostWindow(mDisplay, 0x7ffffff0));
  EXPECT_FALSE(IsHostWindow(mDisplay, None));
  EXPECT_FALSE(IsHostWindow(mDisplay, DefaultRootWindow(mDisplay)));
  // The connection is still usable after the trapped errors.
  EXPECT_TRUE(PostHostMessage(mDisplay, mHost, {1024, 1, 0}));
}

TEST_F(HostMessageTest, OtherClientMessagesAreNotOurs) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.format = 32;
  event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
  THostMessage message;
  EXPECT_FALSE(ReadHostMessage(mDisplay, event, &message));
}
