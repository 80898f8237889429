// The control on the test X server: its window in a page window, its launcher started once,
// the page's commands reaching a stand-in game, the game's scripts reaching the page, its
// line of text in each state, and silence when a window has gone.
//
// Each state's picture is saved as control_<state>.png in the test's working folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/webcontrol/TProgramLauncher.h"
#include "tvlib/platform/headless/TPngWriter.h"
#include "webcontrol/CTarvolenFestraVaskControl.h"
#include "webcontrol/ControlMethods.h"

// Last: Xlib's macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr char kScript[] = "window.gameEvent('levelWon', 3, \"caf\xE9\");";

// The control's picture: its pixels, and the span of dark pixels inside its border.
struct TPicture {
  int textLeft = -1;
  int textRight = -1;
  int textTop = -1;
  int textBottom = -1;
  bool HasText() const { return textLeft >= 0; }
};

class ControlWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    mDisplay = XOpenDisplay(nullptr);
    if (!mDisplay) GTEST_SKIP() << "no X display";
    mPage = MakePage();
    setenv("FAKE_GAME_LOG", (mDir / "game.log").c_str(), 1);
    setenv("FAKE_GAME_SCRIPT", kScript, 1);
  }
  void TearDown() override {
    if (!mDisplay) return;
    XDestroyWindow(mDisplay, mPage);
    XCloseDisplay(mDisplay);
  }

  Window MakePage() {
    Window page =
        XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 800, 600, 0, 0, 0);
    XMapWindow(mDisplay, page);
    XSync(mDisplay, False);
    return page;
  }

  // A control whose launcher starts `program`, after `gate` when one is given.
  std::unique_ptr<CTarvolenFestraVaskControl> MakeControl(const std::string& program,
                                                          std::shared_future<void> gate = {}) {
    auto launcher = std::make_unique<TProgramLauncher>(program, std::move(gate));
    mLauncher = launcher.get();
    return std::make_unique<CTarvolenFestraVaskControl>(std::move(launcher));
  }
  unsigned long CreateWindow(CTarvolenFestraVaskControl& control, Window page) {
    return control.CreateControlWindow(DisplayString(mDisplay), page, 0, 0, 800, 600);
  }

  // Waits for `condition` while the control handles its events.
  template <typename F>
  bool Pump(CTarvolenFestraVaskControl& control, F condition) {
    return WaitFor([&] {
      control.DispatchEvents();
      return condition();
    });
  }

  std::vector<std::string> GameLog() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadWholeFile(mDir / "game.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool GameLogged(const std::string& line) const {
    for (const std::string& logged : GameLog())
      if (logged == line) return true;
    return false;
  }
  std::vector<std::string> GameMessages() const {
    std::vector<std::string> messages;
    for (const std::string& line : GameLog())
      if (line.rfind("message ", 0) == 0) messages.push_back(line.substr(8));
    return messages;
  }

  // Reads the window, saves it as control_<name>.png and finds its text.
  TPicture Capture(Window window, const char* name) {
    XWindowAttributes attributes;
    TPicture picture;
    if (!XGetWindowAttributes(mDisplay, window, &attributes)) return picture;
    XImage* image =
        XGetImage(mDisplay, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return picture;
    std::vector<uint32_t> argb;
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
        argb.push_back(0xFF000000 | pixel);
        bool inside = x > 0 && y > 0 && x < attributes.width - 1 && y < attributes.height - 1;
        if (!inside || pixel != 0) continue;
        if (picture.textLeft < 0 || x < picture.textLeft) picture.textLeft = x;
        picture.textRight = std::max(picture.textRight, x);
        if (picture.textTop < 0) picture.textTop = y;
        picture.textBottom = y;
      }
    }
    XDestroyImage(image);
    sd::WriteArgbPng((std::string("control_") + name + ".png").c_str(), argb.data(),
                     attributes.width, attributes.height, attributes.width);
    return picture;
  }

  Display* mDisplay = nullptr;
  Window mPage = None;
  TTempDir mDir;
  TProgramLauncher* mLauncher = nullptr;
};

}  // namespace

TEST_F(ControlWindowTest, TheGameGetsThePageCommandsInOrderAndLoadGamePostsNothing) {
  auto control = MakeControl(FV_FAKE_GAME);
  unsigned long window = CreateWindow(*control, mPage);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(Pump(*control, [&] { return GameLogged("ready"); }));
  char argv[64];
  std::snprintf(argv, sizeof argv, "argv -wnd=%lx", window);
  EXPECT_EQ(GameLog().front(), argv);
  EXPECT_EQ(control->GetState(), FV_STATE_RUNNING);

  // The page calls every method, in the order of the codes they post.
  for (const char* name : {"GameMenu", "MuteOn", "MuteOff", "PauseOn", "PauseOff", "GameContinue",
                           "GameStart", "RestartGame", "SessionStart", "LoadGame"})
    EXPECT_TRUE(control->Invoke(FindControlMethod(name)->dispid)) << name;
  EXPECT_FALSE(control->Invoke(12));
  std::vector<std::string> scripts;
  control->SetScriptHandler([&](const std::string& script) { scripts.push_back(script); });
  EXPECT_TRUE(control->Invoke(FindControlMethod("CustomReturn")->dispid));
  ASSERT_TRUE(Pump(*control, [&] { return GameMessages().size() >= 10; }));
  std::vector<std::string> expected;
  for (int code = 1; code <= 10; ++code) expected.push_back("1024 " + std::to_string(code) + " 0");
  EXPECT_EQ(GameMessages(), expected);

  // CustomReturn makes the stand-in game send its script to the page, in six messages.
  ASSERT_TRUE(Pump(*control, [&] { return !scripts.empty(); }));
  EXPECT_EQ(scripts, std::vector<std::string>{kScript});

  // Teardown: the game is told to quit, and the control waits for its launcher.
  control.reset();
  EXPECT_TRUE(GameLogged("message 18 0 0"));
  EXPECT_EQ(GameLog().back(), "quit");
}

TEST_F(ControlWindowTest, TheWindowShowsOneLineOfTextForEachState) {
  // Loading: the launcher waits at its gate.
  std::promise<void> gate;
  auto loading = MakeControl("/bin/true", gate.get_future().share());
  EXPECT_STREQ(loading->GetStatusText(), kStatusLoading);
  Window window = CreateWindow(*loading, mPage);
  ASSERT_NE(window, 0u);
  TPicture picture;
  ASSERT_TRUE(Pump(*loading, [&] { return (picture = Capture(window, "loading")).HasText(); }));
  EXPECT_EQ(loading->GetState(), FV_STATE_LOADING);
  // Centred, its baseline at the middle.
  EXPECT_NEAR((picture.textLeft + picture.textRight) / 2.0, 400, 4);
  EXPECT_LE(picture.textBottom, 302);
  EXPECT_GE(picture.textBottom, 296);
  int loadingWidth = picture.textRight - picture.textLeft;

  // Started: nothing (a program that ends at once leaves the control to show itself).
  gate.set_value();
  ASSERT_TRUE(Pump(*loading, [&] { return loading->GetState() == FV_STATE_FINISHED; }));
  EXPECT_STREQ(loading->GetStatusText(), "");
  ASSERT_TRUE(Pump(*loading, [&] { return !Capture(window, "finished").HasText(); }));
  loading.reset();

  // Failed: the program could not be started.
  auto failed = MakeControl((mDir / "no-such-game").c_str());
  window = CreateWindow(*failed, mPage);
  ASSERT_TRUE(Pump(*failed, [&] { return failed->GetState() == FV_STATE_FAILED; }));
  EXPECT_STREQ(failed->GetStatusText(), kStatusCannotRun);
  ASSERT_TRUE(Pump(*failed, [&] { return (picture = Capture(window, "failed")).HasText(); }));
  EXPECT_NEAR((picture.textLeft + picture.textRight) / 2.0, 400, 4);
  EXPECT_GT(picture.textRight - picture.textLeft, loadingWidth);  // the longer text
}

TEST_F(ControlWindowTest, TheLauncherStartsOnlyAtTheFirstWindowCreation) {
  auto control = MakeControl("/bin/true");
  Window gone = XCreateSimpleWindow(mDisplay, mPage, 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(mDisplay, gone);
  XSync(mDisplay, False);
  EXPECT_EQ(CreateWindow(*control, gone), 0u) << "a window in a parent that has gone";
  EXPECT_NE(CreateWindow(*control, mPage), 0u);
  EXPECT_EQ(CreateWindow(*control, mPage), 0u) << "a second window while the first exists";
  ASSERT_TRUE(Pump(*control, [&] { return control->GetState() == FV_STATE_FINISHED; }));
  // The page goes, and the control's window with it; a new page gets a new window.
  XDestroyWindow(mDisplay, mPage);
  XSync(mDisplay, False);
  mPage = MakePage();
  ASSERT_TRUE(Pump(*control, [&] { return !control->GetWindow().Exists(); }));
  EXPECT_NE(CreateWindow(*control, mPage), 0u);
  control->DispatchEvents();
  EXPECT_EQ(mLauncher->GetRuns(), 1);
  EXPECT_EQ(control->GetState(), FV_STATE_FINISHED);
}

TEST_F(ControlWindowTest, AControlWithoutAWindowStartsNothingAndGoesAtOnce) {
  auto control = MakeControl(FV_FAKE_GAME);
  EXPECT_TRUE(control->Invoke(7));  // no game window: nothing is posted, and no failure
  EXPECT_EQ(mLauncher->GetRuns(), 0);
  control.reset();
  EXPECT_FALSE(std::filesystem::exists(mDir / "game.log"));
}

TEST_F(ControlWindowTest, PostingToAWindowThatHasGoneIsSilent) {
  auto control = MakeControl("/bin/true");
  ASSERT_NE(CreateWindow(*control, mPage), 0u);
  Window gone = XCreateSimpleWindow(mDisplay, mPage, 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(mDisplay, gone);
  XSync(mDisplay, False);
  // Without the control's error handler, Xlib's default one would end the test program.
  control->GetWindow().Post(gone, {kHostCommand, kPortalStart, 0});
  control->DispatchEvents();
  XSync(mDisplay, False);
  // The control's window goes with its page; the methods still answer.
  XDestroyWindow(mDisplay, mPage);
  XSync(mDisplay, False);
  mPage = MakePage();
  ASSERT_TRUE(Pump(*control, [&] { return !control->GetWindow().Exists(); }));
  EXPECT_TRUE(control->Invoke(FindControlMethod("PauseOn")->dispid));
  control->DispatchEvents();
}
