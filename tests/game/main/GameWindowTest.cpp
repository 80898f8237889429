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
#include "tvlib/platform/headless/TPngWriter.h"
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

// The whole window as ARGB pixels, saved as a PNG named `file` in the test's folder.
std::vector<uint32_t> SaveWindow(Display* display, Window window, const char* file, int* width,
                                 int* height) {
  std::vector<uint32_t> pixels;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return pixels;
  XImage* image =
      XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (!image) return pixels;
  *width = attributes.width;
  *height = attributes.height;
  pixels.resize(size_t(*width) * *height);
  for (int y = 0; y < *height; ++y)
    for (int x = 0; x < *width; ++x)
      pixels[size_t(y) * *width + x] = 0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFFu);
  XDestroyImage(image);
  sd::WriteArgbPng(file, pixels.data(), *width, *height, *width);
  return pixels;
}

// Where a point of the 800 x 600 frame lies in a window of the given size: the frame is
// scaled into it with its aspect kept, centred.
struct TFrameMapping {
  int width = 0, height = 0;
  int FrameWidth() const { return width * 3 >= height * 4 ? height * 4 / 3 : width; }
  int X(int frameX) const { return (width - FrameWidth()) / 2 + frameX * FrameWidth() / 800; }
  int Y(int frameY) const {
    return (height - FrameWidth() * 3 / 4) / 2 + frameY * FrameWidth() / 800;
  }
};

uint32_t PixelAt(const std::vector<uint32_t>& pixels, const TFrameMapping& frame, int x, int y) {
  if (pixels.empty() || frame.width <= 0) return 0;
  return pixels[size_t(frame.Y(y)) * frame.width + frame.X(x)] & 0xFFFFFFu;
}
bool IsGolden(uint32_t p) {
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return r > 0xC0 && r > g && g > b + 40;
}
bool IsRose(uint32_t p) {
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return r > 0xB0 && r > g + 40 && r > b + 20;
}

// The game starts into its main menu: the splash is drawn first, then the menu with its
// buttons on the panel at the left; its story button opens the venue map of a new player,
// whose first level's dot is open. Pictures of the three screens are kept in the test's
// folder: start_splash.png, start_main_menu.png and start_map.png.
TEST_F(GameWindowTest, StartsIntoTheMainMenuAfterTheSplashAndOpensTheMap) {
  if (!WindowScriptHasItsLibrary()) GTEST_SKIP() << "the window script has no library yet";
  auto game = Start(TV_GAME_PROGRAM, {});
  Display* display = host.GetDisplay();
  Window window = None;
  ASSERT_TRUE(WaitFor([&] { return (window = host.FindViewable("FestraVask")) != None; }))
      << Output();
  std::vector<unsigned long> splash;
  ASSERT_TRUE(WaitFor([&] { return IsDrawn(splash = Picture(display, window)); }, 10000));
  TFrameMapping frame;
  std::vector<uint32_t> shot =
      SaveWindow(display, window, "start_splash.png", &frame.width, &frame.height);
  // A spot of the story button's face beside its label (the panel at 40,250, the button at
  // 70,34 in it).
  EXPECT_FALSE(IsGolden(PixelAt(shot, frame, 130, 292)));
  const bool menu = WaitFor(
      [&] {
        shot = SaveWindow(display, window, "start_main_menu.png", &frame.width, &frame.height);
        return IsGolden(PixelAt(shot, frame, 130, 292));
      },
      15000);
  ASSERT_TRUE(menu) << "no main menu after the splash; see start_main_menu.png" << Output();

  // The first level's dot (its marker at 54,480) is open; the side panel is there. A click
  // the busy game has not seen yet is given again.
  auto mapShown = [&] {
    shot = SaveWindow(display, window, "start_map.png", &frame.width, &frame.height);
    return IsRose(PixelAt(shot, frame, 64, 490)) && !IsGolden(PixelAt(shot, frame, 130, 292));
  };
  bool map = false;
  for (int attempt = 0; attempt < 3 && !map; ++attempt) {
    XWarpPointer(display, None, window, 0, 0, 0, 0, frame.X(220) - 4, frame.Y(308));
    XSync(display, False);
    usleep(100 * 1000);
    XWarpPointer(display, None, window, 0, 0, 0, 0, frame.X(220), frame.Y(308));
    XSync(display, False);
    usleep(100 * 1000);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
    usleep(100 * 1000);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
    map = WaitFor(mapShown, 5000);
  }
  EXPECT_TRUE(map) << "no venue map after the story button; see start_map.png" << Output();
  game->Signal(SIGTERM);
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
