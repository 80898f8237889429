// The players' control library with the game it carries, in festravask-host on the test X
// server, the page giving MSN: the game's window lives in the control's window, GameStart
// lets it run (the host's picture is saved as realgame_started.png beside the test's
// output), PauseOn stops its frames until PauseOff, MuteOn silences it until MuteOff, and
// quitting the page removes the game's folder.
//
// The game prints its frame rate about once a second while it draws frames (TV_DEBUG_OUTPUT)
// and writes its sound to a WAV file (TV_AUDIO=wav): the test reads both.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/shell/ChildProcess.h"
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
  int FrameReports() const {
    std::string out = Output();
    int count = 0;
    for (size_t at = out.find("fps: "); at != std::string::npos; at = out.find("fps: ", at + 1))
      ++count;
    return count;
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
  for (const auto& entry : fs::directory_iterator(mDir / "tmp")) folders.push_back(entry.path());
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].filename().string().rfind("tv_FestraVask.1.0.0.48", 0), 0u);
  EXPECT_TRUE(fs::exists(folders[0] / "assets" / "assets.tvp"));

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
  EXPECT_EQ(game.width, 800);
  EXPECT_EQ(game.height, 600);

  // In portal mode the game is silent until the page starts it.
  ASSERT_TRUE(WaitFor([&] { return SoundBytes() > kWavHeaderBytes + kBytesPerSecond; }, 30000));
  EXPECT_FALSE(HeardInLast(1000));
  host.WriteInput("GameStart\n");
  ASSERT_TRUE(WaitFor([&] { return FrameReports() >= 3; }, 30000)) << Output();
  Sleep(3000);
  SavePicture(page, "realgame_started.png");
  bool heardWhenStarted = HeardInLast(1000);

  // Paused: no frames are drawn until the page resumes the game.
  host.WriteInput("PauseOn\n");
  Sleep(1500);
  int framesWhenPaused = FrameReports();
  Sleep(2500);
  EXPECT_EQ(FrameReports(), framesWhenPaused) << "frames went on while paused";
  EXPECT_FALSE(HeardInLast(1000)) << "sound went on while paused";
  host.WriteInput("PauseOff\n");
  EXPECT_TRUE(WaitFor([&] { return FrameReports() > framesWhenPaused; }, 10000));

  // Muted: silence until the page turns the sound back on.
  host.WriteInput("MuteOn\n");
  Sleep(1500);
  EXPECT_FALSE(HeardInLast(1000)) << "sound while muted";
  host.WriteInput("MuteOff\n");
  Sleep(1500);
  EXPECT_EQ(HeardInLast(1000), heardWhenStarted) << "the sound came back as it was";
  RecordProperty("sound_after_start", heardWhenStarted ? "heard" : "silent");

  // The page goes: the game quits and its folder is removed.
  host.WriteInput("quit\n");
  EXPECT_EQ(host.Wait(30000), 0) << Output();
  EXPECT_TRUE(fs::is_empty(mDir / "tmp"));
}
