// Guests: how a guest shows itself, its request icon, mood bubble, hover highlights and mood
// animations, with the per-type offsets that fit each guest's picture.
#include <climits>

#include "game/room/RoomArt.h"
#include "game/room/TFestraGuest.h"
#include "game/room/TMovingParticle.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TRandom.h"

namespace {

constexpr float kIconX = 2.0f;
constexpr float kIconY = -6.0f;
constexpr int kBubbleLeft = -8;
constexpr int kBubbleUp = -80;
// The bubble of a guest in a seated activity, against its standing place.
constexpr int kSeatedBubbleX = -1;
constexpr int kSeatedBubbleY = 19;

struct THighlightOffsets {
  int standingX, standingY, seatedX, seatedY;
};

// Where each guest type's highlights stand, by their bottom centre.
constexpr THighlightOffsets kHighlightOffsets[kGuestTypeCount] = {
    {-3, 6, -3, 5}, {-2, 8, -3, 6}, {0, 8, 1, 5},   {1, 8, -1, 6},  {0, 8, -2, 5},
    {-4, 8, -3, 6}, {0, 10, 0, 6},  {-6, 9, -3, 6}, {-1, 8, -1, 5}, {-3, 7, -2, 7},
};

const char* const kBubbleImages[3] = {
    "assets/images/guestbubble_alert0003",
    "assets/images/guestbubble_warning",
    "assets/images/guestbubble_normal",
};
const char* const kReseatBubbleImages[3] = {
    "assets/images/guestbubble_alert_reseat.png",
    "assets/images/guestbubble_warning_reseat.png",
    "assets/images/guestbubble_normal_reseat.png",
};

// The course images of desires 2 (appetizer), 3 (dinner) and 4 (cake): full, then empty.
int FullImage(int desire) {
  return (desire - kDesireAppetizer) * 3;
}
int EmptyImage(int desire) {
  return FullImage(desire) + 1;
}

void ShowIcon(TFestraSprite& icon, const TString& image) {
  icon.SetTexture(GetRoomTexture(image));
  icon.SetVisible(true);
}

}  // namespace

void TFestraGuest::PlaceRequestIcon() {
  mRequestIcon->SetPosition(kIconX, kIconY, kAnchorTopCentre);
}

void TFestraGuest::ShowNewRequestIcon(int desire) {
  const bool plateChange = desire >= kDesireDinner && desire <= kDesireDrink;
  if (plateChange && GetState() == kAnimEating) LoopState(kAnimSeated);
  switch (desire) {
    case kDesireGift:
      ShowIcon(*mRequestIcon, kGiftImage);
      break;
    case kDesireDinner:
      ShowIcon(*mRequestIcon, mFoodImages[EmptyImage(kDesireAppetizer)]);
      break;
    case kDesireCake:
      ShowIcon(*mRequestIcon, mFoodImages[EmptyImage(kDesireDinner)]);
      break;
    case kDesireMusic:
      ShowIcon(*mRequestIcon, kListImage);
      break;
    case kDesireDrink:
      mRequestIcon->SetVisible(false);
      break;
    default:
      break;
  }
  PlaceRequestIcon();
}

void TFestraGuest::RefreshRequestIcon() {
  mRequestIcon->SetVisible(false);
  if (mDesire == kDesireGift || mDesire == kDesireDinner || mDesire == kDesireCake) {
    ShowNewRequestIcon(mDesire);
  } else {
    PlaceRequestIcon();
  }
}

void TFestraGuest::ShowRequestIcon(int desire, bool empty) {
  if (empty && GetState() == kAnimEating) LoopState(kAnimSeated);
  switch (desire) {
    case kDesireGift:
      if (empty) {
        mRequestIcon->SetVisible(false);
      } else {
        ShowIcon(*mRequestIcon, kGiftImage);
      }
      break;
    case kDesireAppetizer:
    case kDesireDinner:
    case kDesireCake:
      ShowIcon(*mRequestIcon, mFoodImages[empty ? EmptyImage(desire) : FullImage(desire)]);
      break;
    case kDesireMusic:
      if (empty) {
        mRequestIcon->SetVisible(false);
      } else {
        if (GetState() == kAnimEating) LoopState(kAnimSeated);
        ShowIcon(*mRequestIcon, kListImage);
      }
      break;
    case kDesireDrink:
      mRequestIcon->SetVisible(false);
      break;
    default:
      break;
  }
  PlaceRequestIcon();
}

TString TFestraGuest::GetBubbleImage() const {
  const bool reseat = mDesire == kDesireMusic || mDesire == kDesireDrink || mDesire == kDesireResit;
  return (reseat ? kReseatBubbleImages : kBubbleImages)[GetMood()];
}

void TFestraGuest::SetBubble(const std::shared_ptr<TMovingParticle>& bubble) {
  ReleaseBubble();
  mBubble = bubble;
  if (mBubble) mBubble->SetLayer(GetLayer() + 1);
}

void TFestraGuest::ReleaseBubble() {
  mBubble.reset();
}

void TFestraGuest::RemoveBubble() {
  if (!mBubble) return;
  if (TSprite* parent = mBubble->GetParent()) parent->RemoveChild(mBubble.get());
  ReleaseBubble();
}

void TFestraGuest::PlaceBubble(bool force) {
  if (!mBubble) return;
  const TRect bounds = GetCachedBounds(force);
  const bool seated = IsSeatedActivity();
  const int mood = GetMood();
  int x = bounds.left + kBubbleLeft;
  int y = bounds.top + kBubbleUp;
  if (seated) {
    x += kSeatedBubbleX;
    y += kSeatedBubbleY;
  }
  switch (mGuestType) {
    case 2:
      if (!seated) x += 6;
      break;
    case 5:
      x += (seated || mood > 0) ? 4 : 13;
      break;
    case 7:
      if (!seated) {
        x += 2;
        y -= 5;
      }
      break;
    case kGuestUncle:
      x += seated ? 18 : 6;
      break;
    case kGuestAunt:
      if (seated) x += 4;
      break;
    default:
      break;
  }
  if (mood == 0) {
    x += TvRand() % 2 - 1;
    y += TvRand() % 2 - 1;
  }
  mBubble->SetBounce(x, y, INT_MAX);
  mBubble->PlaceAt(x, y);
  mBubble->SetLayer(GetLayer() + 1);
}

void TFestraGuest::SetHighlightImage(const TString& name) {
  mStandingHighlight->SetTexture(GetRoomTexture(name));
  mSeatedHighlight->SetTexture(GetRoomTexture(name + "_sit"));
  THighlightOffsets at{0, 0, 0, 0};
  if (mGuestType >= 0 && mGuestType < kGuestTypeCount) {
    at = kHighlightOffsets[mGuestType];
  } else {
    DebugLog("Unhandled guest type in SetHighlightImage");
  }
  mStandingHighlight->PlaceAt(at.standingX, at.standingY, kAnchorBottomCentre);
  mSeatedHighlight->PlaceAt(at.seatedX, at.seatedY, kAnchorBottomCentre);
}

void TFestraGuest::SetHighlight(bool on) {
  if (on == mHighlight) return;
  mHighlight = on;
  const bool seated = IsSeatedActivity();
  mSeatedHighlight->SetVisible(on && seated);
  mStandingHighlight->SetVisible(on && !seated);
}

void TFestraGuest::UpdateMoodAnimation(int /*dt*/) {
  const int state = GetState();
  if (state < kAnimHappy || state > kAnimProblem) return;
  if (mDesireStep == 0 || mDesire == kDesireSit || mDesire == kDesireTissue ||
      mDesire == kDesireCoffee) {
    return;
  }
  const int third = GetMood();
  static constexpr int kMoodAnims[3] = {kAnimUpset, kAnimSeated, kAnimHappy};
  const int anim = kMoodAnims[third];
  if (mAngry) {
    if (state == kAnimUpset && !IsAnimationDone()) return;
    mAngry = false;
  }
  if (third == 0 && IsAnimationDone()) {
    if (GetState() == kAnimUpset && mPatience > 0) {
      PlayState(kAnimSeated, 1);
    } else {
      PlayState(kAnimUpset, 4);
    }
  }
  if (anim == kAnimSeated && GetState() != kAnimSeated) {
    LoopState(kAnimSeated);
  } else if (third == mLastMoodThird && IsAnimationDone()) {
    LoopState(kAnimSeated);
  } else if (anim != mLastMoodAnim) {
    if (anim == kAnimHappy) {
      PlayState(kAnimHappy, 20);
    } else if (anim == kAnimSeated) {
      LoopState(kAnimSeated);
    } else {
      PlayState(kAnimUpset, 4);
    }
  }
  mLastMoodAnim = anim;
  mLastMoodThird = third;
}
