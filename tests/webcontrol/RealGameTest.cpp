// The players' control library with the game it carries, in festravask-host on the test X
// server, the page giving MSN: the game's window lives in the control's window, GameStart
// lets it run (the host's picture is saved as realgame_started.png beside the test's
// output), PauseOn stops the game's clock until PauseOff, MuteOn silences it until MuteOff,
// and quitting the page removes the game's folder.
//
// With TV_DEBUG_OUTPUT the game prints each page command it takes, with its clock and
// whether its sound is muted; with TV_AUDIO=wav it writes its sound to a WAV file. The test
// reads both.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tvlib/platform/headless/TPngWriter.h"

// Last: Xlib's macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace fs = std::filesystem;

namespace {

constexpr size_t kWavHeaderBytes = 44;
constexpr size_t kBytesPerSecond = 44100 * 2 * 2;

void Sleep(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::vector<Window> Children(Display* display, Window window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> list;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return list;
  list.assign(children, children + count);
  if (children) XFree(children);
  return list;
}

class RealGameTest : public testing::Test {
 protected:
  void SetUp() override {
    mDisplay = XOpenDisplay(nullptr);
    if (!mDisplay) GTEST_SKIP() << "no X display";
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows come and go
    signal(SIGPIPE, SIG_IGN);
    fs::create_directory(mDir / "tmp");
  }
  void TearDown() override {
    if (mDisplay) XCloseDisplay(mDisplay);
  }

  TChildProcess::TEnvironment Environment() const {
    return {{"XDG_DATA_HOME", mDir / "data"},
            {"TMPDIR", mDir / "tmp"},
            {"TV_DEBUG_OUTPUT", "1"},
            {"TV_AUDIO", "wav"},
            {"TV_AUDIO_FILE", mDir / "sound.wav"},
            {"HOME", mDir.Path().string()}};
  }
  int Register() {
    TChildProcess registering({FV_HOST, "--register", FV_PRODUCT_CONTROL}, Environment(),
                              mDir.Path().string(), mDir / "register.out");
    return registering.Wait();
  }

  std::string Output() const { return ReadWholeFile(mDir / "out"); }
  // The game's report of the page command `code`: its clock after it, and its sound.
  struct TCommandReport {
    unsigned clock = 0;
    std::string sound;
  };
  std::optional<TCommandReport> CommandReport(int code) const {
    std::istringstream out(Output());
    std::string wanted = "portal command " + std::to_string(code) + ": clock ";
    for (std::string line; std::getline(out, line);) {
      if (line.rfind(wanted, 0) != 0) continue;
      TCommandReport report;
      std::istringstream rest(line.substr(wanted.size()));
      std::string ms, soundWord;
      rest >> report.clock >> ms >> soundWord >> report.sound;
      return report;
    }
    return std::nullopt;
  }
  // Sends a method to the page and waits for the game's report of its command.
  TCommandReport Command(TChildProcess& host, const std::string& method, int code) {
    host.WriteInput(method + "\n");
    std::optional<TCommandReport> report;
    EXPECT_TRUE(WaitFor([&] { return (report = CommandReport(code)).has_value(); }, 20000))
        << method << "\n"
        << Output();
    return report.value_or(TCommandReport{});
  }
  // The sound of the last `ms` milliseconds written: whether any sample is not silent.
  bool HeardInLast(int ms) const {
    std::string wav = ReadWholeFile(mDir / "sound.wav");
    if (wav.size() <= kWavHeaderBytes) return false;
    size_t span = kBytesPerSecond * static_cast<size_t>(ms) / 1000;
    size_t from = std::max(kWavHeaderBytes, (wav.size() - span) & ~size_t{3});
    for (size_t at = from; at + 1 < wav.size(); at += 2)
      if (wav[at] != 0 || wav[at + 1] != 0) return true;
    return false;
  }
  size_t SoundBytes() const {
    std::error_code error;
    auto size = fs::file_size(mDir / "sound.wav", error);
    return error ? 0 : size;
  }

  Window FindPage() {
    for (Window window : Children(mDisplay, DefaultRootWindow(mDisplay))) {
      char* name = nullptr;
      bool page =
          XFetchName(mDisplay, window, &name) && name && std::string(name) == "FestraVask page";
      if (name) XFree(name);
      if (page) return window;
    }
    return None;
  }

  void SavePicture(Window window, const std::string& path) {
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(mDisplay, window, &attributes));
    XImage* image =
        XGetImage(mDisplay, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    std::vector<uint32_t> argb;
    std::set<uint32_t> colours;
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
        argb.push_back(0xFF000000 | pixel);
        if (colours.size() < 64) colours.insert(pixel);
      }
    }
    XDestroyImage(image);
    sd::WriteArgbPng(path.c_str(), argb.data(), attributes.width, attributes.height,
                     attributes.width);
    EXPECT_GE(colours.size(), 16u) << "the game drew a picture, not a plain colour: " << path;
  }

  Display* mDisplay = nullptr;
  TTempDir mDir;
};

}  // namespace

TEST_F(RealGameTest, TheCarriedGamePlaysInThePageAndFollowsItsCommands) {
  ASSERT_EQ(Register(), 0) << ReadWholeFile(mDir / "register.out");
  TChildProcess host({FV_HOST, "--param", "MSN=1"}, Environment(), mDir.Path().string(),
                     mDir / "out", true);
  ASSERT_TRUE(WaitFor([&] { return Output().find("state running") != std::string::npos; }, 60000))
      << Output();

  // The game unpacked into one private folder of the designed name.
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(mDir / "tmp"))
    if (entry.path().filename().string().rfind("tv_FestraVask", 0) == 0)
      folders.push_back(entry.path());
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].filename().string().rfind("tv_FestraVask.1.0.0.48", 0), 0u);
  EXPECT_TRUE(fs::exists(folders[0] / "assets" / "assets.tvp"));
  EXPECT_TRUE(fs::exists(folders[0] / "credits.txt"));  // web play has its credits too

  // Page, control, game: the game's window is the control window's only child.
  Window page = None;
  ASSERT_TRUE(WaitFor([&] { return (page = FindPage()) != None; }));
  std::vector<Window> controls = Children(mDisplay, page);
  ASSERT_EQ(controls.size(), 1u);
  Window control = controls[0];
  std::vector<Window> games;
  ASSERT_TRUE(WaitFor([&] { return !(games = Children(mDisplay, control)).empty(); }, 60000))
      << Output();
  EXPECT_EQ(games.size(), 1u);
  XWindowAttributes game;
  ASSERT_TRUE(XGetWindowAttributes(mDisplay, games[0], &game));
  // It fills the control's window: the page's whole client area.
  EXPECT_TRUE(WaitFor([&] {
    return XGetWindowAttributes(mDisplay, games[0], &game) && game.x == 0 && game.y == 0 &&
           game.width == 800 && game.height == 600;
  })) << game.x
      << "," << game.y << " " << game.width << "x" << game.height;

  // In portal mode the game is silent until the page starts it.
  ASSERT_TRUE(WaitFor([&] { return SoundBytes() > kWavHeaderBytes + kBytesPerSecond; }, 30000));
  EXPECT_FALSE(HeardInLast(1000));
  EXPECT_EQ(Command(host, "GameStart", 7).sound, "on");
  Sleep(3000);
  SavePicture(page, "realgame_started.png");

  // Paused: the game's clock stands still, and its sound is off, until the page resumes it.
  TCommandReport paused = Command(host, "PauseOn", 4);
  EXPECT_EQ(paused.sound, "muted");
  Sleep(2500);
  TCommandReport resumed = Command(host, "PauseOff", 5);
  EXPECT_EQ(resumed.sound, "on");
  EXPECT_LT(resumed.clock - paused.clock, 500u) << "the clock went on while paused";

  // Muted: silence until the page turns the sound back on; the clock runs meanwhile.
  Sleep(1000);
  TCommandReport muted = Command(host, "MuteOn", 2);
  EXPECT_EQ(muted.sound, "muted");
  EXPECT_GE(muted.clock - resumed.clock, 900u) << "the clock stood still after the pause";
  Sleep(1500);
  EXPECT_FALSE(HeardInLast(1000)) << "sound while muted";
  EXPECT_EQ(Command(host, "MuteOff", 3).sound, "on");

  // The page goes: the game quits and its folder is removed.
  host.WriteInput("quit\n");
  EXPECT_EQ(host.Wait(30000), 0) << Output();
  // (The game keeps its own log in a folder of its own there.)
  for (const auto& entry : fs::directory_iterator(mDir / "tmp"))
    EXPECT_NE(entry.path().filename().string().rfind("tv_FestraVask", 0), 0u) << entry.path();
}
