// A character the player directs across the reception room: a server (role 0), who fetches
// and carries items between the serving table, guests and the other stations, or the planner
// heroine (role 1), who walks to problems and fixes them. The level queues the player's
// clicks on it and updates it every play tick; the character takes its targets one at a
// time, walks to a spot beside each along the grid pathfinder's path and answers its arrival
// from Update, upon which the level does the pick-up, hand-over or fix. Up to two carried
// items sit in its hands, placed by facing.
//
// Queued targets are kept by value and hold their guests and objects weakly: a target that
// has left the room is skipped, and one that leaves while the character walks to it ends the
// walk. Targets are kept inside the room's walking grid. UI thread only.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "game/room/TFestraStateAnim.h"
#include "tvlib/core/TRect.h"

class TFestraGuest;
class TFestraObject;
class TFestraSprite;
class TMovingParticle;
class TSound;
class TWaitressPathfinding;

class TFestraWaitress : public TFestraStateAnim {
  TV_SPRITE_CLASS(TFestraWaitress, TFestraStateAnim)

 public:
  enum TRole { kServer = 0, kPlanner = 1 };
  // The actions callers speak in; the state map turns them into animation states.
  enum TAction {
    kActionIdle = 0,
    kActionWest = 3,
    kActionSouth = 6,
    kActionNorth = 9,
    kActionEast = 12,
    kActionAmbient = 15,
    kActionAmbient2 = 16,
    kActionAmbient3 = 17,
    kActionFix = 18,
    kActionHappy = 19,
  };
  enum TFacing { kFacingUnset = -1, kWest = 0, kSouth = 1, kNorth = 2, kEast = 3, kStanding = 4 };

  static constexpr int kLookStates = 18;
  static constexpr int kRoomWidth = 800;
  static constexpr int kRoomHeight = 600;
  static constexpr int kCellSize = 20;
  static constexpr int kDefaultQueueLimit = 100;
  static constexpr float kDefaultSpeed = 50.0f;
  static constexpr float kDrawScale = 1.6666666f;
  static constexpr int kFirstIdleMs = 5000;
  static constexpr int kRestDelayMs = 500;
  static constexpr int kBalloonRise = 165;
  static constexpr const char* kPlannerSound = "assets/audio/sfx/velka_fixing_problem.ogg";

  // A queued or current target: a guest or an object, the other empty.
  struct TTask {
    std::weak_ptr<TFestraObject> object;
    std::weak_ptr<TFestraGuest> guest;
    // The target has left the room.
    bool IsExpired() const { return object.expired() && guest.expired(); }
  };

  explicit TFestraWaitress(int layer = 0);
  ~TFestraWaitress() override;

  void Draw(const TDrawSpec& parent, int depth) override;
  // Reports 1900 to the level; false without one.
  bool OnClick(TPoint point) override;
  // Empty: the character plays its states through its actions.
  void LoopState(int state) override;
  void PlayState(int state, int times) override;

  // Set-up by the level. Looks 0 "Red", 1 "Blue", 2 the third; 18 states each.
  void SetLook(int look);
  // Fills the action-to-state map; the planner also loads its fixing sound.
  void SetRole(int role);
  int GetRole() const { return mRole; }
  void SetStartPosition(int x, int y);
  TPoint GetStartPosition() const { return mStart; }
  // Stores the rectangles and builds the walking grid over the room from them.
  void SetObstacles(const std::vector<TRect>& obstacles);
  void SetMarkerImage(const TString& name);
  void SetRestPoint(int x, int y);
  // Beside the guest's table: 15 px right of it, 5 px below the character.
  void SetRestPointBesideTable(const TFestraGuest& guest);
  void SetSpeed(float pxPerSecond) { mSpeed = pxPerSecond; }
  float GetSpeed() const { return mSpeed; }
  // The queue holds at most limit - 1 targets.
  void SetQueueLimit(int limit) { mQueueLimit = limit; }
  void SetStay(bool stay) { mStay = stay; }
  bool GetStay() const { return mStay; }

  // The click queue.
  void QueueGuest(const std::shared_ptr<TFestraGuest>& guest);
  void QueueObject(const std::shared_ptr<TFestraObject>& object);
  void ClearQueue();
  void StartNextTask();
  int GetQueueCount() const { return static_cast<int>(mQueue.size()); }
  const std::deque<TTask>& GetQueue() const { return mQueue; }
  bool HasCurrentTask() const { return mCurrent.has_value(); }
  // The target walked to; empty when there is none or it has left.
  std::shared_ptr<TFestraGuest> GetCurrentGuest() const;
  std::shared_ptr<TFestraObject> GetCurrentObject() const;

  // Walking.
  void WalkTo(int x, int y);
  void WalkToObject(const std::shared_ptr<TFestraObject>& object, int x, int y);
  void WalkToGuest(const std::shared_ptr<TFestraGuest>& guest, int x, int y);
  // One tick of dt ms: true when the character stands at its current target.
  bool Update(int dt);
  void UpdateReturnTimer(int dt);
  TPoint GetTarget() const { return mTarget; }
  const std::deque<TPoint>& GetPath() const { return mPath; }
  bool IsWalking() const { return mWalking; }
  // Busy: the heroine stands at a problem and plays her fixing action until it ends. She
  // becomes busy on arriving at a target; the level sets it when it marks her as having
  // fixed a problem, or clears it.
  bool IsBusy() const { return mBusy; }
  void SetBusy(bool busy) { mBusy = busy; }
  int GetFacing() const { return mFacing; }
  int GetAction() const { return mAction; }
  TVec2 GetPrecisePosition() const { return mPrecise; }

  // Animation.
  virtual void PlayActionLooped(int action);
  virtual void PlayAction(int action, int times);
  void UpdateAnimation(int dt, bool force);
  void PickIdleAnimation();
  void PlayCheer();
  bool IsPlayingAmbient() const;
  int GetIdleTimer() const { return mIdleTimer; }

  // Carried items and the planner's balloon.
  void SetFirstItem(const std::shared_ptr<TFestraSprite>& item);
  void SetSecondItem(const std::shared_ptr<TFestraSprite>& item);
  void ClearFirstItem();
  void ClearSecondItem();
  const std::shared_ptr<TFestraSprite>& GetFirstItem() const { return mFirstItem; }
  const std::shared_ptr<TFestraSprite>& GetSecondItem() const { return mSecondItem; }
  void PlaceCarriedItems();
  void SetBalloon(const std::shared_ptr<TMovingParticle>& balloon) { mBalloon = balloon; }
  const std::shared_ptr<TMovingParticle>& GetBalloon() const { return mBalloon; }
  void RemoveBalloon();
  void PlaceBalloon();
  const std::shared_ptr<TFestraSprite>& GetMarker() const { return mMarker; }

 private:
  // The approach spot beside a target.
  TPoint GuestSpot(TFestraGuest& guest) const;
  TPoint ObjectSpot(TFestraObject& object) const;
  bool IsLastTarget(const TTask& task, const TFestraObject* object,
                    const TFestraGuest* guest) const;
  // The target moved below the obstacles it falls in and kept inside the room; the path to it.
  void StartPath(int x, int y);
  // Ends the walk to a target that has left the room.
  void DropExpiredTask();
  void Advance(float seconds);
  // The animation state of an action, raised by the carried items when `carried`; -1 unmapped.
  int MapAction(int action, bool carried) const;
  int CarriedCount() const;
  bool IsStateRunning(int state) const;
  TPoint RoundedPosition() const;
  void ResetIdleTimer();
  // Puts the item (null: none) in the emptied hand, carried at full size by its bottom centre;
  // the character stands still.
  void Hold(std::shared_ptr<TFestraSprite>& hand, const std::shared_ptr<TFestraSprite>& item);

  std::shared_ptr<TFestraSprite> mFirstItem;
  std::shared_ptr<TFestraSprite> mSecondItem;
  std::optional<TTask> mCurrent;
  std::shared_ptr<TMovingParticle> mBalloon;
  std::shared_ptr<TFestraSprite> mMarker;
  TPoint mStart;
  float mSpeed = kDefaultSpeed;
  bool mWalking = false;
  int mQueueLimit = kDefaultQueueLimit;
  int mRole = kServer;
  int mFacing = kFacingUnset;
  bool mBusy = false;
  int mAction = -1;
  std::deque<TTask> mQueue;
  TPoint mTarget;
  TVec2 mPrecise;
  std::vector<TRect> mObstacles;
  std::unique_ptr<TWaitressPathfinding> mPathfinder;
  std::deque<TPoint> mPath;
  std::map<int, int> mStateMap;
  std::shared_ptr<TSound> mPlannerSound;
  int mRestTimer = 0;
  TPoint mRestPoint;
  bool mRestPending = false;
  bool mStay = true;
  int mIdleTimer = kFirstIdleMs;
};
