// The program on the test X server: its desktop window, and its life inside a host window.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowScriptLibrary.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/platform/window/WindowMessages.h"

// Last: Xlib's macros.
#include <X11/extensions/XTest.h>
#include "tests/game/main/XHost.h"
#include "tests/support/XCloseRequest.h"

namespace {

constexpr uint32_t kPassOn = WM_USER + 2;

// The window's picture at every 16th pixel each way (empty when it cannot be read).
std::vector<unsigned long> Picture(Display* display, Window window) {
  std::vector<unsigned long> samples;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return samples;
  XImage* image =
      XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (!image) return samples;
  for (int y = 0; y < attributes.height; y += 16)
    for (int x = 0; x < attributes.width; x += 16) samples.push_back(XGetPixel(image, x, y));
  XDestroyImage(image);
  return samples;
}
// A picture of more than a few colours: something is drawn.
bool IsDrawn(const std::vector<unsigned long>& picture) {
  return std::set<unsigned long>(picture.begin(), picture.end()).size() > 8;
}

// The program started with a private data folder; the real window backend.
class GameWindowTest : public testing::Test {
 protected:
  // Without a display there is nothing to test; a display that cannot be opened is a failure,
  // never a silent skip.
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(host.Ok()) << "cannot open the X display " << std::getenv("DISPLAY");
  }
  std::unique_ptr<TChildProcess> Start(const char* program, const std::vector<std::string>& args) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<TChildProcess>(
        argv,
        TChildProcess::TEnvironment{{"TV_WINDOW_BACKEND", "sdl"}, {"XDG_DATA_HOME", dir / "data"}},
        dir.Path().string(), dir / "out");
  }
  std::string Output() const { return ReadWholeFile(dir / "out"); }
  // Starts the stand-in game inside the host and waits until it has moved in and set up.
  std::unique_ptr<TChildProcess> StartEmbedded(const std::vector<std::string>& switches) {
    std::vector<std::string> args{host.WindowSwitch(), "--wait"};
    args.insert(args.end(), switches.begin(), switches.end());
    auto game = Start(TV_STARTUP_PROBE, args);
    EXPECT_TRUE(WaitFor([&] {
      return host.Game() != None && Output().find("scale=") != std::string::npos;
    })) << Output();
    return game;
  }
  // Waits until the game has reported this portal state (suspended time at least
  // `suspendedAtLeast`, master volume in percent).
  bool WaitForReport(long suspendedAtLeast, long volume) {
    return WaitFor(
        [&] {
          for (const THostMessage& m : host.Receive())
            if (m.message == kPassOn && m.wParam >= suspendedAtLeast && m.lParam == volume &&
                m.wParam != 0x1234)
              return true;
          return false;
        },
        10000);
  }
  long LastSuspendedTime() {
    long last = 0;
    for (const THostMessage& m : host.Receive())
      if (m.message == kPassOn && m.wParam != 0x1234) last = m.wParam;
    return last;
  }

  TXHost host{600, 450};
  TTempDir dir;
};

}  // namespace

TEST_F(GameWindowTest, OpensTitledAndQuitsOnACloseRequest) {
  auto game = Start(TV_GAME_PROGRAM, {});
  Window window = None;
  ASSERT_TRUE(WaitFor([&] { return (window = host.FindViewable("FestraVask")) != None; }))
      << Output();
  RequestWindowClose(host.GetDisplay(), window);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

// The game's own screens: its splash is drawn, and after it the window's close button asks
// the close question (the game goes on, a dialog is drawn) until Enter answers "yes".
TEST_F(GameWindowTest, DrawsItsSplashAndAsksBeforeQuitting) {
  if (!WindowScriptHasItsLibrary()) GTEST_SKIP() << "the window script has no library yet";
  auto game = Start(TV_GAME_PROGRAM, {});
  Display* display = host.GetDisplay();
  Window window = None;
  ASSERT_TRUE(WaitFor([&] { return (window = host.FindViewable("FestraVask")) != None; }))
      << Output();
  std::vector<unsigned long> splash;
  ASSERT_TRUE(WaitFor([&] { return IsDrawn(splash = Picture(display, window)); }, 10000));
  // The first screen follows the splash.
  std::vector<unsigned long> first;
  ASSERT_TRUE(WaitFor([&] { return (first = Picture(display, window)) != splash; }, 10000));
  sleep(1);
  first = Picture(display, window);
  RequestWindowClose(display, window);
  EXPECT_EQ(game->Wait(1500), -1) << "the game quit without asking";
  EXPECT_NE(Picture(display, window), first);  // the question is drawn
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  KeyCode enter = XKeysymToKeycode(display, XK_Return);
  XTestFakeKeyEvent(display, enter, True, 0);
  XTestFakeKeyEvent(display, enter, False, 0);
  XSync(display, False);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

TEST_F(GameWindowTest, QuitsOnTheQuitEvent) {
  auto game = Start(TV_GAME_PROGRAM, {});
  ASSERT_TRUE(WaitFor([&] { return host.FindViewable("FestraVask") != None; })) << Output();
  game->Signal(SIGTERM);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

TEST_F(GameWindowTest, EmbeddedWindowIsAChildSizedToTheHost) {
  auto game = StartEmbedded({});
  ASSERT_EQ(host.Children().size(), 1u);
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(host.GetDisplay(), host.Game(), &attributes));
  EXPECT_EQ(attributes.width, 600);
  EXPECT_EQ(attributes.height, 450);
  EXPECT_NE(Output().find("scale=0.750"), std::string::npos) << Output();
  // WM_USER + 2 from the host's side is passed on unchanged.
  ASSERT_TRUE(host.Send(kPassOn, 0x1234, 0x5678));
  EXPECT_TRUE(WaitFor([&] { return host.HasReceived(kPassOn, 0x1234, 0x5678); }));
  host.Send(WM_QUIT, 0);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

TEST_F(GameWindowTest, PortalCommandsPauseResumeAndMute) {
  auto game = StartEmbedded({"-msn"});
  host.Send(WM_USER, kPortalMenu);
  EXPECT_TRUE(WaitForReport(0, 0));  // silent until the host starts the game
  host.Send(WM_USER, kPortalStart);
  EXPECT_TRUE(WaitForReport(0, 100));
  host.Send(WM_USER, kPortalMuteOn);
  EXPECT_TRUE(WaitForReport(0, 0));
  host.Send(WM_USER, kPortalMuteOff);
  EXPECT_TRUE(WaitForReport(0, 100));
  long marker = 1;
  for (uint32_t resume : {kPortalResume5, kPortalResume6, kPortalResume9, kPortalResume10}) {
    long before = LastSuspendedTime();
    host.Send(WM_USER, kPortalPause);
    // Passed on after the pause: once it is back, the pause has been handled, so the time
    // slept below is all suspended time however slowly the game runs.
    host.Send(kPassOn, 0x1234, ++marker);
    ASSERT_TRUE(WaitFor([&] { return host.HasReceived(kPassOn, 0x1234, marker); }));
    usleep(150 * 1000);
    host.Send(WM_USER, resume);
    EXPECT_TRUE(WaitForReport(before + 100, 100)) << "resume " << resume;
  }
  host.Send(WM_QUIT, 0);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

TEST_F(GameWindowTest, CommandsOutsidePortalModeAreIgnored) {
  auto game = StartEmbedded({});
  host.Send(WM_USER, kPortalMuteOn);
  host.Send(WM_USER, kPortalPause);
  // Passed on after the commands: once it is back, they have been handled.
  host.Send(kPassOn, 0x1234, 1);
  ASSERT_TRUE(WaitFor([&] { return host.HasReceived(kPassOn, 0x1234, 1); }));
  EXPECT_EQ(LastSuspendedTime(), 0);
  for (const THostMessage& m : host.Receive()) EXPECT_NE(m.lParam, 0) << "muted";
  host.Send(WM_QUIT, 0);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

TEST_F(GameWindowTest, FullScreenWishIsReportedToThePortalHost) {
  auto game = StartEmbedded({"-pq=1"});
  EXPECT_TRUE(WaitFor([&] { return host.HasReceived(WM_USER, 0, 0); }));  // the set-up's wish
  Display* display = host.GetDisplay();
  XSetInputFocus(display, host.Game(), RevertToParent, CurrentTime);
  KeyCode alt = XKeysymToKeycode(display, XK_Alt_L), enter = XKeysymToKeycode(display, XK_Return);
  XTestFakeKeyEvent(display, alt, True, 0);
  XTestFakeKeyEvent(display, enter, True, 0);
  XTestFakeKeyEvent(display, enter, False, 0);
  XTestFakeKeyEvent(display, alt, False, 0);
  XSync(display, False);
  EXPECT_TRUE(WaitFor([&] { return host.HasReceived(WM_USER, 1, 0); }, 5000));
  host.Send(WM_QUIT, 0);
  EXPECT_EQ(game->Wait(), 0) << Output();
}

TEST_F(GameWindowTest, GameEndsWhenItsHostGoesAway) {
  auto game = StartEmbedded({"-msn"});
  Window gameWindow = host.Game();
  host.DestroyWindow();
  EXPECT_EQ(game->Wait(), 0) << Output();
  EXPECT_NE(Output().find("\nquit\n"), std::string::npos) << Output();
  // Posting to the window that has gone is silent.
  EXPECT_FALSE(PostHostMessage(host.GetDisplay(), gameWindow, {WM_USER, kPortalPause, 0}));
}
