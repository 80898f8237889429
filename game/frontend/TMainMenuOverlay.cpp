// The main menu's sparkle layer.
#include "game/frontend/TMainMenuOverlay.h"

#include "game/frontend/FrontendParts.h"
#include "game/fx/TEffectParams.h"
#include "tvlib/core/TRandom.h"

namespace {

// Where the sparkles come out: over the garden's bunting and the menu's panel.
const TVec2 kSparklePoints[TMainMenuOverlay::kSparklePointCount] = {
    {89, 102}, {163, 79}, {287, 94}, {469, 29},  {666, 82},
    {750, 60}, {96, 387}, {96, 434}, {222, 388}, {222, 434}};

}  // namespace

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

void TMainMenuOverlay::Update(float dt) {
  mCountdown -= dt;
  if (mCountdown <= 0.0f) {
    TEffectParams params;
    params.position = kSparklePoints[TvRand() % TMainMenuOverlay::kSparklePointCount];
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
