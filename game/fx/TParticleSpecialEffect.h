// A special effect that runs a particle system (an effect script under "fx/") at its point.
// It is over when the script says it is done, or by time-out or a duration it was given;
// without a system it never ends by itself.
#pragma once

#include <memory>

#include "game/fx/TSpecialEffect.h"
#include "tvlib/core/TString.h"
#include "tvlib/script/Api.h"

class TLuaParticleSystem;

class TParticleSpecialEffect : public TSpecialEffect {
 public:
  TParticleSpecialEffect();
  ~TParticleSpecialEffect() override;

  bool Update(float dt) override;
  void Draw(float scale, const TVec2* position) override;
  void SetAlpha(float alpha) override;

  // Replaces the system with one running the script; on failure the effect has none.
  bool LoadScript(const TString& scriptName);
  // Where new systems get their script states (null, the default: each opens its own). The
  // fuzz target hands out states with memory and instruction budgets.
  static void SetScriptStateSource(lua_State* (*source)());
  TLuaParticleSystem* GetSystem() const { return mSystem.get(); }

 private:
  std::unique_ptr<TLuaParticleSystem> mSystem;
  double mPendingMs = 0.0;  // elapsed time not yet handed to the system
};
