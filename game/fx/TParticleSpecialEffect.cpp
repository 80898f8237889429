// The particle kind: moves its point, runs the system in whole milliseconds and draws it
// faded like the other kinds.
#include "game/fx/TParticleSpecialEffect.h"

#include <cmath>

#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TLuaParticleSystem.h"

namespace {

lua_State* (*gScriptStateSource)() = nullptr;

}  // namespace

void TParticleSpecialEffect::SetScriptStateSource(lua_State* (*source)()) {
  gScriptStateSource = source;
}

TParticleSpecialEffect::TParticleSpecialEffect() = default;
TParticleSpecialEffect::~TParticleSpecialEffect() = default;

bool TParticleSpecialEffect::LoadScript(const TString& scriptName) {
  mSystem =
      std::make_unique<TLuaParticleSystem>(gScriptStateSource ? gScriptStateSource() : nullptr);
  if (mSystem->Load(scriptName)) return true;
  DebugLog("TParticleSpecialEffect::LoadScript: cannot load '%s'", scriptName.c_str());
  mSystem.reset();
  return false;
}

bool TParticleSpecialEffect::Update(float dt) {
  if (!TSpecialEffect::Update(dt)) return false;
  Move(dt);
  if (!mSystem) return true;
  // The system counts whole milliseconds. What a frame's seconds hold beyond them is carried
  // to the next frame, so no time is lost (10 ms frames would otherwise run as 9 ms after
  // float rounding); the small allowance absorbs that rounding.
  mPendingMs += static_cast<double>(dt) * 1000.0;
  const double whole = std::floor(mPendingMs + 1e-3);
  int ms = 0;
  if (whole > 0.0) {
    ms = whole < 1e9 ? static_cast<int>(whole) : 1000000000;
    mPendingMs -= whole;
  }
  if (!(mPendingMs > -1.0 && mPendingMs < 1.0)) mPendingMs = 0.0;  // a negative or absurd step
  mSystem->Update(ms);
  return !mSystem->IsDone();
}

void TParticleSpecialEffect::Draw(float scale, const TVec2* position) {
  (void)scale;  // particles keep the sizes their script gives them
  if (!mSystem || !IsVisible()) return;
  SetAlpha(CurrentAlpha());
  mSystem->Draw(DrawPoint(position));
}

void TParticleSpecialEffect::SetAlpha(float alpha) {
  if (mSystem) mSystem->SetAlpha(alpha);
}
