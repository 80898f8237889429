// The page's six parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "webcontrol/PageParams.h"

namespace {

fv_param Param(const char* name, const char* value) {
  return {name, value, value ? std::strlen(value) : 0};
}

std::vector<std::string> All(const TPageParams& params) {
  return {params.Get(TPageParam::DownloadUrl),
          params.Get(TPageParam::Options),
          params.Get(TPageParam::AnonymousScores),
          params.Get(TPageParam::HideLogos),
          params.Get(TPageParam::MSN),
          params.Get(TPageParam::GameData)};
}

}  // namespace

TEST(PageParamsTest, EachParameterIsReadByNameAndNarrowed) {
  TPageParams params;
  std::vector<fv_param> page = {Param("GameData", "data\n"),
                                Param("msn", "1"),
                                Param("Unknown", "x"),
                                Param("DOWNLOADURL", "u"),
                                Param("Options", "a=1&b=caf\xC3\xA9"),
                                Param("HideLogos", "1"),
                                Param("AnonymousScores", "2")};
  params.Load(page.data(), page.size());
  EXPECT_EQ(All(params), (std::vector<std::string>{"u", "a=1&b=caf\xE9", "2", "1", "1", "data"}));
}

TEST(PageParamsTest, AbsentOrUnreadableParametersKeepTheirValues) {
  TPageParams params;
  std::vector<fv_param> first = {Param("Options", "o"), Param("MSN", "1"), Param("GameData", "g")};
  params.Load(first.data(), first.size());
  // Absent: Options. Unreadable (no value): MSN. The first entry naming one wins.
  std::vector<fv_param> second = {Param("MSN", nullptr), Param("MSN", "2"), Param("GameData", ""),
                                  Param("GameData", "h")};
  params.Load(second.data(), second.size());
  EXPECT_EQ(All(params), (std::vector<std::string>{"", "o", "", "", "1", ""}));
  params.Load(nullptr, 0);
  EXPECT_EQ(params.Get(TPageParam::Options), "o");
}
