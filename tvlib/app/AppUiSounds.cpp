// The windows' sound effects as sound assets.
#include "tvlib/app/AppUiSounds.h"

#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"

namespace {

class TAppUiSound : public TUiSound {
 public:
  explicit TAppUiSound(std::shared_ptr<TSound> sound) : mSound(std::move(sound)) {}
  void Play() override { mSound->Play(false); }

 private:
  std::shared_ptr<TSound> mSound;
};

class TAppUiSounds : public TUiSounds {
 public:
  std::shared_ptr<TUiSound> Get(const TString& fileName) override {
    std::shared_ptr<TSound> sound =
        TSound::Get(fileName.c_str(), true, TSoundManager::kGroupEffects);
    return sound ? std::make_shared<TAppUiSound>(std::move(sound)) : nullptr;
  }
};

}  // namespace

std::unique_ptr<TUiSounds> MakeAppUiSounds() {
  return std::make_unique<TAppUiSounds>();
}
