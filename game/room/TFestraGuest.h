// A reception guest: a state animation the level creates, seats, serves and updates on every
// play tick. The guest keeps its own timing (patience, the desire it shows next, the timers
// between desires), inserts side requests (music, a drink, coffee, a tissue, a change of
// seat) between its courses, and shows its mood bubble, request icon, hover highlights and
// check mark. It decides when it wants what; the level decides what that is worth. It
// reports to its level (TRoomLevel, the sprite's owner) through its update's answer, clicks
// 1500 and 1501, the planner events 1005 and 1006 and the calls of TRoomLevel.
//
// Its table is held weakly: a table the level has dropped is skipped. A guest that leaves
// (ClearSeat, or its end) stops its sobbing loop and removes its planner event. Patience
// stays between 0 and the maximum; a maximum below 3 counts as 3 for the mood thirds.
// UI thread only.
//
// What the level finds under other names or rules here: Update answers kGuestNothing (-3),
// not -1, when there is nothing to announce; the served flags are GetServedFlag and
// SetServedFlag; BoostMood plays the happy state only in states 4 to 6 and does nothing in
// state 7; neighbours are rated by the level's RateSeatingMatch (guest, other guest). The
// fields only the level's rules use live in the level state (GetLevelState).
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "game/room/GuestCodes.h"
#include "game/room/TFestraStateAnim.h"
#include "game/room/TServedItems.h"

class TFestraSprite;
class TFestraTable;
class TMovingParticle;
class TRequestItem;

class TFestraGuest : public TFestraStateAnim, public TServedItems {
  TV_SPRITE_CLASS(TFestraGuest, TFestraStateAnim)

 public:
  static constexpr const char* kCheckMark = "assets/images/checkmark";
  static constexpr const char* kGiftImage = "assets/images/food/item_gift";
  static constexpr const char* kListImage = "assets/images/food/item_list";
  static constexpr const char* kReadyToDanceEffect = "fx/fx_guest_ready_to_dance.lua";
  static constexpr int kFirstStepTimer = 800;
  static constexpr int kDefaultMaxPatience = 500;
  static constexpr int kServedKinds = 10;
  static constexpr int kFoodImages = 9;
  static constexpr int kSteps = 5;
  static constexpr int kDanceStep = 10;
  // The step while the guest waits for its seat neighbours.
  static constexpr int kSeatWaitStep = -1;

  // The chances (percent, 0..100) of the side requests, drawn once each.
  struct TRequestChances {
    int drink = 0, music = 0, resit = 0, coffee = 0, tissue = 0;
  };
  // How much patience a timed side request may cost before it runs out.
  struct TRequestAllowances {
    int coffee = 0, tissue = 0, music = 0, drink = 0;
  };

  // What the level keeps on a guest for its own rules: the guest's own code never reads it.
  struct TLevelState {
    std::weak_ptr<TFestraGuest> partner;  // the guest it was matched with
    std::vector<int> likedTypes;          // guest types it likes to sit beside
    std::vector<int> dislikedTypes;
    // -1 none; a guest type (beside one), type + 20 (not beside one), a table colour + 100
    // (at a table of that colour) or + 150 (not at one); with the picture that shows it.
    int seatingTarget = -1;
    TString seatingTargetName;
    TVec2 savedPosition;  // where it stood when the player picked it up
    bool leaving = false;
    bool problemChosen = false;
    bool problemRunning = false;
    bool problemFixed = false;
    bool lovesick = false;
    bool bumpedOffDanceFloor = false;
    int danceTimer = 0;  // ms until a guest waiting for the dance floor wants to dance
    int waitTimer = 0;   // ms
    int layerOrder = 0;
    std::shared_ptr<TSprite> attachedSprite;
    std::shared_ptr<TRequestItem> requestItem;
  };

  explicit TFestraGuest(int layer = 0);
  ~TFestraGuest() override;

  // Set-up by the level. Animation states 0-6 from the first seven names, state 7 from the
  // eighth for the uncle and the aunt.
  void LoadAnimations(const std::vector<TString>& names, int type);
  // Appetizer, dinner and cake: full, empty and request icon each.
  void SetFoodImages(const std::array<TString, kFoodImages>& images);
  // The waits before sitting, gift, appetizer, dinner and cake; the step timer takes the first.
  void SetStepTimes(const std::array<int, kSteps>& ms);
  // The standing highlight, and name + "_sit" as the seated one, placed by guest type.
  void SetHighlightImage(const TString& name);
  void SetMaxPatience(int value) { mMaxPatience = value; }
  void SetPatience(int value) { mPatience = value; }
  void SetChances(const TRequestChances& chances) { mChances = chances; }
  void SetAllowances(const TRequestAllowances& allowances) { mAllowances = allowances; }
  void SetRequestPenalty(int value) { mRequestPenalty = value; }
  void SetPatienceBonus(int value) { mPatienceBonus = value; }
  void SetResitThreshold(int value) { mResitThreshold = value; }
  void SetSeatWaitCountdown(int ms) { mSeatWaitCountdown = ms; }
  void SetSeatingPreference(int value) { mSeatingPreference = value; }
  // The picture of the seating preference (a guest type's icon, a table mark, being alone).
  void SetIconImage(const TString& name) { mIconImage = name; }
  void SetDanceFlag(int value) { mDanceFlag = value; }
  void SetInterruptRequest(bool on) { mInterruptRequest = on; }
  void SetNoResit(bool on) { mNoResit = on; }
  void AddId(int id) { mIds.push_back(id); }
  // A value the level keeps for the guest's present seating; SetSeat puts it back to 0.
  void SetSeatValue(int value) { mSeatValue = value; }
  int GetSeatValue() const { return mSeatValue; }

  // Seats the guest (a null table only frees its seat), freeing the seat it had.
  void SetSeat(const std::shared_ptr<TFestraTable>& table, int seat);
  // The guest leaves its seat: hidden, seat freed, side request ended.
  void ClearSeat();

  // Queries.
  int GetDesire() const { return mDesire; }
  int GetSpecialState() const { return mSpecialState; }
  int GetDesireStep() const { return mDesireStep; }
  int GetStepTimer() const { return mStepTimer; }
  int GetPatience() const { return mPatience; }
  int GetMaxPatience() const { return mMaxPatience; }
  int GetRequestThreshold() const { return mRequestThreshold; }
  const TRequestChances& GetChances() const { return mChances; }
  int GetGuestType() const { return mGuestType; }
  int GetSeatingPreference() const { return mSeatingPreference; }
  const TString& GetIconImage() const { return mIconImage; }
  TLevelState& GetLevelState() { return mLevelState; }
  const TLevelState& GetLevelState() const { return mLevelState; }
  int GetGraceTimer() const { return mGraceTimer; }
  int GetPlannerEventId() const { return mPlannerEventId; }
  int GetSobHandle() const { return mSobHandle; }
  bool IsResitPending() const { return mResitPending; }
  // The mood third: 0 alert, 1 warning, 2 normal.
  int GetMood() const;
  // In a seated-activity animation: eating, happy, seated, upset or the problem (2, 4-7).
  bool IsInSpecialAnimState() const;
  // In a seated-activity animation or waiting to sit.
  bool IsSeatedActivity() const;
  // Wants the dance floor: the dance desire, or the seat-change desire of the dance phase.
  bool WantsDance() const;
  // Wants the gift, the appetizer or dinner taken or brought.
  bool IsRequestDesire() const;
  bool IsGraceTimerOver() const { return mGraceTimer < 1; }
  // The guest beside it at its table has that type.
  bool IsNextToGuestType(int type);
  bool ContainsId(int id) const;
  bool GetServedFlag(int kind) const;
  void SetServedFlag(int kind, bool served);
  bool WasServed(int kind) const override { return GetServedFlag(kind); }
  // The table it sits at; empty when it is not seated or the table is gone.
  std::shared_ptr<TFestraTable> GetTable() const { return mTable.lock(); }
  int GetSeat() const { return mSeat; }
  std::shared_ptr<TFestraTable> GetLastTable() const { return mLastTable.lock(); }
  int GetLastSeat() const { return mLastSeat; }
  const std::shared_ptr<TMovingParticle>& GetBubble() const { return mBubble; }
  TString GetBubbleImage() const;
  // The top-left of the cached bounds moved by the anchor offset.
  TPoint GetAnchorPoint();
  // The top-left of the cached bounds, 10 px left and 45 px up.
  TPoint GetEffectPoint();
  // The current frame's bounds in the room, taken again when the animation state changed
  // or when forced.
  TRect GetCachedBounds(bool force);
  void SetAnchorOffset(int x, int y) { mAnchorOffset = TPoint{x, y}; }
  int GetMarkCount() const { return mMarkCount; }
  bool IsHighlighted() const { return mHighlight; }
  const std::shared_ptr<TFestraSprite>& GetRequestIcon() const { return mRequestIcon; }
  const std::shared_ptr<TFestraSprite>& GetStandingHighlight() const { return mStandingHighlight; }
  const std::shared_ptr<TFestraSprite>& GetSeatedHighlight() const { return mSeatedHighlight; }
  const std::shared_ptr<TFestraStateAnim>& GetCheckMark() const { return mCheckMark; }

  // State changes by the level.
  void SetDesire(int code);
  void SetSpecialState(int code);
  void SetDesireStep(int step) { mDesireStep = step; }
  // Takes the next course step as the desire; answers the desire.
  int AdvanceDesire();
  void AddPatienceBonus();
  // Half the maximum patience back, at most the maximum.
  void BoostMood();
  // Patience down into the next lower mood third.
  void DropPatienceThird();
  void PlayAngry();
  void StartGraceTimer(int ms) { mGraceTimer = ms; }
  void SaveState();
  void RestoreState();
  void ShowRequestIcon(int desire, bool empty);
  // Clicks queued on the guest by the servers; above 0 the check mark shows.
  void SetMarkCount(int count);
  void SetHighlight(bool on);
  void SetBubble(const std::shared_ptr<TMovingParticle>& bubble);
  // Forgets the bubble, wherever it is.
  void ReleaseBubble();
  // Takes the bubble out of the room and forgets it.
  void RemoveBubble();
  void PlaceBubble(bool force);
  void ShowReadyToDance();
  void RefreshIdleState();
  // Stops the sobbing loop and removes the planner event of a coffee or tissue request; the
  // heroine's fix calls it, and so does the guest when it leaves.
  void EndSideRequest();
  void UpdateMoodAnimation(int dt);
  // One play tick of dt ms: answers a new desire code, kGuestNothing, kGuestPatienceOut,
  // kGuestRequestOut, 17 or 18.
  int Update(int dt);

  // A click on the guest (the level's mouse handler): reports 1500 when the guest can be
  // served, 1501 while busy when allowed; false when nothing was reported.
  bool OnGuestClicked(TPoint point, bool allowBusy, bool force);

 private:
  struct TSavedState {
    int desire = kDesireNone;
    int step = 0;
    int stepTimer = 0;
    int anim = 0;
  };

  int MoodThird() const;
  int StepTime(int step) const;
  void ChooseDesire(int dt);
  int FinishChoice();
  bool DrawSideRequest();
  void RaisePlannerEvent(int code);
  int EndSeatWait();
  int WaitOnDesire(int dt);
  void ShowNewRequestIcon(int desire);
  void RefreshRequestIcon();
  void PlaceRequestIcon();
  void FreeSeat();

  std::array<bool, kServedKinds> mServed{};
  std::array<TString, kFoodImages> mFoodImages;
  int mPatience = 0;
  int mMaxPatience = kDefaultMaxPatience;
  std::weak_ptr<TFestraTable> mTable;
  int mSeat = -1;
  std::weak_ptr<TFestraTable> mLastTable;
  int mLastSeat = -1;
  int mSeatValue = 0;
  TRequestChances mChances;
  int mPatienceBonus = 0;
  int mRequestPenalty = 0;
  TRequestAllowances mAllowances;
  int mResitThreshold = 0;
  int mRequestThreshold = 0;
  int mSeatWaitCountdown = 0;
  int mSeatingPreference = 0;
  TString mIconImage;
  int mDanceFlag = 0;
  bool mInterruptRequest = false;
  bool mResitPending = false;
  bool mNoResit = false;
  int mDesire = kDesireNone;
  int mDesireStep = 0;
  int mSpecialState = kSpecialChoose;
  int mStepTimer = kFirstStepTimer;
  std::array<int, kSteps> mStepTimes{};
  TSavedState mSaved;
  int mPlannerEventCode = 0;
  int mPlannerEventId = -1;
  int mSobHandle = -1;
  bool mMoodChanged = false;
  bool mAngry = false;
  int mGraceTimer = 0;
  bool mDanceEffectStarted = false;
  int mGuestType = 0;
  int mMarkCount = 0;
  bool mHighlight = false;
  TPoint mAnchorOffset;
  TRect mBoundsCache;
  int mBoundsState = -1;
  int mLastMoodAnim = -1;
  int mLastMoodThird = -1;
  std::vector<int> mIds;
  std::shared_ptr<TFestraSprite> mRequestIcon;
  std::shared_ptr<TFestraSprite> mStandingHighlight;
  std::shared_ptr<TFestraSprite> mSeatedHighlight;
  std::shared_ptr<TFestraStateAnim> mCheckMark;
  std::shared_ptr<TMovingParticle> mBubble;
  TLevelState mLevelState;
};
