// Play metrics on a stepped engine clock: the play-time marks, the level records and their
// per-level reset, the session record, the comic-screen script functions, and the reporter.
#include "game/shell/TMetricsRecorder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "game/shell/TMetricsReporter.h"
#include "tests/game/shell/ShellFixture.h"

namespace {

constexpr uint32_t kMinute = 60000;

class MetricsTest : public ShellTest {
 protected:
  MetricsTest() {
    mRecorder.SetOutput([this](const TString& line) { mLines.push_back(line.c_str()); });
  }
  // The lines with the time stamp checked and taken out: "<name>, <data>".
  std::vector<std::string> Lines() {
    static const std::regex stamped(R"(^([^,]+), \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d, (.*)\n$)");
    std::vector<std::string> out;
    for (const std::string& line : mLines) {
      std::smatch m;
      EXPECT_TRUE(std::regex_match(line, m, stamped)) << line;
      out.push_back(m.size() == 3 ? m[1].str() + ", " + m[2].str() : line);
    }
    mLines.clear();
    return out;
  }
  // Moves the clock in minute steps, checking the marks after each as the game loop does.
  void PlayMinutes(int minutes) {
    for (int i = 0; i < minutes; ++i) {
      mClock.Advance(kMinute);
      mRecorder.CheckProgress();
    }
  }

  TMetricsRecorder mRecorder;
  std::vector<std::string> mLines;
};

TEST_F(MetricsTest, PlayTimeMarksAreRecordedOnceEach) {
  mRecorder.StartStoryTimer();
  PlayMinutes(40);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Progress-15, -1.-1, 900, -1, 0",
                                               "Progress-30, -1.-1, 1800, -1, 0"}));
  mRecorder.PauseStoryTimer();
  mRecorder.StartArcadeTimer();
  PlayMinutes(100);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Progress-59, -1.-1, 2400, -1, 1140"}));
}

TEST_F(MetricsTest, AMarkIsRecordedAtTheFirstCheckAfterIt) {
  mClock.Advance(899999);
  mRecorder.CheckProgress();
  EXPECT_TRUE(Lines().empty());
  mClock.Advance(1);
  mRecorder.CheckProgress();
  mRecorder.CheckProgress();
  EXPECT_EQ(Lines().size(), 1u);
  // A long gap passes two marks: only the due one is recorded per check.
  mClock.Advance(60 * kMinute);
  mRecorder.CheckProgress();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Progress-30, -1.-1, 0, -1, 0"}));
}

TEST_F(MetricsTest, StoryRecordCarriesTheLevelValuesAndResetsThem) {
  mRecorder.SetUpgradeChoices(3, 5, 8);
  mRecorder.SetChosenUpgrade(5);
  mRecorder.SetPlanningCorrectChoices(2);
  mRecorder.AddAwardCount(4);
  mRecorder.CountAward();
  mRecorder.AddSeatingCount(6);
  mRecorder.CountPenalty();
  mRecorder.CountDelivery();
  mRecorder.CountDelivery();
  mRecorder.SetMatchMade();
  mRecorder.StartEventTimer();
  mClock.Advance(1500);
  mRecorder.StartEventTimer();
  mClock.Advance(1000);
  EXPECT_EQ(mRecorder.EndEventTimerSolved(), 2500u);
  mClock.Advance(4000);  // the second problem is still under way when the level ends
  mRecorder.RecordLevelCompleteStory(2, 5, 123999, 0, 17, 4200, true);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "LevelCompleteStory, 2.5, 123, 0, 4200, 1, 2, 17, 1, 4, 6, 1, 2, 1, "
                         "1.250000, 0, 0, 1, 2, 3, 5, 8, 5"}));
  // Everything per level starts again; the unsolved clock went with the reset.
  EXPECT_EQ(mRecorder.EndEventTimer(), 0u);
  mRecorder.RecordLevelCompleteArcade(4, 60000, 1, 9, 300, false);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "LevelCompleteArcade, 4, 60, 1, 300, 0, 0, 9, 0, 0, 0, 0, 0, 0, "
                         "0.000000, 0, 0, 0, 0"}));
}

TEST_F(MetricsTest, LatestLevelsKeptForTheMarks) {
  struct TStep {
    int venue, level;
  };
  // venue 2 level 5 after venue 3 level 2 keeps venue 3 and raises the level to 5.
  for (TStep s : {TStep{1, 4}, TStep{3, 2}, TStep{2, 5}, TStep{1, 1}})
    mRecorder.RecordLevelCompleteStory(s.venue, s.level, 0, 2, 0, 0, false);
  for (int level : {6, 3}) mRecorder.RecordLevelCompleteArcade(level, 0, 2, 0, 0, false);
  Lines();
  PlayMinutes(15);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Progress-15, 3.5, 0, 6, 0"}));
}

TEST_F(MetricsTest, SessionRecordAndTheComicScreenClockFromScripts) {
  mRecorder.StartStoryTimer();
  mClock.Advance(10500);
  mRecorder.PauseStoryTimer();
  Script().DoLuaString("StartComicScreenTimer()");
  mClock.Advance(3000);
  Script().DoLuaString("PauseComicScreenTimer()");
  mClock.Advance(7000);
  mRecorder.RecordSession();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"SessionData, 1.0, 20, 10, 0, 3"}));
}

TEST_F(MetricsTest, EndingAProblemWhenNoneIsUnderWayCountsNothing) {
  EXPECT_EQ(mRecorder.EndEventTimerSolved(), 0u);
  mRecorder.RecordLevelCompleteArcade(1, 0, 2, 0, 0, false);
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(", 0, 0, 0.000000,"), std::string::npos) << lines[0];
}

TEST(MetricsReporter, AnswersZeroAndKeepsNothing) {
  TMetricsReporter& reporter = GetMetricsReporter();
  EXPECT_EQ(&reporter, &GetMetricsReporter());
  reporter.SetInt("LevelNumber", 7, 0);
  reporter.AddCount("VELKA_EVENT_SOLVED", 1);
  EXPECT_EQ(reporter.GetInt("LevelNumber"), 0);
}

}  // namespace
