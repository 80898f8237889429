// Servers and the planner: looks and the action map, the click queue, approach spots,
// walking along the pathfinder's path, facing, carried items, ambients and the balloon.
#include "game/room/TFestraWaitress.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "game/room/RoomArt.h"
#include "game/room/RoomCodes.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TFestraObject.h"
#include "game/room/TFestraTable.h"
#include "game/room/TMovingParticle.h"
#include "game/room/TRequestItem.h"
#include "game/room/TRoomLevel.h"
#include "game/room/TWaitressPathfinding.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/render/TTexture.h"

namespace {

// The planner problem events, which count their clicks like the stations.
constexpr int kPlannerEventFirst = 1000;
constexpr int kPlannerEventLast = 1006;
constexpr int kIdleSpread = 4501;
constexpr int kIdleLeast = 500;

const char* const kLookPrefixes[] = {
    "assets/images/character/Red/waitress_red_",
    "assets/images/character/Blue/waitress_blue_",
    "assets/images/character/zia/zia_",
};
const char* const kLookSuffixes[] = {"idle",   "idle1",  "idle2",  "west0",  "west1",
                                     "west2",  "south0", "south1", "south2", "north0",
                                     "north1", "north2", "east0",  "east1",  "east2"};
const char* const kLookAmbients[][3] = {
    {"amb1", "1amb1", "2amb1"},
    {"ambient", "ambient1", "ambient2"},
    {"idle", "idle1", "idle2"},
};

// Hand offsets by facing: one item, then the first and second of two.
struct THandOffsets {
  TPoint one, first, second;
};
constexpr THandOffsets kHands[] = {
    {{10, -50}, {8, -44}, {-26, -44}},    // west
    {{23, -45}, {23, -39}, {-24, -39}},   // south
    {{-15, -45}, {-23, -47}, {24, -49}},  // north
    {{15, -51}, {15, -45}, {-20, -45}},   // east
    {{15, -51}, {15, -51}, {-18, -50}},   // standing
};

bool SamePoint(TPoint a, TPoint b) {
  return a.x == b.x && a.y == b.y;
}

bool Inside(TPoint p, const TRect& r) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

int RoundToInt(float v) {
  return TruncateToInt(v + 0.5f);
}

bool IsCountedObject(int type) {
  return (type >= kPlannerEventFirst && type <= kPlannerEventLast) ||
         (type >= kObjectGuestTable && type <= kObjectHeadTable) ||
         (type >= kObjectHeroine && type <= kObjectWineTable);
}

bool IsStationObject(int type) {
  return (type >= kObjectGuestTable && type <= kObjectHeadTable) ||
         (type >= kObjectHeroine && type <= kObjectWineTable);
}

}  // namespace

TFestraWaitress::TFestraWaitress(int layer)
    : TFestraStateAnim(layer),
      mMarker(TFestraSprite::Create(0)),
      mPathfinder(std::make_unique<TWaitressPathfinding>()) {}

TFestraWaitress::~TFestraWaitress() = default;

void TFestraWaitress::Draw(const TDrawSpec& parent, int depth) {
  SetScale(kDrawScale);
  TFestraStateAnim::Draw(parent, depth);
}

bool TFestraWaitress::OnClick(TPoint /*point*/) {
  if (!GetOwner()) return false;
  GetOwner()->OnObjectClicked(this, kClickCharacter);
  return true;
}

void TFestraWaitress::LoopState(int /*state*/) {}

void TFestraWaitress::PlayState(int /*state*/, int /*times*/) {}

void TFestraWaitress::SetLook(int look) {
  if (look < 0 || look > 2) {
    DebugLog("TFestraWaitress::SetLook: no look %d", look);
    return;
  }
  for (const char* suffix : kLookSuffixes) {
    AddState(TString::Format("%s%s.xml", kLookPrefixes[look], suffix));
  }
  for (const char* ambient : kLookAmbients[look]) {
    AddState(TString::Format("%s%s.xml", kLookPrefixes[look], ambient));
  }
}

void TFestraWaitress::SetRole(int role) {
  mRole = role;
  mStateMap.clear();
  const int actions[] = {kActionIdle, kActionWest,    kActionSouth,    kActionNorth,
                         kActionEast, kActionAmbient, kActionAmbient2, kActionAmbient3,
                         kActionFix,  kActionHappy};
  const int mapped = role == kPlanner ? 10 : 8;
  for (int i = 0; i < mapped; ++i) {
    mStateMap[actions[i]] = role == kPlanner ? i : actions[i];
  }
  if (role == kPlanner) {
    mPlannerSound = TSound::Get(kPlannerSound, true, TSoundManager::kGroupEffects);
  }
}

void TFestraWaitress::SetStartPosition(int x, int y) {
  mStart = TPoint{x, y};
  mTarget = mStart;
  mPrecise = TVec2(static_cast<float>(x), static_cast<float>(y));
  PlaceAt(x, y, kStoredAnchor);
}

void TFestraWaitress::SetObstacles(const std::vector<TRect>& obstacles) {
  mObstacles = obstacles;
  mPathfinder->BuildGrid(0, 0, kRoomWidth, kRoomHeight, mObstacles, kCellSize);
}

void TFestraWaitress::SetMarkerImage(const TString& name) {
  mMarker->SetVisible(false);
  mMarker->SetTexture(GetRoomTexture(name));
  mMarker->SetAnchor(kAnchorBottomCentre);
  if (mMarker->GetParent() != this) AddChild(mMarker);
  mMarker->PlaceAt(GetWidth() / 2, 0, kStoredAnchor);
}

void TFestraWaitress::SetRestPoint(int x, int y) {
  mRestPoint = TPoint{x, y};
  mRestPending = true;
}

void TFestraWaitress::SetRestPointBesideTable(const TFestraGuest& guest) {
  const std::shared_ptr<TFestraTable> table = guest.GetTable();
  if (!table) return;
  SetRestPoint(table->GetPosition().x + table->GetWidth() + 15, GetPosition().y + 5);
}

// ---- The click queue ----

bool TFestraWaitress::IsLastTarget(const TTask& task, const TFestraObject* object,
                                   const TFestraGuest* guest) const {
  if (object) return task.object.lock().get() == object;
  return task.guest.lock().get() == guest;
}

void TFestraWaitress::QueueGuest(const std::shared_ptr<TFestraGuest>& guest) {
  if (!guest) return;
  if (mRole == kServer && GetOwner() && GetOwner()->IsWaitressPaused()) return;
  if (!mQueue.empty() && IsLastTarget(mQueue.back(), nullptr, guest.get())) return;
  if (mQueue.empty() && mCurrent && IsLastTarget(*mCurrent, nullptr, guest.get())) return;
  mStay = false;
  if (GetQueueCount() >= mQueueLimit - 1) return;
  TTask task;
  task.guest = guest;
  guest->SetMarkCount(guest->GetMarkCount() + 1);
  mQueue.push_back(task);
  if (GetOwner()) GetOwner()->PlayClickSound();
  if (!mCurrent) StartNextTask();
}

void TFestraWaitress::QueueObject(const std::shared_ptr<TFestraObject>& object) {
  if (!object) return;
  if (mRole == kServer && GetOwner() && GetOwner()->IsWaitressPaused()) return;
  const bool repeated =
      (!mQueue.empty() && IsLastTarget(mQueue.back(), object.get(), nullptr)) ||
      (mQueue.empty() && mCurrent && IsLastTarget(*mCurrent, object.get(), nullptr));
  if (repeated && object->GetObjectType() != kObjectWineTable) return;
  mStay = false;
  if (GetQueueCount() < mQueueLimit - 1) {
    TTask task;
    task.object = object;
    mQueue.push_back(task);
    if (GetOwner()) GetOwner()->PlayClickSound();
    const int type = object->GetObjectType();
    if (type == kObjectChefStation) {
      object->MarkClickedItem();
    } else if (IsCountedObject(type)) {
      object->SetMarkCount(object->GetMarkCount() + 1);
    } else {
      object->SetMarkCount(1);
    }
  }
  if (!mCurrent && (mRole == kPlanner || !mBusy)) StartNextTask();
}

void TFestraWaitress::ClearQueue() {
  for (const TTask& task : mQueue) {
    if (const std::shared_ptr<TFestraGuest> guest = task.guest.lock()) {
      guest->SetMarkCount(guest->GetMarkCount() - 1);
      continue;
    }
    const std::shared_ptr<TFestraObject> object = task.object.lock();
    if (!object) continue;
    if (IsStationObject(object->GetObjectType())) {
      object->SetMarkCount(object->GetMarkCount() - 1);
    } else if (object->GetObjectType() == kObjectChefStation) {
      object->UnmarkFirstItem();
    } else if (object->IsKindOf(TRequestItem::GetClassId())) {
      static_cast<TRequestItem&>(*object).SetMarked(false);
    }
  }
  mQueue.clear();
}

void TFestraWaitress::StartNextTask() {
  while (!mQueue.empty() && mQueue.front().IsExpired()) mQueue.pop_front();
  if (mQueue.empty()) {
    if (!mCurrent) return;
    const bool carrying = mFirstItem || mSecondItem;
    if (!carrying && !mBusy) {
      if (mRole == kPlanner) {
        WalkTo(mStart.x, mStart.y);
      } else {
        mFacing = kStanding;
        PlayAction(kActionIdle, 1);
      }
    } else if (carrying) {
      mFacing = kStanding;
      PlayAction(kActionIdle, 1);
    }
    mCurrent.reset();
    return;
  }
  const TTask task = mQueue.front();
  mQueue.pop_front();
  if (const std::shared_ptr<TFestraGuest> guest = task.guest.lock()) {
    const TPoint spot = GuestSpot(*guest);
    WalkToGuest(guest, spot.x, spot.y);
  } else if (const std::shared_ptr<TFestraObject> object = task.object.lock()) {
    const TPoint spot = ObjectSpot(*object);
    WalkToObject(object, spot.x, spot.y);
  }
}

std::shared_ptr<TFestraGuest> TFestraWaitress::GetCurrentGuest() const {
  return mCurrent ? mCurrent->guest.lock() : nullptr;
}

std::shared_ptr<TFestraObject> TFestraWaitress::GetCurrentObject() const {
  return mCurrent ? mCurrent->object.lock() : nullptr;
}

TPoint TFestraWaitress::GuestSpot(TFestraGuest& guest) const {
  if (guest.GetSpecialState() == kSpecialFrozen) return RoundedPosition();
  const TRect b = guest.GetCachedBounds(true);
  return TPoint{b.left + (b.right - b.left) / 2, b.bottom + 5};
}

TPoint TFestraWaitress::ObjectSpot(TFestraObject& object) const {
  const TRect b = object.GetBounds(0);
  const int w = b.right - b.left;
  const int h = b.bottom - b.top;
  switch (object.GetObjectType()) {
    case kObjectGuestTable:
    case kObjectHeadTable:
      return TPoint{b.left + w / 2, b.bottom + 5};
    case kObjectMusicTable:
      return TPoint{b.left + w / 2, b.bottom + 10 - h / 2};
    case kObjectChefStation: {
      const TRect again = object.GetBounds(0);
      return TPoint{again.left + GetWidth() / 2, again.bottom + GetHeight() / 2};
    }
    case kObjectHeroine:
      return TPoint{b.left + w / 2, b.bottom + 5 + h / 4};
    case kObjectDishBin:
    case kObjectWineTable:
      return TPoint{b.left + 5, b.bottom + 5};
    default: {
      const TRect outer = object.GetBounds(-1);
      return TPoint{(outer.left + outer.right) / 2, outer.bottom};
    }
  }
}

// ---- Walking ----

void TFestraWaitress::WalkTo(int x, int y) {
  mCurrent.reset();
  StartPath(x, y);
}

void TFestraWaitress::WalkToObject(const std::shared_ptr<TFestraObject>& object, int x, int y) {
  TTask task;
  task.object = object;
  mCurrent = task;
  StartPath(x, y);
}

void TFestraWaitress::WalkToGuest(const std::shared_ptr<TFestraGuest>& guest, int x, int y) {
  TTask task;
  task.guest = guest;
  mCurrent = task;
  StartPath(x, y);
}

void TFestraWaitress::StartPath(int x, int y) {
  TPoint target{x, y};
  for (size_t i = 0; i < mObstacles.size(); ++i) {
    if (Inside(target, mObstacles[i])) {
      target.y = mObstacles[i].bottom + 1;
      i = static_cast<size_t>(-1);  // scan again from the first rectangle
    }
  }
  // A spot pushed past the room's edge, or beside it, is kept on the walking grid.
  target.x = std::clamp(target.x, 0, kRoomWidth - 1);
  target.y = std::clamp(target.y, 0, kRoomHeight - 1);
  mTarget = target;
  const std::vector<TPoint> path = mPathfinder->FindPath(RoundedPosition(), mTarget);
  mPath.assign(path.begin(), path.end());
}

void TFestraWaitress::DropExpiredTask() {
  mPath.clear();
  StartNextTask();
}

bool TFestraWaitress::Update(int dt) {
  if (mCurrent && mCurrent->IsExpired()) DropExpiredTask();
  const float seconds = static_cast<float>(dt) / 1000.0f;
  if (!mPath.empty() && !mPathfinder->PathEndsAt(mTarget, {mPath.back()})) {
    const std::vector<TPoint> path = mPathfinder->Search(TWaitressPathfinding::kSearchBudgetMs);
    mPath.assign(path.begin(), path.end());
    return false;
  }
  if (!mBusy) Advance(seconds);
  UpdateAnimation(dt, false);
  if (mBusy && mAction == kActionFix && !IsPlaying(0)) {
    mBusy = false;
    if (mPath.empty()) WalkTo(mStart.x, mStart.y);
  }
  PlaceBalloon();
  if (mPath.empty() && mCurrent) {
    if (mRole == kPlanner) mBusy = true;
    PlaceCarriedItems();
    return true;
  }
  PlaceCarriedItems();
  return false;
}

void TFestraWaitress::Advance(float seconds) {
  if (mSpeed <= 0.0f) return;
  float left = seconds;
  bool first = true;
  while (left > 0.0f && !mPath.empty()) {
    mRestTimer = 0;
    const TPoint front = mPath.front();
    const TPoint from = first ? GetPosition() : RoundedPosition();
    first = false;
    const TVec2 d(static_cast<float>(front.x - from.x), static_cast<float>(front.y - from.y));
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    const float m = std::min(mSpeed * left, length);
    if (length > 0.0f) {
      mPrecise.x += d.x / length * m;
      mPrecise.y += d.y / length * m;
    }
    left -= m / mSpeed;
    const TPoint rounded = RoundedPosition();
    PlaceAt(rounded.x, rounded.y, kStoredAnchor);
    if (SamePoint(rounded, front)) {
      mPath.pop_front();
    } else if (m <= 0.0f) {
      break;  // no progress is possible this tick
    }
  }
}

void TFestraWaitress::UpdateReturnTimer(int dt) {
  if (mRole != kServer || mStay || !mRestPending) return;
  mRestTimer += dt;
  if (mRestTimer > kRestDelayMs) {
    WalkTo(mRestPoint.x, mRestPoint.y);
    mRestPending = false;
  }
}

TPoint TFestraWaitress::RoundedPosition() const {
  return TPoint{RoundToInt(mPrecise.x), RoundToInt(mPrecise.y)};
}

// ---- Animation ----

void TFestraWaitress::ResetIdleTimer() {
  mIdleTimer = static_cast<int>(TvRand() % kIdleSpread) + kIdleLeast;
}

void TFestraWaitress::UpdateAnimation(int dt, bool force) {
  mFacing = kStanding;
  int chosen = kActionAmbient;
  if (mRole == kPlanner) {
    chosen = kActionIdle;
    if (mBusy) {
      chosen = kActionFix;
      if (mAction == kActionFix) return;
      if (mPlannerSound) mPlannerSound->Play(false);
    } else if (mPath.empty()) {
      const bool resting = mAction == kActionIdle || mAction == kActionHappy ||
                           (mAction >= kActionAmbient && mAction <= kActionAmbient3);
      if (resting && IsPlaying(0)) return;
    }
  }
  if (mPath.empty()) {
    if (mWalking) {
      mFacing = kStanding;
      PlayAction(kActionIdle, 1);
      ResetIdleTimer();
      mWalking = false;
    }
  } else if (!mBusy) {
    const TPoint at = RoundedPosition();
    const int dx = mPath.front().x - at.x;
    const int dy = mPath.front().y - at.y;
    if (dx >= 1) {
      chosen = kActionEast;
      mFacing = kEast;
    } else if (dx < 0) {
      chosen = kActionWest;
      mFacing = kWest;
    } else if (dy < 1) {
      chosen = kActionNorth;
      mFacing = kNorth;
    } else {
      chosen = kActionSouth;
      mFacing = kSouth;
    }
    mWalking = true;
  }
  if (mRole == kServer && !mWalking) {
    mIdleTimer -= dt;
    if (!IsPlayingAmbient() && mIdleTimer < 1) {
      mFacing = kStanding;
      PlayAction(kActionAmbient, 1);
      ResetIdleTimer();
    }
    return;
  }
  if (chosen > kActionAmbient3) {
    PlayAction(chosen, 1);
    mWalking = true;
    return;
  }
  if (!force && chosen == mAction) return;
  PlayActionLooped(chosen);
  mWalking = true;
}

int TFestraWaitress::CarriedCount() const {
  return (mFirstItem ? 1 : 0) + (mSecondItem ? 1 : 0);
}

int TFestraWaitress::MapAction(int action, bool carried) const {
  const auto found = mStateMap.find(action);
  if (found == mStateMap.end()) {
    DebugLog("TFestraWaitress::MapAction: no state for action %d", action);
    return -1;
  }
  return found->second + (mRole == kServer && carried ? CarriedCount() : 0);
}

bool TFestraWaitress::IsStateRunning(int state) const {
  return GetState() == state && const_cast<TFestraWaitress*>(this)->IsPlaying(0);
}

void TFestraWaitress::PlayActionLooped(int action) {
  const int state = MapAction(action, action != kActionIdle);
  if (state < 0) return;
  if (!IsStateRunning(state)) TFestraStateAnim::LoopState(state);
  mAction = action;
  if (!mFirstItem && mSecondItem) std::swap(mFirstItem, mSecondItem);
  PlaceCarriedItems();
}

void TFestraWaitress::PlayAction(int action, int times) {
  const int state = MapAction(action, true);
  if (state < 0) return;
  if (!IsStateRunning(state)) TFestraStateAnim::PlayState(state, times);
  mAction = action;
  if (!mFirstItem && mSecondItem) std::swap(mFirstItem, mSecondItem);
  PlaceCarriedItems();
}

void TFestraWaitress::PickIdleAnimation() {
  if (mRole != kPlanner || mAction != kActionIdle) return;
  PlayAction(TvRand() % 3 != 0 ? kActionIdle : kActionAmbient2, 1);
}

void TFestraWaitress::PlayCheer() {
  if (mRole == kPlanner && mPath.empty()) PlayAction(kActionHappy, 1);
}

bool TFestraWaitress::IsPlayingAmbient() const {
  if (!const_cast<TFestraWaitress*>(this)->IsPlaying(0)) return false;
  for (int action : {kActionAmbient, kActionAmbient2, kActionAmbient3}) {
    const auto found = mStateMap.find(action);
    if (found != mStateMap.end() && found->second == GetState()) return true;
  }
  return false;
}

// ---- Carried items and the balloon ----

void TFestraWaitress::ClearFirstItem() {
  if (mFirstItem && mFirstItem->GetParent() == this) RemoveChild(mFirstItem.get());
  mFirstItem.reset();
}

void TFestraWaitress::ClearSecondItem() {
  if (mSecondItem && mSecondItem->GetParent() == this) RemoveChild(mSecondItem.get());
  mSecondItem.reset();
}

void TFestraWaitress::SetFirstItem(const std::shared_ptr<TFestraSprite>& item) {
  ClearFirstItem();
  Hold(mFirstItem, item);
}

void TFestraWaitress::SetSecondItem(const std::shared_ptr<TFestraSprite>& item) {
  ClearSecondItem();
  Hold(mSecondItem, item);
}

void TFestraWaitress::Hold(std::shared_ptr<TFestraSprite>& hand,
                           const std::shared_ptr<TFestraSprite>& item) {
  hand = item;
  if (item) {
    item->SetScale(1.0f);
    AddChild(item);
    item->SetAnchor(kAnchorBottomCentre);
  }
  mFacing = kStanding;
  PlayAction(kActionAmbient, 1);
}

void TFestraWaitress::PlaceCarriedItems() {
  if (!mFirstItem || mFacing < kWest || mFacing > kStanding) return;
  const THandOffsets& hands = kHands[mFacing];
  if (mSecondItem) {
    mFirstItem->PlaceAt(hands.first.x, hands.first.y, kStoredAnchor);
    mSecondItem->PlaceAt(hands.second.x, hands.second.y, kStoredAnchor);
  } else {
    mFirstItem->PlaceAt(hands.one.x, hands.one.y, kStoredAnchor);
  }
}

void TFestraWaitress::RemoveBalloon() {
  if (mBalloon && mBalloon->GetParent()) mBalloon->GetParent()->RemoveChild(mBalloon.get());
  mBalloon.reset();
}

void TFestraWaitress::PlaceBalloon() {
  if (!mBalloon) return;
  const TPoint at = GetPosition();
  const int x = at.x - mBalloon->GetWidth() / 2;
  const int y = at.y - kBalloonRise;
  mBalloon->SetBounce(x, y, INT_MAX);
  mBalloon->PlaceAt(x, y);
  mBalloon->SetLayer(GetLayer() + 1);
}
