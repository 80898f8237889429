// A special effect that plays a sound: the first update starts it (looping when asked) and
// the effect then lasts its duration. A sound that plays once runs to its end even after
// the effect is gone; a looping one is stopped when the effect is deleted. Without a sound
// the effect is over at its first update.
#pragma once

#include <memory>

#include "game/fx/TSpecialEffect.h"
#include "tvlib/core/TString.h"

class TSound;

class TSoundSpecialEffect : public TSpecialEffect {
 public:
  // Sounds of effects play in the sound-effect volume group.
  static constexpr int kSoundGroup = 1000;
  // The duration of a sound effect built from a file that gives none, in seconds.
  static constexpr float kDefaultDuration = 5.0f;

  ~TSoundSpecialEffect() override;

  bool Update(float dt) override;
  void Draw(float scale, const TVec2* position) override;

  void SetSound(std::shared_ptr<TSound> sound) { mSound = std::move(sound); }
  const std::shared_ptr<TSound>& GetSound() const { return mSound; }
  // Loads the named sound, kept in memory; a missing one leaves the effect without a sound.
  void SetSoundName(const TString& name);
  void SetLooping(bool looping) { mLooping = looping; }
  bool IsLooping() const { return mLooping; }
  bool IsStarted() const { return mStarted; }

 private:
  std::shared_ptr<TSound> mSound;
  bool mStarted = false;
  bool mLooping = false;
  int mHandle = -1;  // the playing instance, while one was started
};
