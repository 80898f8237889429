// The menu music's shared state and its switches.
#include "game/shell/MenuMusic.h"

#include <memory>

#include "tvlib/core/TPlatform.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"

namespace {

struct TTrack {
  std::shared_ptr<TSound> sound;
  bool playing = false;
};

TTrack gMenuTrack;
TTrack gComicTrack;

// Stops `from` when it plays and starts `to` looping unless it plays.
void Switch(TTrack& from, TTrack& to) {
  if (from.playing) {
    if (from.sound) from.sound->Stop(-1);
    from.playing = false;
  }
  if (!to.playing && to.sound) to.playing = to.sound->Play(true) >= 0;
}

}  // namespace

void LoadMenuMusic() {
  gMenuTrack.sound = TSound::Get(kMenuMusicFile, false, TSoundManager::kGroupMusic);
  gComicTrack.sound = TSound::Get(kComicMusicFile, false, TSoundManager::kGroupMusic);
}

void SwitchToMenuMusic() {
  Switch(gComicTrack, gMenuTrack);
}

void SwitchToComicMusic() {
  Switch(gMenuTrack, gComicTrack);
}

void StopMenuMusic() {
  TPlatform* platform = TPlatform::GetInstance();
  if (TSoundManager* sound = platform ? platform->GetSoundManager() : nullptr) {
    sound->StopGroup(TSoundManager::kGroupMusic);
  }
  gMenuTrack.playing = false;
  gComicTrack.playing = false;
}

void ReleaseMenuMusic() {
  gMenuTrack = TTrack();
  gComicTrack = TTrack();
}
