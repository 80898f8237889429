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

// Sets an environment variable for one scope, then puts the old value back.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const char* value) : mName(name) {
    const char* old = std::getenv(name);
    mHad = old != nullptr;
    if (old) mOld = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~TScopedEnv() {
    if (mHad)
      setenv(mName, mOld.c_str(), 1);
    else
      unsetenv(mName);
  }

 private:
  const char* mName;
  bool mHad = false;
  std::string mOld;
};

// Without a usable log folder, lines go to a folder private to the user, never to a fixed name
// in the shared temporary folder, and never through a link someone planted.
TEST(DebugLog, FallsBackToAPrivateFolder) {
  TTempDir dir;
  WriteWholeFile(dir / "blocker", "a file, not a folder");
  WriteWholeFile(dir / "victim", "untouched");
  std::filesystem::create_symlink(dir / "victim", dir / "wrenfold.log");
  {
    TScopedEnv tmp("TMPDIR", dir.Path().c_str());
    TScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    SetLogDirectory((dir / "blocker/user").c_str());
    DebugLog("to the fallback");
  }
  EXPECT_EQ(ReadWholeFile(dir / "victim"), "untouched");
  std::string found;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    if (entry.path().filename().string().rfind("wrenfold-", 0) != 0) continue;
    EXPECT_EQ(std::filesystem::status(entry).permissions() & std::filesystem::perms::group_all,
              std::filesystem::perms::none);
    found = ReadWholeFile((entry.path() / "wrenfold.log").string());
  }
  EXPECT_NE(found.find(": to the fallback\n"), std::string::npos);

  // With a runtime folder, there; a link planted at the log's name is not followed.
  TTempDir runtimeDir;
  std::filesystem::permissions(runtimeDir.Path(), std::filesystem::perms::owner_all);
  {
    TScopedEnv runtime("XDG_RUNTIME_DIR", runtimeDir.Path().c_str());
    DebugLog("to the runtime folder");
    EXPECT_NE(ReadWholeFile(runtimeDir / "wrenfold/wrenfold.log").find(": to the runtime folder\n"),
              std::string::npos);
    std::filesystem::remove(runtimeDir / "wrenfold/wrenfold.log");
    std::filesystem::create_symlink(dir / "victim", runtimeDir / "wrenfold/wrenfold.log");
    DebugLog("not through the link");
  }
  EXPECT_EQ(ReadWholeFile(dir / "victim"), "untouched");
}
