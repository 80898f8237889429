// The game's first start (full screen by default) on X servers of its own: without a window
// manager and with a light one, on a 5:4 and a 16:9 screen. Full screen must cover the screen,
// and the 800 x 600 frame must be scaled into it whole, its aspect kept: black bars above and
// below on 5:4, at the sides on 16:9, never a crop. A screenshot of each screen is saved in the
// test's folder (first_start_<manager>_<width>x<height>.png).
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tvlib/platform/headless/TPngWriter.h"
#include "tvlib/platform/x11/XWindowManager.h"

// Last: Xlib's macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/game/main/XHost.h"
#include "tests/support/XDisplayOpen.h"

namespace {

// A program on the search path, or empty.
std::string FindProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string candidate = folders.substr(start, end - start) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

struct TScreenCase {
  const char* manager;  // "none", or the window manager's program
  int width, height;
};

class FirstStartTest : public testing::TestWithParam<TScreenCase> {
 protected:
  // Windows of the game and the manager may go while the tree is walked: that is no error.
  void SetUp() override {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  // The manager and the server are asked to end, so the server removes its socket and lock.
  void TearDown() override {
    if (mDisplay) XCloseDisplay(mDisplay);
    for (auto* child : {mManager.get(), mServer.get()}) {
      if (!child) continue;
      child->Signal(SIGTERM);
      child->Wait(5000);
    }
  }

  // Starts a private X server of the case's size; its display name, or empty.
  std::string StartServer() {
    const std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) return "";
    const std::string screen =
        std::to_string(GetParam().width) + "x" + std::to_string(GetParam().height) + "x24";
    // The server picks a free display number and writes it to its output, on a line of its
    // own (numbers taken by other servers are reported there too, and skipped). Servers of
    // other tests start at the same time and may take the number it picked: then it is
    // tried again.
    for (int attempt = 0; attempt < 5; ++attempt) {
      mServer = std::make_unique<TChildProcess>(
          std::vector<std::string>{xvfb, "-displayfd", "1", "-screen", "0", screen, "-nolisten",
                                   "tcp"},
          TChildProcess::TEnvironment{}, mDir.Path().string(), mDir / "xvfb.out");
      std::string number;
      WaitFor(
          [&] {
            std::istringstream lines(ReadWholeFile(mDir / "xvfb.out"));
            for (std::string line; std::getline(lines, line);) {
              if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos)
                number = line;
            }
            return !number.empty();
          },
          5000);
      if (!number.empty()) return ":" + number;
      mServer.reset();
    }
    return "";
  }

  // The screen as shown, ARGB.
  std::vector<uint32_t> Screenshot() {
    const int width = GetParam().width, height = GetParam().height;
    std::vector<uint32_t> pixels;
    XImage* image =
        XGetImage(mDisplay, DefaultRootWindow(mDisplay), 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels[size_t(y) * width + x] = 0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFFu);
    XDestroyImage(image);
    return pixels;
  }

  TTempDir mDir;
  std::unique_ptr<TChildProcess> mServer, mManager;
  Display* mDisplay = nullptr;
};

TEST_P(FirstStartTest, FullScreenCoversTheScreenWithTheWholeFrameScaledIntoIt) {
  const TScreenCase& c = GetParam();
  const std::string display = StartServer();
  ASSERT_FALSE(display.empty()) << "no private X server (Xvfb): "
                                << ReadWholeFile(mDir / "xvfb.out");
  mDisplay = OpenTestDisplay(display.c_str());
  ASSERT_NE(mDisplay, nullptr) << display;
  if (std::string(c.manager) != "none") {
    const std::string manager = FindProgram(c.manager);
    ASSERT_FALSE(manager.empty()) << c.manager << " is not installed (a test package)";
    // A bare X server has only its built-in fonts: the manager is told to use one of them.
    mManager = std::make_unique<TChildProcess>(std::vector<std::string>{manager, "-fn", "fixed"},
                                               TChildProcess::TEnvironment{{"DISPLAY", display}},
                                               mDir.Path().string(), mDir / "manager.out");
    ASSERT_TRUE(WaitFor([&] { return QueryXWindowManager(mDisplay) != TXWindowManager::kNone; }))
        << ReadWholeFile(mDir / "manager.out");
  }

  TChildProcess game({TV_GAME_PROGRAM},
                     {{"DISPLAY", display},
                      {"TV_WINDOW_BACKEND", "sdl"},
                      {"XDG_DATA_HOME", mDir / "data"},
                      {"ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1"}},
                     mDir.Path().string(), mDir / "game.out");
  Window window = None;
  ASSERT_TRUE(WaitFor([&] {
    return (window = FindViewableBelow(mDisplay, DefaultRootWindow(mDisplay), "FestraVask")) !=
           None;
  })) << ReadWholeFile(mDir / "game.out");

  // The window settles where full screen puts it: over the whole screen.
  int x = -1, y = -1;
  unsigned width = 0, height = 0;
  const bool covers = WaitFor(
      [&] {
        Window root, child;
        unsigned border = 0, depth = 0;
        int wx = 0, wy = 0;
        if (!XGetGeometry(mDisplay, window, &root, &wx, &wy, &width, &height, &border, &depth))
          return false;
        XTranslateCoordinates(mDisplay, window, root, 0, 0, &x, &y, &child);
        return x == 0 && y == 0 && int(width) == c.width && int(height) == c.height;
      },
      10000);
  EXPECT_TRUE(covers) << "the window lies at " << x << "," << y << ", " << width << "x" << height;

  // The frame, scaled with its aspect kept, centred between black bars.
  const int frameWidth = c.width * 3 >= c.height * 4 ? c.height * 4 / 3 : c.width;
  const int frameHeight = frameWidth * 3 / 4;
  const int left = (c.width - frameWidth) / 2, top = (c.height - frameHeight) / 2;
  std::vector<uint32_t> shot;
  auto blackOutside = [&] {
    for (int sy = 0; sy < c.height; ++sy)
      for (int sx = 0; sx < c.width; ++sx) {
        const bool bar =
            sx < left - 1 || sx > left + frameWidth || sy < top - 1 || sy > top + frameHeight;
        if (bar && (shot[size_t(sy) * c.width + sx] & 0xFFFFFFu) != 0) return false;
      }
    return true;
  };
  // The garden of the splash reaches every edge of the frame.
  auto drawnToItsEdges = [&] {
    int inked[4] = {};
    for (int i = 4; i < 60; ++i) {
      const int across = left + frameWidth * i / 64, down = top + frameHeight * i / 64;
      inked[0] += (shot[size_t(top + 1) * c.width + across] & 0xFFFFFFu) != 0;
      inked[1] += (shot[size_t(top + frameHeight - 2) * c.width + across] & 0xFFFFFFu) != 0;
      inked[2] += (shot[size_t(down) * c.width + left + 1] & 0xFFFFFFu) != 0;
      inked[3] += (shot[size_t(down) * c.width + left + frameWidth - 2] & 0xFFFFFFu) != 0;
    }
    return inked[0] > 40 && inked[1] > 40 && inked[2] > 40 && inked[3] > 40;
  };
  const bool placed = WaitFor(
      [&] {
        shot = Screenshot();
        return !shot.empty() && blackOutside() && drawnToItsEdges();
      },
      10000);
  const std::string picture = std::string("first_start_") + c.manager + "_" +
                              std::to_string(c.width) + "x" + std::to_string(c.height) + ".png";
  if (!shot.empty()) sd::WriteArgbPng(picture.c_str(), shot.data(), c.width, c.height, c.width);
  EXPECT_TRUE(placed) << "the frame is not " << frameWidth << "x" << frameHeight << " at " << left
                      << "," << top << " between black bars; see " << picture << " in "
                      << std::filesystem::current_path();

  game.Signal(SIGTERM);
  EXPECT_EQ(game.Wait(), 0) << ReadWholeFile(mDir / "game.out");
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstStartTest,
                         testing::Values(TScreenCase{"none", 1280, 1024},
                                         TScreenCase{"none", 1366, 768},
                                         TScreenCase{"evilwm", 1280, 1024},
                                         TScreenCase{"evilwm", 1366, 768}),
                         [](const testing::TestParamInfo<TScreenCase>& info) {
                           return std::string(info.param.manager) + "_" +
                                  std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

}  // namespace
