// The game's command line: its switches in their order for each set of page parameters, and
// its split into the game's arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "webcontrol/GameCommandLine.h"

namespace {

TPageParams Params(const std::vector<std::pair<std::string, std::string>>& given) {
  std::vector<fv_param> list;
  for (const auto& [name, value] : given)
    list.push_back({name.c_str(), value.c_str(), value.size()});
  TPageParams params;
  params.Load(list.data(), list.size());
  return params;
}

}  // namespace

TEST(GameCommandLineTest, TheSwitchesFollowInTheirOrderWhenThePageGivesThem) {
  struct TCase {
    std::vector<std::pair<std::string, std::string>> params;
    const char* line;
  };
  const TCase cases[] = {
      {{}, "festravasklongnamenospace.exe -wnd=3a0001f -host=/opt/page/host"},
      {{{"Options", "fullscreen=0"}},
       "festravasklongnamenospace.exe -wnd=3a0001f -options=fullscreen=0 -host=/opt/page/host"},
      {{{"MSN", "1"}}, "festravasklongnamenospace.exe -wnd=3a0001f -msn"},
      {{{"MSN", "1"}, {"Options", ""}, {"GameData", ""}},
       "festravasklongnamenospace.exe -wnd=3a0001f -msn"},
      {{{"GameData", "level 3"},
        {"HideLogos", "1"},
        {"AnonymousScores", "2"},
        {"MSN", "yes"},
        {"Options", "a=1"},
        {"DownloadUrl", "http://example.org/get"}},
       "festravasklongnamenospace.exe -wnd=3a0001f -url=http://example.org/get -options=a=1"
       " -anon 2 -hidelogo 1 level 3 -msn"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(BuildGameCommandLine(Params(c.params), 0x3a0001f, "/opt/page/host"), c.line);
}

TEST(GameCommandLineTest, TheArgumentsJoinedWithBlanksGiveTheLineBack) {
  EXPECT_EQ(SplitCommandLine("festravasklongnamenospace.exe -wnd=1f -anon 1  x -msn"),
            (std::vector<std::string>{"festravasklongnamenospace.exe", "-wnd=1f", "-anon", "1", "",
                                      "x", "-msn"}));
  EXPECT_EQ(SplitCommandLine("a "), (std::vector<std::string>{"a", ""}));
}

TEST(GameCommandLineTest, TheHostIsTheRunningProgram) {
  std::string host = GetHostProgramPath();
  ASSERT_FALSE(host.empty());
  EXPECT_EQ(host.front(), '/');
  EXPECT_NE(host.find("webcontrol_tests"), std::string::npos) << host;
}
