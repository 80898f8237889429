// The golden corpus: short scripts in the language subset shared with the stock interpreter,
// each with its expected standard output committed beside it (produced once by the stock
// interpreter and reviewed: `lua5.1 name.lua > name.out` in the corpus folder). Scripts stay
// in the shared subset: no operators or literals of this dialect only, no behaviours where
// the two differ (loop variables, getn with `n', table addresses, pairs order, error quotes).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/script/ScriptHelpers.h"

namespace fs = std::filesystem;

namespace {

TEST(Golden, CorpusOutputsMatch) {
  const fs::path dir = fs::path(TV_TEST_DATA) / "script" / "golden";
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".lua") continue;
    tvs::test::ScriptState s;
    testing::internal::CaptureStdout();
    const tvs::test::RunResult r =
        s.Run(tvs::test::ReadGoldenFile(entry.path()), "@" + entry.path().filename().string());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(r.status, 0) << entry.path() << ": " << r.error;
    fs::path expected = entry.path();
    expected.replace_extension(".out");
    EXPECT_EQ(printed, tvs::test::ReadGoldenFile(expected)) << entry.path();
    compared++;
  }
  EXPECT_GE(compared, 24);
}

}  // namespace
