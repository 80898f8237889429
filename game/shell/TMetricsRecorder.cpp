// Play clocks, per-level counters and the record lines they make.
#include "game/shell/TMetricsRecorder.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "tvlib/core/TLocalTime.h"
#include "tvlib/core/TPlatform.h"

namespace {

// The play-time marks of the session clock, in order, with their record names.
struct TMark {
  uint32_t ms;
  const char* name;
};
constexpr TMark kMarks[] = {
    {900000, "Progress-15"}, {1800000, "Progress-30"}, {3540000, "Progress-59"}};
constexpr uint32_t kNoMark = 9999999;

TString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
TString Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(n > 0 ? size_t(n) : 0, '\0');
  if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return TString(text.c_str(), static_cast<int>(text.size()));
}

int Seconds(uint32_t ms) {
  return static_cast<int>(ms / 1000);
}

}  // namespace

TMetricsRecorder& TMetricsRecorder::Get() {
  static TMetricsRecorder recorder;
  return recorder;
}

TMetricsRecorder::TMetricsRecorder() : mNextMark(kMarks[0].ms) {
  BindScriptFunctions();
  mSessionClock.Start();
}

void TMetricsRecorder::SetUpgradeChoices(int a, int b, int c) {
  mLevel.offeredUpgrades[0] = a;
  mLevel.offeredUpgrades[1] = b;
  mLevel.offeredUpgrades[2] = c;
}

void TMetricsRecorder::StartEventTimer() {
  mEventClocks.emplace_back().Start();
  ++mLevel.eventsStarted;
}

uint32_t TMetricsRecorder::EndEventTimerSolved() {
  return EndOldestEvent(true);
}

uint32_t TMetricsRecorder::EndEventTimer() {
  return EndOldestEvent(false);
}

uint32_t TMetricsRecorder::EndOldestEvent(bool solved) {
  // Callers end only the problems they started; a stray end changes nothing.
  if (mEventClocks.empty()) return 0;
  TClock& clock = mEventClocks.front();
  clock.Pause();
  uint32_t ms = clock.GetTime();
  mEventClocks.pop_front();
  mLevel.eventMs += ms;
  if (solved) ++mLevel.eventsSolved;
  return ms;
}

TString TMetricsRecorder::LevelValues(uint32_t playMs, int endState, int guestsArrived, int score,
                                      bool expertReached) const {
  const TLevelFields& f = mLevel;
  double averageEvent = f.eventsStarted > 0 ? f.eventMs * 0.001 / f.eventsStarted : 0.0;
  return Format("%d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %f, %d, %d, %d, %d",
                Seconds(playMs), endState, score, expertReached ? 1 : 0, f.planningCorrect,
                guestsArrived, f.penalties, f.awardCount, f.seatingCount, f.matchMade ? 1 : 0,
                f.eventsStarted, f.eventsSolved, averageEvent, f.unusedA, f.unusedB, f.awardEvents,
                f.deliveries);
}

void TMetricsRecorder::RecordLevelCompleteStory(int venue, int level, uint32_t playMs, int endState,
                                                int guestsArrived, int score, bool expertReached) {
  for (TClock& clock : mEventClocks) clock.Pause();
  if (venue > mLatestVenue) {
    mLatestVenue = venue;
    mLatestLevel = level;
  } else if (level > mLatestLevel) {
    mLatestLevel = level;
  }
  const TLevelFields& f = mLevel;
  Record("LevelCompleteStory",
         Format("%d.%d, ", venue, level) +
             LevelValues(playMs, endState, guestsArrived, score, expertReached) +
             Format(", %d, %d, %d, %d", f.offeredUpgrades[0], f.offeredUpgrades[1],
                    f.offeredUpgrades[2], f.chosenUpgrade));
  EndLevel();
}

void TMetricsRecorder::RecordLevelCompleteArcade(int level, uint32_t playMs, int endState,
                                                 int guestsArrived, int score, bool expertReached) {
  for (TClock& clock : mEventClocks) clock.Pause();
  if (level > mLatestArcadeLevel) mLatestArcadeLevel = level;
  Record("LevelCompleteArcade", Format("%d, ", level) + LevelValues(playMs, endState, guestsArrived,
                                                                    score, expertReached));
  EndLevel();
}

void TMetricsRecorder::EndLevel() {
  mLevel = TLevelFields();
  mEventClocks.clear();
}

void TMetricsRecorder::CheckProgress() {
  for (size_t i = 0; i < std::size(kMarks); ++i) {
    if (mNextMark != kMarks[i].ms) continue;
    if (mSessionClock.GetTime() < mNextMark) return;
    Record(kMarks[i].name,
           Format("%d.%d, %d, %d, %d", mLatestVenue, mLatestLevel, Seconds(mStoryClock.GetTime()),
                  mLatestArcadeLevel, Seconds(mArcadeClock.GetTime())));
    mNextMark = i + 1 < std::size(kMarks) ? kMarks[i + 1].ms : kNoMark;
    return;
  }
}

void TMetricsRecorder::RecordSession() {
  Record("SessionData", Format("1.0, %d, %d, %d, %d", Seconds(mSessionClock.GetTime()),
                               Seconds(mStoryClock.GetTime()), Seconds(mArcadeClock.GetTime()),
                               Seconds(mComicClock.GetTime())));
}

void TMetricsRecorder::Record(const char* name, const TString& data) {
  TString line = TString(name) + ", " + FormatLocalTime("%d.%m.%Y %H:%M:%S") + ", " + data + "\n";
  if (mOutput) mOutput(line);
}
