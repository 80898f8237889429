// Moving items: their icons and text, and the stepped flight with its bounce.
#include "game/room/TMovingParticle.h"

#include <algorithm>
#include <cstdint>

#include "game/room/RoomArt.h"
#include "game/room/TFestraText.h"

namespace {

// One axis moved by `step` toward `target`, never past it.
int StepToward(int from, int target, int step) {
  if (from < target) return static_cast<int>(std::min<int64_t>(int64_t{from} + step, target));
  if (from > target) return static_cast<int>(std::max<int64_t>(int64_t{from} - step, target));
  return from;
}

// Characters of UTF-8 text: the bytes that do not continue a sequence.
int CountCharacters(const TString& text) {
  int count = 0;
  for (const char* p = text.c_str(); *p; ++p)
    count += (static_cast<unsigned char>(*p) & 0xC0) != 0x80;
  return count;
}

bool Same(TPoint a, TPoint b) {
  return a.x == b.x && a.y == b.y;
}

}  // namespace

TMovingParticle::~TMovingParticle() = default;

void TMovingParticle::Setup(const TString& image, int targetX, int targetY, float speed) {
  SetTexture(GetRoomTexture(image));
  mTarget = TPoint{targetX, targetY};
  mSpeed = speed;
}

std::shared_ptr<TFestraSprite> TMovingParticle::MakeIcon(const TString& image, int x, int y) {
  auto icon = TFestraSprite::Create(0);
  icon->SetTexture(GetRoomTexture(image));
  AddChild(icon);
  icon->PlaceAt(x, y, kStoredAnchor);
  return icon;
}

void TMovingParticle::SetIcon(const TString& image, int x, int y) {
  mIcon = MakeIcon(image, x, y);
}

void TMovingParticle::SetSecondIcon(const TString& image, int x, int y) {
  mSecondIcon = MakeIcon(image, x, y);
}

void TMovingParticle::SetText(const TString& text, int targetX, int targetY, float speed,
                              int fontSize, int boxWidth, const float colour[4]) {
  mText = TFestraText::Create(0);
  AddChild(mText);
  mText->SetAnchor(kAnchorCentre);
  const int lines = CountCharacters(text) > 5 ? 2 : 1;
  mText->SetupText(text, static_cast<float>(boxWidth), static_cast<float>(lines * fontSize + 5), 0,
                   "assets/fonts/arial.mvec", fontSize, colour);
  mTarget = TPoint{targetX, targetY};
  mSpeed = speed;
}

void TMovingParticle::SetBounce(int x, int y, int durationMs) {
  mBounceA = TPoint{x, y};
  mBounceB = mTarget;
  mBounceLeft = durationMs;
  mBouncing = true;
}

bool TMovingParticle::UpdateMove(int elapsedMs) {
  const TRect from = mText ? mText->GetBounds(-1) : GetLocalBounds(-1);
  TPoint at{from.left, from.top};
  if (mSpeed > 0 && elapsedMs > 0) {
    const int step = std::max(1, TruncateToInt(mSpeed * static_cast<float>(elapsedMs)));
    at.x = StepToward(at.x, mTarget.x, step);
    at.y = StepToward(at.y, mTarget.y, step);
  }
  PlaceAt(at.x, at.y);
  if (!mBouncing) {
    mArrived = Same(at, mTarget);
    return !mArrived;
  }
  if (mBounceLeft > 0) {
    if (Same(at, mBounceA)) {
      mTarget = mBounceB;
    } else if (Same(at, mBounceB)) {
      mTarget = mBounceA;
    }
    mBounceLeft -= elapsedMs;
    return true;
  }
  mArrived = true;
  return false;
}
