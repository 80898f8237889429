// The game's launcher on the test X server, with the stand-in game carried in a small test
// cabinet: the folder it unpacks into and what it holds, the game's exact command line for
// each set of page parameters, the game's working folder, teardown, and the failures.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "webcontrol/CTarvolenFestraVaskControl.h"
#include "webcontrol/GameCommandLine.h"
#include "webcontrol/TGameLauncher.h"

// Last: Xlib's macros.
#include <X11/Xlib.h>

namespace fs = std::filesystem;

namespace {

constexpr char kHost[] = "/opt/page/host";

// Runs the game's launcher once `gate` is open, so that a test can change the page first.
class TGatedLauncher final : public TLauncher {
 public:
  TGatedLauncher(std::unique_ptr<TLauncher> launcher, std::shared_future<void> gate)
      : mLauncher(std::move(launcher)), mGate(std::move(gate)) {}
  void Run(TLaunchSite& site) override {
    mGate.wait();
    mLauncher->Run(site);
  }

 private:
  std::unique_ptr<TLauncher> mLauncher;
  std::shared_future<void> mGate;
};

class GameLauncherTest : public testing::Test {
 protected:
  void SetUp() override {
    mDisplay = XOpenDisplay(nullptr);
    if (!mDisplay) GTEST_SKIP() << "no X display";
    mPage = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 800, 600, 0, 0, 0);
    XMapWindow(mDisplay, mPage);
    XSync(mDisplay, False);
    mCabinet = ReadWholeFile(FV_TEST_CABINET);
    fs::create_directory(mDir / "tmp");
    mSavedTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", (mDir / "tmp").c_str(), 1);
    setenv("FAKE_GAME_LOG", (mDir / "game.log").c_str(), 1);
    unsetenv("FAKE_GAME_STUBBORN");
  }
  void TearDown() override {
    if (!mDisplay) return;
    if (mSavedTmp.empty())
      unsetenv("TMPDIR");
    else
      setenv("TMPDIR", mSavedTmp.c_str(), 1);
    XDestroyWindow(mDisplay, mPage);
    XCloseDisplay(mDisplay);
  }

  std::unique_ptr<TLauncher> GameLauncher(bool withCabinet = true) {
    std::span<const unsigned char> cabinet;
    if (withCabinet)
      cabinet = {reinterpret_cast<const unsigned char*>(mCabinet.data()), mCabinet.size()};
    return std::make_unique<TGameLauncher>(cabinet, kHost);
  }
  std::unique_ptr<CTarvolenFestraVaskControl> MakeControl(std::unique_ptr<TLauncher> launcher,
                                                          const std::vector<fv_param>& params) {
    auto control = std::make_unique<CTarvolenFestraVaskControl>(std::move(launcher));
    control->Load(params.data(), params.size());
    return control;
  }
  unsigned long CreateWindow(CTarvolenFestraVaskControl& control) {
    return control.CreateControlWindow(DisplayString(mDisplay), mPage, 0, 0, 800, 600);
  }
  template <typename F>
  bool Pump(CTarvolenFestraVaskControl& control, F condition, int limitMs = 20000) {
    return WaitFor(
        [&] {
          control.DispatchEvents();
          return condition();
        },
        limitMs);
  }

  std::vector<std::string> GameLog() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadWholeFile(mDir / "game.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool GameLogged(const std::string& wanted) const {
    std::vector<std::string> lines = GameLog();
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
  }
  // The game folders in the temporary folder.
  std::vector<fs::path> GameFolders() const {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(mDir / "tmp")) folders.push_back(entry.path());
    return folders;
  }

  Display* mDisplay = nullptr;
  Window mPage = None;
  TTempDir mDir;
  std::string mCabinet;
  std::string mSavedTmp;
};

}  // namespace

TEST_F(GameLauncherTest, TheGameRunsInItsOwnFolderWithTheDesignedCommandLine) {
  struct TCase {
    std::vector<fv_param> params;
    const char* switches;  // after "festravasklongnamenospace.exe -wnd=<window>"
  };
  const TCase cases[] = {
      {{}, " -host=/opt/page/host"},
      {{{"Options", "fullscreen=0", 12}}, " -options=fullscreen=0 -host=/opt/page/host"},
      {{{"MSN", "1", 1}, {"GameData", "level 3", 7}, {"HideLogos", "1", 1}},
       " -hidelogo 1 level 3 -msn"},
  };
  char hostFolder[PATH_MAX];
  ASSERT_NE(getcwd(hostFolder, sizeof hostFolder), nullptr);
  for (const TCase& c : cases) {
    fs::remove(mDir / "game.log");
    auto control = MakeControl(GameLauncher(), c.params);
    unsigned long window = CreateWindow(*control);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(Pump(*control, [&] { return GameLogged("ready"); })) << c.switches;
    EXPECT_EQ(control->GetState(), FV_STATE_RUNNING);

    // Its arguments give back the designed text, program name first.
    char windowSwitch[32];
    std::snprintf(windowSwitch, sizeof windowSwitch, "-wnd=%lx", window);
    EXPECT_EQ(GameLog()[0], std::string("argv ") + windowSwitch + c.switches);

    // One private folder with the designed name, the game's working folder, holding the
    // cabinet and its files; the host's working folder is still its own.
    std::vector<fs::path> folders = GameFolders();
    ASSERT_EQ(folders.size(), 1u);
    fs::path folder = folders[0];
    EXPECT_EQ(folder.filename().string().rfind("tv_FestraVask.1.0.0.48", 0), 0u);
    EXPECT_EQ(GameLog()[1], "cwd " + fs::canonical(folder).string());
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"EULA.txt", "__game.cab", "assets/assets.tvp",
                                               "assets/settings.xml", "assets/strings.xml",
                                               "festravasklongnamenospace.exe", "readme.htm"}));
    EXPECT_EQ(ReadWholeFile((folder / "__game.cab").string()), mCabinet);
    EXPECT_EQ(ReadWholeFile((folder / "assets/settings.xml").string()),
              ReadWholeFile(FV_SOURCE_ASSETS "/settings.xml"));
    EXPECT_EQ(access((folder / "festravasklongnamenospace.exe").c_str(), X_OK), 0);
    struct stat info;
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    char now[PATH_MAX];
    EXPECT_STREQ(getcwd(now, sizeof now), hostFolder);

    // The page goes: the game is told to quit and ends, and its folder is removed.
    control.reset();
    EXPECT_EQ(GameLog().back(), "quit");
    EXPECT_TRUE(GameFolders().empty());
  }
}

TEST_F(GameLauncherTest, AGameThatQuitsIsCleanedUpAndTheLauncherFinishes) {
  auto control = MakeControl(GameLauncher(), {});
  ASSERT_NE(CreateWindow(*control), 0u);
  ASSERT_TRUE(Pump(*control, [&] { return GameLogged("ready"); }));
  control->GetWindow().PostToGame({kHostQuit, 0, 0});
  ASSERT_TRUE(Pump(*control, [&] { return control->GetState() == FV_STATE_FINISHED; }));
  EXPECT_EQ(GameLog().back(), "quit");
  EXPECT_TRUE(GameFolders().empty());
  EXPECT_STREQ(control->GetStatusText(), "");
}

TEST_F(GameLauncherTest, WithoutACabinetTheGameCannotRunAndNothingIsLeft) {
  auto control = MakeControl(GameLauncher(false), {});
  ASSERT_NE(CreateWindow(*control), 0u);
  ASSERT_TRUE(Pump(*control, [&] { return control->GetState() == FV_STATE_FAILED; }));
  EXPECT_STREQ(control->GetStatusText(), "Sorry, the game cannot run.");
  EXPECT_TRUE(GameFolders().empty());
  EXPECT_FALSE(fs::exists(mDir / "game.log"));
}

TEST_F(GameLauncherTest, AWindowGoneBeforeTheStartStartsNoGameButCleansUp) {
  std::promise<void> gate;
  auto control =
      MakeControl(std::make_unique<TGatedLauncher>(GameLauncher(), gate.get_future().share()), {});
  ASSERT_NE(CreateWindow(*control), 0u);
  XDestroyWindow(mDisplay, mPage);
  XSync(mDisplay, False);
  ASSERT_TRUE(Pump(*control, [&] { return !control->GetWindow().Exists(); }));
  gate.set_value();
  ASSERT_TRUE(Pump(*control, [&] { return control->GetState() == FV_STATE_FAILED; }));
  EXPECT_FALSE(fs::exists(mDir / "game.log"));
  EXPECT_TRUE(GameFolders().empty());
  control.reset();
  mPage = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 8, 8, 0, 0, 0);
}

TEST_F(GameLauncherTest, AControlWithoutAWindowIsReleasedAtOnceAndUnpacksNothing) {
  auto control = MakeControl(GameLauncher(), {});
  control.reset();
  EXPECT_TRUE(GameFolders().empty());
  EXPECT_FALSE(fs::exists(mDir / "game.log"));
}

TEST_F(GameLauncherTest, AGameThatIgnoresQuitAndSigtermIsEndedAndCleanedUp) {
  setenv("FAKE_GAME_STUBBORN", "1", 1);
  auto control = MakeControl(GameLauncher(), {});
  ASSERT_NE(CreateWindow(*control), 0u);
  ASSERT_TRUE(Pump(*control, [&] { return GameLogged("ready"); }));
  ASSERT_EQ(GameFolders().size(), 1u);
  control.reset();  // returns once the game has been ended: the launcher has reaped it
  EXPECT_EQ(GameLog().back(), "quit");
  EXPECT_TRUE(GameFolders().empty());
}
