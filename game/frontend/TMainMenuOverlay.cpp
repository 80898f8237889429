// The main menu's sparkle layer.
#include "game/frontend/TMainMenuOverlay.h"

#include "game/frontend/FrontendParts.h"
#include "game/fx/TEffectParams.h"
#include "tvlib/core/TRandom.h"

TMainMenuOverlay::TMainMenuOverlay() {
  SetName("mainmenuoverlay");
  SetSize(kScreenWidth, kScreenHeight);
}

TMainMenuOverlay::~TMainMenuOverlay() = default;

TWindow* TMainMenuOverlay::Create() {
  return new TMainMenuOverlay;
}

TWindowClassId TMainMenuOverlay::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TMainMenuOverlay::Create);
}

bool TMainMenuOverlay::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

const std::array<TVec2, TMainMenuOverlay::kSparklePoints>& TMainMenuOverlay::GetSparklePoints() {
  static const std::array<TVec2, kSparklePoints> points{
      TVec2(89, 102), TVec2(163, 79), TVec2(287, 94), TVec2(469, 29),  TVec2(666, 82),
      TVec2(750, 60), TVec2(96, 387), TVec2(96, 434), TVec2(222, 388), TVec2(222, 434)};
  return points;
}

void TMainMenuOverlay::Update(float dt) {
  mCountdown -= dt;
  if (mCountdown <= 0.0f) {
    TEffectParams params;
    params.position = GetSparklePoints()[static_cast<size_t>(TvRand() % kSparklePoints)];
    mEffects.Load(kSparkleEffect, &params);
    mCountdown = kSparkleInterval;
  }
  mEffects.Update(dt);
  Invalidate();
}

void TMainMenuOverlay::Draw() {
  if (!mRedraw) return;
  const TWindowDrawing drawing(this);
  if (drawing.IsDrawing()) mEffects.Draw(1.0f);
  mRedraw = false;
}

bool TMainMenuOverlay::AddDirtyRect(TRect* area) {
  if (!area) return false;
  *area = TRect{0, 0, kScreenWidth, kScreenHeight};
  TWindow::AddDirtyRect(area);
  return true;
}
