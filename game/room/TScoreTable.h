// The couple's head table: a clickable room object (1303) with the bride and the groom on it.
// It keeps the couple's happiness H against a maximum M; losses and the level's changes go to
// a pending amount P that moves into H by at most 25 every 0.75 s. The share H / M gives the
// couple's mood: happy (above 2/3), normal (above 1/3), mad (above 0: steam, once between
// resets) or angry, which locks the table (the bride shakes, an effect and a sound play, the
// level gets the planner event 1004) until the heroine's fix resets it. Happy for 10 s, the
// couple kiss. On the level's request they dance.
//
// Effects start by file name in the owning level's list; the level is the sprite's owner.
// A maximum of 0 or less counts as a full share. UI thread only.
//
// What the level finds under other names here: the table's picture setter is Setup (which
// also loads the angry sound); the couple's angry flag is IsLocked; the maximum happiness is
// a float. The table keeps no pass or expert score, goal or total time: those are the
// level's own.
#pragma once

#include <memory>

#include "game/room/TFestraObject.h"

class TFestraStateAnim;
class TSound;

class TScoreTable : public TFestraObject {
  TV_SPRITE_CLASS(TScoreTable, TFestraObject)

 public:
  enum TMood { kHappy = 0, kNormal = 1, kMad = 2, kAngry = 3 };

  static constexpr const char* kAngrySound = "assets/audio/sfx/bridezilla.ogg";
  static constexpr const char* kAngryEffect = "fx/fx_bridezilla.lua";
  static constexpr const char* kSteamEffect = "fx/fx_steam.lua";
  static constexpr const char* kKissEffect = "fx/fx_kiss.lua";
  static constexpr const char* kDance = "images/character/Brides and Grooms/bg_genericdance.xml";
  static constexpr int kKissAfterMs = 10000;
  static constexpr int kKissMs = 1000;

  // Makes the bride, the groom (layer 1) and the dance (layer 10508).
  explicit TScoreTable(int layer = 0);
  ~TScoreTable() override;

  // The table's picture, the angry sound, object type 1303, the check mark on the middle.
  void Setup(const TString& texture);
  // The bride's four moods for a look (12: gen_b2, else gen_b1), at (90, 53).
  void LoadBrideAnims(int look);
  // The groom's four moods for a look (15: gen_g2, else gen_g1), at (126, 53).
  void LoadGroomAnims(int look);
  // M = maximum; H = M truncated.
  void SetMaxHappiness(float maximum);
  // Adds to the pending amount, kept within -M ... M; nothing while locked, and a rise is
  // dropped when the pending amount already fills the gap to M.
  void ChangeHappiness(float delta);
  // The couple's points (never below 0); a loss also lowers the happiness by its amount.
  void AddScore(int points);
  // One tick of the level: the happiness step, the mood and what it plays.
  void Update(int elapsedMs);
  // After the heroine's fix: the planner event goes, the table unlocks with full happiness,
  // and the fix is counted ("VelkaEventsCompleted") in the level's metrics.
  void ResetHappiness();
  // The bride and the groom leave the table for the target, hidden; the dance loops there.
  void StartDance(const std::shared_ptr<TSprite>& target);
  // H / M of the truncated values; 1 when M is 0 or less.
  float GetHappinessRatio() const;
  // Hooks the level calls when it awards points (code 3) and in the planning set-up; the
  // couple do not react to either.
  void NotifyAward(int /*code*/) {}
  void NotifyPlanning(int /*code*/) {}

  int GetCoupleScore() const { return mCoupleScore; }
  float GetHappiness() const { return mHappiness; }
  float GetPending() const { return mPending; }
  int GetMood() const { return mMood; }
  bool IsLocked() const { return mLocked; }
  int GetKissCount() const { return mKissCount; }
  const std::shared_ptr<TFestraStateAnim>& GetBride() const { return mBride; }
  const std::shared_ptr<TFestraStateAnim>& GetGroom() const { return mGroom; }
  const std::shared_ptr<TFestraStateAnim>& GetDance() const { return mDance; }

 private:
  void LoadCouple(const std::shared_ptr<TFestraStateAnim>& person, const char* prefix, int x,
                  int y);
  void StepHappiness(int elapsedMs);
  void EnterMood();
  void PlayCouple(int state);
  void Shake();
  void Kiss();
  void StartEffect(const char* file);

  int mCoupleScore = 0;
  std::shared_ptr<TFestraStateAnim> mBride;
  std::shared_ptr<TFestraStateAnim> mGroom;
  std::shared_ptr<TFestraStateAnim> mDance;
  std::shared_ptr<TSound> mAngrySound;
  float mHappiness = 0;
  float mMaximum = 0;
  float mPending = 0;
  float mStepTimer = 0;
  int mMood = kHappy;
  int mPreviousMood = kHappy;
  int mMoodTime = 0;
  bool mLocked = false;
  bool mSteamShown = false;
  int mKissTimeLeft = 0;
  int mKissCount = 0;
};
