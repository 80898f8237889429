// An animated room sprite with numbered states, each an animation file. LoopState shows a
// state's frames forever, PlayState a number of times; each start gives the sprite a fresh
// script and, unless the sprite uses the animation's own script, a generated DoAnim whose
// frame delay carries a jitter shared by all state animations (-10, -5, 0, 5, 10 ms in turn)
// and 0 to 3 ms of chance, so that equal animations of several sprites run out of step.
//
// A state animation is placed by each frame's registration point: SetPosition stores the
// point as given and ignores the anchor. A state number outside the states added, or a play
// of 0 times or fewer, is logged and ignored. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "game/room/TFestraAnimSprite.h"

class TAnimatedTexture;

class TFestraStateAnim : public TFestraAnimSprite {
  TV_SPRITE_CLASS(TFestraStateAnim, TFestraAnimSprite)

 public:
  static constexpr int kDefaultFrameDelay = 60;

  explicit TFestraStateAnim(int layer = 0) : TFestraAnimSprite(layer) {}

  void SetPosition(float x, float y, int anchor) override;
  // The current state's frame rectangle moved by the position; without a state texture, the
  // bounding rectangle.
  TRect GetLocalBounds(int depth) override;
  virtual void LoopState(int state);
  virtual void PlayState(int state, int times);

  // Appends a state; a file that cannot be loaded is kept as an empty state.
  void AddState(const TString& file);
  // Drops every state; the current picture stays until the next state starts.
  void ClearStates() { mStates.clear(); }
  int GetState() const { return mState; }
  int GetStateCount() const { return static_cast<int>(mStates.size()); }
  void SetOwnScript(bool own) { mOwnScript = own; }
  void SetFrameDelay(int ms) { mFrameDelay = ms; }
  int GetFrameDelay() const { return mFrameDelay; }
  // As a check mark over a marked object or guest: shown, playing its first state once, or
  // hidden with its script started afresh.
  void ShowMark(bool shown);

  // The DoAnim text for `frames` frames shown `times` times (once, forever, with `loop`).
  static TString MakeDoAnim(int frames, bool loop, int times, int delay);
  // The shared jitter's next part; then it grows by 5, back to -10 past 10.
  static int TakeJitter();
  // Starts the shared jitter again at -10.
  static void ResetJitter();

 private:
  bool CheckState(const char* function, int state) const;
  void StartState();

  bool mLoop = false;
  int mRepeat = 0;
  int mState = 0;
  int mFrameDelay = kDefaultFrameDelay;
  std::vector<std::shared_ptr<TAnimatedTexture>> mStates;
  bool mOwnScript = false;
};
