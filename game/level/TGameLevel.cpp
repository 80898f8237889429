// The level window's identity and the room's way into it.
#include "game/level/TGameLevel.h"

#include "game/room/TFestraGuest.h"
#include "game/shell/TMetricsReporter.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"

namespace {

constexpr const char* kSobbingSound = "assets/audio/sfx/aunt_sobs.ogg";
constexpr int kDislikeBase = 20;
constexpr int kLastPreference = 99;

}  // namespace

TWindow* TGameLevel::Create() {
  return new TGameLevel();
}

// The room goes with the members: its objects find no level from the first line on.
TGameLevel::~TGameLevel() {
  DetachRoom();
}

TWindowClassId TGameLevel::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TGameLevel::Create);
}

bool TGameLevel::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

int TGameLevel::OnObjectClicked(TSprite* /*object*/, int /*code*/) {
  return 0;
}

void TGameLevel::AddMetricsCount(const char* key, int value) {
  GetMetricsReporter().AddCount(key, value);
}

void TGameLevel::AwardSeatingMatch(TFestraGuest* /*guest*/) {
  ++mSeatingCombo;
}

int TGameLevel::RateSeatingMatch(const TFestraGuest* guest, const TFestraGuest* other) {
  if (!guest || !other) return 0;
  const int preference = guest->GetSeatingPreference();
  const int type = other->GetGuestType();
  if (preference == -1 || preference == type) return 1;
  if (preference == kDislikeBase + type) return -1;
  return preference >= kDislikeBase && preference <= kLastPreference ? 1 : 0;
}

// The sound is kept while the level lives, so that its instances can be stopped by handle.
int TGameLevel::StartSobbing() {
  if (!mSobbingSound)
    mSobbingSound = TSound::Get(kSobbingSound, true, TSoundManager::kGroupEffects);
  return mSobbingSound ? mSobbingSound->Play(true) : -1;
}

void TGameLevel::StopSobbing(int handle) {
  if (mSobbingSound && handle >= 0) mSobbingSound->Stop(handle);
}

int TGameLevel::StartEffect(const TString& file, const TVec2* /*at*/) {
  DebugLog("TGameLevel::StartEffect: %s not played, the level has no effect list", file.c_str());
  return -1;
}
