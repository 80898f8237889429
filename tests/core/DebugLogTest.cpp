// The debug log: fresh files, long lines, wrapping past the threshold, the fallback folder.
#include "tvlib/core/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "tests/support/TempDir.h"

namespace {

constexpr size_t kStampLength = 24 + 2;  // "Thu Dec 10 13:30:19 2026: "
const std::string kMarker =
    "\n\n\n\n ****************** LOG WRAP AROUND ******************\n\n\n\n";

}  // namespace

TEST(DebugLog, LinesStartAtTheBeginningOfAFreshFile) {
  TTempDir dir;
  std::string folder = dir / "user/sub";
  WriteWholeFile(dir / "stale", "");
  SetLogDirectory(folder.c_str());  // creates the missing folders
  WriteWholeFile(folder + "/logfile.txt", "left from the last run");
  SetLogDirectory(folder.c_str());  // and empties the log
  EXPECT_EQ(GetLogPath(), TString((folder + "/logfile.txt").c_str()));

  DebugLog("first %d", 1);
  DebugLog("second %s", "line");
  std::string log = ReadWholeFile(folder + "/logfile.txt");
  std::regex line(R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4}: first 1\n)"
                  R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4}: second line\n)");
  EXPECT_TRUE(std::regex_match(log, line)) << log;
}

TEST(DebugLog, LongMessagesAreCut) {
  TTempDir dir;
  SetLogDirectory(dir.Path().c_str());
  std::string huge(30000, 'x');
  DebugLog("%s", huge.c_str());
  std::string log = ReadWholeFile(dir / "logfile.txt");
  EXPECT_EQ(log.size(), kStampLength + 19999 + 1);
  EXPECT_EQ(log.back(), '\n');
}

TEST(DebugLog, WrapsBehindTheMarkerOnlyPastTheThreshold) {
  TTempDir dir;
  SetLogDirectory(dir.Path().c_str());
  // Lines of exactly 1024 bytes: 100 of them end exactly at 102,400.
  std::string body(1024 - kStampLength - 1, 'a');
  for (int i = 0; i < 100; ++i) DebugLog("%s", body.c_str());
  std::string log = ReadWholeFile(dir / "logfile.txt");
  ASSERT_EQ(log.size(), 102400u);
  EXPECT_EQ(log.find("WRAP"), std::string::npos);

  DebugLog("b");  // starts at 102,400: not beyond, still appended
  DebugLog("c");  // starts beyond: wraps to 51,200
  log = ReadWholeFile(dir / "logfile.txt");
  EXPECT_EQ(log.compare(51200, kMarker.size(), kMarker), 0);
  size_t after = 51200 + kMarker.size() + kStampLength;
  EXPECT_EQ(log.compare(after, 2, "c\n"), 0);
  EXPECT_EQ(log.size(), 102400u + kStampLength + 2);  // older bytes past the write position stay
}

TEST(DebugLog, FallsBackToTheTemporaryFolder) {
  TTempDir dir;
  const char* old = std::getenv("TMPDIR");
  std::string saved = old ? old : "";
  setenv("TMPDIR", dir.Path().c_str(), 1);
  WriteWholeFile(dir / "blocker", "a file, not a folder");
  SetLogDirectory((dir / "blocker/user").c_str());
  DebugLog("to the fallback");
  EXPECT_NE(ReadWholeFile(dir / "wrenfold.log").find(": to the fallback\n"), std::string::npos);
  // Later tests in this process make their folders under the temporary directory.
  if (old)
    setenv("TMPDIR", saved.c_str(), 1);
  else
    unsetenv("TMPDIR");
}
