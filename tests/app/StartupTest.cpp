// The program's start-up as a process: one instance, the switches that allow several,
// "-wnd=" checking, the settings map and an orderly, leak-free end. Each test runs its own
// copy of the stand-in game in a private folder, so instances of different tests never meet.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class StartupTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "game/assets");
    fs::copy_file(TV_STARTUP_PROBE, Program());
    fs::permissions(Program(), fs::perms::owner_all);
  }
  std::string Program() const { return dir / "game/probe"; }
  std::string LogText() const {
    return ReadWholeFile(dir / "data/Tarvolen/FestraVask/logfile.txt");
  }

  // Starts the probe with these arguments; its output goes to dir/<name>.out.
  std::unique_ptr<TChildProcess> Start(const std::string& name,
                                       const std::vector<std::string>& args) {
    std::vector<std::string> argv{Program()};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<TChildProcess>(
        argv,
        TChildProcess::TEnvironment{{"TV_WINDOW_BACKEND", "headless"},
                                    {"XDG_DATA_HOME", dir / "data"}},
        dir.Path().string(), dir / (name + ".out"));
  }
  std::string Output(const std::string& name) const { return ReadWholeFile(dir / (name + ".out")); }
  // Runs the probe to its end: its status, with its output in `output`.
  int Run(const std::vector<std::string>& args, std::string* output = nullptr) {
    int status = Start("run", args)->Wait();
    if (output) *output = Output("run");
    return status;
  }
  // A first instance that keeps running until it is asked to end.
  std::unique_ptr<TChildProcess> StartFirst() {
    auto first = Start("first", {"--wait"});
    EXPECT_TRUE(WaitFor([&] { return Output("first").find("computerid=") != std::string::npos; }));
    return first;
  }
  bool Has(const std::string& output, const std::string& line) {
    return ("\n" + output).find("\n" + line + "\n") != std::string::npos;
  }

  TTempDir dir;
};

}  // namespace

TEST_F(StartupTest, SecondInstanceRaisesTheFirstAndEnds) {
  auto first = StartFirst();
  std::string output;
  EXPECT_EQ(Run({}, &output), 0);
  EXPECT_EQ(output, "");  // it ended before the game ran
  EXPECT_TRUE(
      WaitFor([&] { return LogText().find("asked for this window") != std::string::npos; }));
  first->Signal(SIGTERM);
  EXPECT_EQ(first->Wait(), 0);
  EXPECT_TRUE(Has(Output("first"), "quit"));
}

TEST_F(StartupTest, SwitchesAnywhereAllowSeveralInstances) {
  auto first = StartFirst();
  std::string output;
  EXPECT_EQ(Run({"x--multipley"}, &output), 0);
  EXPECT_TRUE(Has(output, "commandline=x--multipley")) << output;
  EXPECT_EQ(Run({"nosscreensaver"}, &output), 0);
  EXPECT_TRUE(Has(output, "commandline=nosscreensaver")) << output;
  // "-wnd=" skips the check too: the run reaches the host check, which fails.
  EXPECT_EQ(Run({"a-wnd=0"}), 255);
  first->Signal(SIGTERM);
  EXPECT_EQ(first->Wait(), 0);
}

TEST_F(StartupTest, HostThatIsNoWindowEndsWithMinusOneAndAReason) {
  const struct {
    const char* arg;
    const char* reason;
  } cases[] = {
      {"-wnd=0", "window 0 is no window"},
      {"-wnd=0x0", "window 0 is no window"},
      {"-wnd=", "not a hexadecimal window id"},
      {"-wnd=zz", "not a hexadecimal window id"},
      {"-wnd=1234567890", "too large for a window id"},
      {"-wnd=7ffffff0", "no such window on the display"},
  };
  for (const auto& c : cases) {
    std::string output;
    EXPECT_EQ(Run({c.arg}, &output), 255) << c.arg;
    EXPECT_EQ(output, std::string("FestraVask: bad -wnd= value: ") + c.reason + "\n") << c.arg;
  }
}

// Before the game runs, a termination signal ends the program at once; once the game runs,
// it is the quit event.
TEST_F(StartupTest, TerminationDuringStartUpEndsTheProgram) {
  auto first = Start("first", {"--wait"});
  // Ask while it is still starting: the probe never reports its settings.
  first->Signal(SIGTERM);
  EXPECT_EQ(first->Wait(), -1);  // ended by the signal
  EXPECT_EQ(Output("first").find("computerid="), std::string::npos);
}

TEST_F(StartupTest, OptionsOverrideSettingsFile) {
  WriteWholeFile(dir / "game/assets/settings.xml",
                 "<settings><a>file</a><b>file</b><a>later</a></settings>");
  std::string output;
  ASSERT_EQ(Run({"options=b=line&c=line"}, &output), 0);
  EXPECT_TRUE(Has(output, "a=later")) << output;
  EXPECT_TRUE(Has(output, "b=line")) << output;
  EXPECT_TRUE(Has(output, "c=line")) << output;
}

TEST_F(StartupTest, FrameworkSettings) {
  std::string output;
  ASSERT_EQ(Run({}, &output), 0);
  EXPECT_TRUE(Has(output, "installkey=" + (dir / "game/"))) << output;
  EXPECT_TRUE(Has(output, "startupdir=" + dir.Path().string())) << output;
  EXPECT_TRUE(Has(output, "buildtag=FestraVask")) << output;
  EXPECT_EQ(output.find("computerid=\n"), std::string::npos) << output;
  EXPECT_NE(LogText().find("FestraVask, version "), std::string::npos);
}

TEST_F(StartupTest, WindowScriptLocalizesLabelsWhenStringsLoad) {
  std::string output;
  ASSERT_EQ(Run({}, &output), 0);
  EXPECT_TRUE(Has(output, "windowscript=1")) << output;
  EXPECT_TRUE(Has(output, "localizelabels=0")) << output;
  WriteWholeFile(dir / "game/assets/strings.xml",
                 "<?xml version=\"1.0\"?><Workbook><Worksheet><Table><Row><Cell><Data>play</Data>"
                 "</Cell><Cell><Data>Play</Data></Cell></Row></Table></Worksheet></Workbook>");
  ASSERT_EQ(Run({}, &output), 0);
  EXPECT_TRUE(Has(output, "windowscript=1")) << output;
  EXPECT_TRUE(Has(output, "localizelabels=1")) << output;
}

TEST_F(StartupTest, CheatCodeIsTheRestOfTheLine) {
  struct Case {
    std::vector<std::string> args;
    const char* code;
  } cases[] = {{{"--cheat", "ABCD", "x"}, "ABCD x"}, {{"a", "--cheat"}, ""}, {{"--cheatX"}, ""}};
  for (const Case& c : cases) {
    std::string output;
    ASSERT_EQ(Run(c.args, &output), 0);
    EXPECT_TRUE(Has(output, std::string("cheatcode=") + c.code)) << output;
  }
}

TEST_F(StartupTest, HarnessReplacesTheCommandLine) {
  fs::copy_file(TV_TEST_HARNESS, dir / "game/tvHarness.so");
  std::string output;
  EXPECT_EQ(Run({"original"}, &output), 0);
  EXPECT_TRUE(Has(output, "commandline=--multiple replaced-by-harness")) << output;
}

TEST_F(StartupTest, HarnessLayoutIsItsOwnHost) {
  // "--axtest": the 480 x 360 window is its own host, so the game area is scaled to it.
  auto probe = Start("axtest", {"--axtest", "--wait"});
  ASSERT_TRUE(WaitFor([&] { return Output("axtest").find("scale=") != std::string::npos; }))
      << Output("axtest");
  EXPECT_TRUE(Has(Output("axtest"), "scale=0.600")) << Output("axtest");
  probe->Signal(SIGTERM);
  EXPECT_EQ(probe->Wait(), 0) << Output("axtest");
}

// The game itself, on the headless backend with the leak checker on: it opens its window,
// runs its loop and, asked to end, shuts down with nothing left behind.
TEST_F(StartupTest, GameRunsAndEndsInOrder) {
  TChildProcess game({TV_GAME_PROGRAM, "--multiple"},
                     {{"TV_WINDOW_BACKEND", "headless"}, {"XDG_DATA_HOME", dir / "data"}},
                     dir.Path().string(), dir / "game.out");
  ASSERT_TRUE(WaitFor([&] { return LogText().find("Device identifier") != std::string::npos; }))
      << Output("game");
  game.Signal(SIGTERM);
  EXPECT_EQ(game.Wait(), 0) << Output("game");
}
