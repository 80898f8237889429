// State animations: starting a state and the generated DoAnim with its shared jitter.
#include "game/room/TFestraStateAnim.h"

#include "game/room/RoomArt.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/script/TScript.h"

namespace {

constexpr int kJitterFirst = -10;
constexpr int kJitterStep = 5;
constexpr int kJitterLast = 10;

int gStateJitter = kJitterFirst;

}  // namespace

int TFestraStateAnim::TakeJitter() {
  const int jitter = gStateJitter;
  gStateJitter += kJitterStep;
  if (gStateJitter > kJitterLast) gStateJitter = kJitterFirst;
  return jitter;
}

void TFestraStateAnim::ResetJitter() {
  gStateJitter = kJitterFirst;
}

TString TFestraStateAnim::MakeDoAnim(int frames, bool loop, int times, int delay) {
  TString text = "function DoAnim()\n";
  text += TString::Format("    delay(%d);\n", delay);
  if (frames >= 1) {
    if (loop) text += " repeat   ";
    text += "    frames{";
    for (int pass = 0; pass < times; ++pass) {
      for (int frame = 1; frame <= frames; ++frame) {
        text += TString::Format(pass == 0 && frame == 1 ? "%d" : ",%d", frame);
      }
    }
    text += "};\n";
    if (loop) text += " until false; ";
  }
  text += "end\n";
  return text;
}

void TFestraStateAnim::SetPosition(float x, float y, int /*anchor*/) {
  StorePosition(TVec2(x, y));
}

TRect TFestraStateAnim::GetLocalBounds(int depth) {
  const bool hasState = mState >= 0 && mState < GetStateCount() && mStates[mState];
  if (!hasState) return TFestraAnimSprite::GetLocalBounds(depth);
  const TRect frame = mStates[mState]->GetFrameRect(GetCurrentFrame());
  const TPoint at = GetPosition();
  return TRect{frame.left + at.x, frame.top + at.y, frame.right + at.x, frame.bottom + at.y};
}

void TFestraStateAnim::AddState(const TString& file) {
  mStates.push_back(GetRoomAnimation(file));
}

bool TFestraStateAnim::CheckState(const char* function, int state) const {
  if (state >= 0 && state < GetStateCount()) return true;
  DebugLog("TFestraStateAnim::%s: state %d of %d states", function, state, GetStateCount());
  return false;
}

void TFestraStateAnim::LoopState(int state) {
  if (!CheckState("LoopState", state)) return;
  mLoop = true;
  mRepeat = 1;
  mState = state;
  StartState();
}

void TFestraStateAnim::PlayState(int state, int times) {
  if (!CheckState("PlayState", state)) return;
  if (times <= 0) {
    DebugLog("TFestraStateAnim::PlayState: state %d played %d times", state, times);
    return;
  }
  mLoop = false;
  mRepeat = times;
  mState = state;
  StartState();
}

void TFestraStateAnim::StartState() {
  StartAnimationScript();
  const std::shared_ptr<TAnimatedTexture> texture = mStates[mState];
  SetTexture(texture);
  if (!texture) return;
  if (!mOwnScript) {
    const int delay = mFrameDelay + (TvRand() & 3) + TakeJitter() - 2;
    const TString script = MakeDoAnim(texture->GetFrameCount(), mLoop, mRepeat, delay);
    GetAnimationScript()->DoLuaString(script.c_str(), script.Length());
  }
  RunScriptFunction("DoAnim");
}

void TFestraStateAnim::ShowMark(bool shown) {
  SetVisible(shown);
  if (shown) {
    PlayState(0, 1);
  } else {
    StartAnimationScript();
  }
}
