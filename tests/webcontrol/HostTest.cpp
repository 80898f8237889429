// festravask-host on the test X server: it registers a control library, loads it through its
// ProgID, passes method lines on and prints the control's state and the game's scripts. The
// control libraries here start the stand-in game: one directly, one from the test cabinet it
// carries, as the players' library carries the game.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace {

class HostTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    signal(SIGPIPE, SIG_IGN);  // a host that ended early must fail the test, not kill it
  }
  std::unique_ptr<TChildProcess> Host(const std::vector<std::string>& args, bool withInput) {
    std::vector<std::string> argv{FV_HOST};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<TChildProcess>(
        argv,
        TChildProcess::TEnvironment{{"XDG_DATA_HOME", mDir / "data"},
                                    {"FAKE_GAME_LOG", mDir / "game.log"},
                                    {"TMPDIR", mDir / "tmp"},
                                    {"FAKE_GAME_SCRIPT", "f(1);\tg('a\\b')"}},
        mDir.Path().string(), mDir / "out", withInput);
  }
  int Run(const std::vector<std::string>& args) { return Host(args, false)->Wait(); }
  std::vector<std::string> Lines(const std::string& file) const {
    std::vector<std::string> lines;
    std::istringstream in(ReadWholeFile(mDir / file));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool HasLine(const std::string& file, const std::string& wanted) const {
    for (const std::string& line : Lines(file))
      if (line == wanted) return true;
    return false;
  }

  TTempDir mDir;
};

}  // namespace

TEST_F(HostTest, ThePagePlaysTheRegisteredControlAndItsGame) {
  ASSERT_EQ(Run({"--register", FV_TEST_CONTROL}), 0) << ReadWholeFile(mDir / "out");
  auto host = Host({"--param", "MSN=1", "--param", "GameData=level 3"}, true);
  ASSERT_TRUE(WaitFor([&] { return HasLine("out", "state running"); }))
      << ReadWholeFile(mDir / "out");
  ASSERT_TRUE(WaitFor([&] { return HasLine("game.log", "ready"); }));
  host->WriteInput("GameMenu\nLoadGame\nNoSuchMethod\nGameContinue <save level='3'/>\n");
  host->WriteInput("CustomReturn <r/>\n");
  ASSERT_TRUE(WaitFor([&] { return HasLine("out", "script f(1);\\x09g('a\\\\b')"); }))
      << ReadWholeFile(mDir / "out");
  host->WriteInput("quit\n");
  EXPECT_EQ(host->Wait(), 0);

  std::vector<std::string> messages;
  for (const std::string& line : Lines("game.log"))
    if (line.rfind("message", 0) == 0) messages.push_back(line);
  EXPECT_EQ(messages, (std::vector<std::string>{"message 1024 1 0", "message 1024 6 0",
                                                "message 1024 10 0", "message 18 0 0"}));
  EXPECT_TRUE(HasLine("out", "festravask-host: the control has no method NoSuchMethod"));
  std::vector<std::string> states;
  for (const std::string& line : Lines("out"))
    if (line.rfind("state", 0) == 0) states.push_back(line);
  EXPECT_EQ(states, (std::vector<std::string>{"state loading", "state running"}));
}

TEST_F(HostTest, TheCarriedGameIsUnpackedPlayedWithTheHostsPathAndRemoved) {
  std::filesystem::create_directory(mDir / "tmp");
  ASSERT_EQ(Run({"--register", FV_CARRYING_CONTROL}), 0) << ReadWholeFile(mDir / "out");
  auto host = Host({"--param", "Options=fullscreen=0"}, true);
  ASSERT_TRUE(WaitFor([&] { return HasLine("game.log", "ready"); })) << ReadWholeFile(mDir / "out");
  std::vector<std::string> log = Lines("game.log");
  std::string argv = log.front();
  EXPECT_EQ(argv.rfind("argv -wnd=", 0), 0u) << argv;
  std::string tail = std::string(" -options=fullscreen=0 -host=") + FV_HOST;
  EXPECT_EQ(argv.substr(argv.size() - std::min(argv.size(), tail.size())), tail);
  std::string folder = log[1].substr(4);
  EXPECT_TRUE(std::filesystem::exists(folder + "/festravasklongnamenospace.exe")) << folder;
  EXPECT_EQ(std::filesystem::path(folder).parent_path(), std::filesystem::canonical(mDir / "tmp"));

  host->WriteInput("quit\n");
  EXPECT_EQ(host->Wait(), 0);
  EXPECT_EQ(Lines("game.log").back(), "quit");
  EXPECT_TRUE(std::filesystem::is_empty(mDir / "tmp"));
}

TEST_F(HostTest, WithoutARegisteredControlThereIsNoPage) {
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(ReadWholeFile(mDir / "out").find("no control is registered"), std::string::npos);
  ASSERT_EQ(Run({"--register", FV_TEST_CONTROL}), 0);
  ASSERT_EQ(Run({"--unregister", FV_TEST_CONTROL}), 0);
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(Run({"--param", "NoEquals"}), 2);
}
