// The play metrics recorder: session, story, arcade and comic-screen clocks, the running
// heroine-event clocks, the per-level counters, and the record lines formed at every level
// end, at the play-time marks (15, 30 and 59 minutes of session) and at the session's end.
//
// A record line is "<name>, <dd.mm.yyyy hh:mm:ss>, <data>\n". The game sends the lines
// nowhere: they go to the output when one is attached, otherwise they are dropped. The
// clocks read the platform clock. UI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "tvlib/core/TClock.h"
#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"

class TMetricsRecorder {
 public:
  // Receives every record line formed.
  using TOutput = std::function<void(const TString& line)>;

  // The game's recorder, made on first use.
  static TMetricsRecorder& Get();

  // Clocks reset, session clock started, script functions "StartComicScreenTimer" and
  // "PauseComicScreenTimer" bound in the window script when there is one.
  TMetricsRecorder();
  TMetricsRecorder(const TMetricsRecorder&) = delete;
  TMetricsRecorder& operator=(const TMetricsRecorder&) = delete;

  void SetOutput(TOutput output) { mOutput = std::move(output); }

  void StartStoryTimer() { mStoryClock.Start(); }
  void StartArcadeTimer() { mArcadeClock.Start(); }
  // Answer whether the clock was already paused.
  bool PauseStoryTimer() { return mStoryClock.Pause(); }
  bool PauseArcadeTimer() { return mArcadeClock.Pause(); }
  void StartComicScreenTimer() { mComicClock.Start(); }
  void PauseComicScreenTimer() { mComicClock.Pause(); }

  void AddAwardCount(int n) { mLevel.awardCount += n; }
  void CountAward() { ++mLevel.awardEvents; }
  void AddSeatingCount(int n) { mLevel.seatingCount += n; }
  void CountDelivery() { ++mLevel.deliveries; }
  void CountPenalty() { ++mLevel.penalties; }
  void SetPlanningCorrectChoices(int n) { mLevel.planningCorrect = n; }
  void SetUpgradeChoices(int a, int b, int c);
  void SetChosenUpgrade(int upgrade) { mLevel.chosenUpgrade = upgrade; }
  void SetMatchMade() { mLevel.matchMade = true; }

  // A new running clock for a heroine problem under way.
  void StartEventTimer();
  // Stop the oldest problem clock and add its time to the total; answer its milliseconds
  // (0, and nothing counted, when no problem is under way).
  uint32_t EndEventTimerSolved();
  uint32_t EndEventTimer();

  // End state: 0 won, 1 lost, 2 left without result.
  void RecordLevelCompleteStory(int venue, int level, uint32_t playMs, int endState,
                                int guestsArrived, int score, bool expertReached);
  void RecordLevelCompleteArcade(int level, uint32_t playMs, int endState, int guestsArrived,
                                 int score, bool expertReached);
  // Records the play-time mark the session clock has reached, if one is due.
  void CheckProgress();
  void RecordSession();

  uint32_t GetSessionTime() const { return mSessionClock.GetTime(); }

 private:
  // Binds the script functions (TMetricsRecorderBind.cpp).
  void BindScriptFunctions();
  struct TLevelFields {
    int offeredUpgrades[3] = {-1, -1, -1};
    int chosenUpgrade = -1;
    int planningCorrect = 0;
    int penalties = 0;
    int awardCount = 0;
    int seatingCount = 0;
    int eventsStarted = 0;
    int eventsSolved = 0;
    uint32_t eventMs = 0;
    int awardEvents = 0;
    int deliveries = 0;
    int unusedA = 0;  // two values the record carries that nothing sets
    int unusedB = 0;
    bool matchMade = false;
  };

  uint32_t EndOldestEvent(bool solved);
  // The per-level values of a level record, and the per-level reset that follows it.
  TString LevelValues(uint32_t playMs, int endState, int guestsArrived, int score,
                      bool expertReached) const;
  void EndLevel();
  void Record(const char* name, const TString& data);

  TClock mSessionClock;
  TClock mStoryClock;
  TClock mArcadeClock;
  TClock mComicClock;
  std::deque<TClock> mEventClocks;  // oldest first
  uint32_t mNextMark;
  int mLatestVenue = -1;
  int mLatestLevel = -1;
  int mLatestArcadeLevel = -1;
  TLevelFields mLevel;
  TOutput mOutput;
  TLuaBindings mBindings;
};
