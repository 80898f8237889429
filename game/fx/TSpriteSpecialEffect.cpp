// The sprite kind: turns and moves, and draws its texture centred at its point.
#include "game/fx/TSpriteSpecialEffect.h"

#include <numbers>

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TTexture.h"

bool TSpriteSpecialEffect::Update(float dt) {
  if (!TSpecialEffect::Update(dt)) return false;
  Turn(dt);
  Move(dt);
  return true;
}

void TSpriteSpecialEffect::SetTextureName(const TString& name) {
  mTexture = TTexture::Get(name, 0);
  if (!mTexture) DebugLog("TSpriteSpecialEffect::SetTextureName: no image '%s'", name.c_str());
}

void TSpriteSpecialEffect::Draw(float scale, const TVec2* position) {
  if (!mTexture || !IsVisible()) return;
  const float alpha = CurrentAlpha();
  if (alpha <= 0.0f) return;  // faded out: nothing to see
  const float size = CurrentScale(true) * scale;
  const TVec2 point = DrawPoint(position);
  const float angle = GetRotation() * std::numbers::pi_v<float> / 180.0f;
  mTexture->DrawTransformed(&point, alpha, size, size, angle, nullptr, nullptr, 0, nullptr);
}
