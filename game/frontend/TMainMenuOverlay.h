// The main menu's sparkles: a window kept on the window manager's overlay list, so that it
// is drawn above the whole modal stack. Every half second a sparkle effect
// ("fx/fx_ui_sparkle.lua") starts at one of ten fixed points of the menu, picked at random;
// the menu's update task advances the effects and asks for a redraw. UI thread only.
#pragma once

#include "game/fx/TSpecialEffectList.h"
#include "tvlib/core/TVec.h"
#include "tvlib/ui/TWindow.h"

inline constexpr char kSparkleEffect[] = "fx/fx_ui_sparkle.lua";

class TMainMenuOverlay : public TWindow {
 public:
  static constexpr float kSparkleInterval = 0.5f;  // seconds
  static constexpr int kSparklePointCount = 10;

  TMainMenuOverlay();
  ~TMainMenuOverlay() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Counts down by dt seconds, starts a sparkle when the countdown runs out and advances
  // every running effect.
  void Update(float dt);
  // Draws the effects once after each SetRedraw.
  void Draw() override;
  // The whole 800 x 600 screen is always its dirty area.
  bool AddDirtyRect(TRect* area) override;

  void SetRedraw() { mRedraw = true; }
  const TSpecialEffectList& GetEffects() const { return mEffects; }
  float GetCountdown() const { return mCountdown; }

 private:
  TSpecialEffectList mEffects;
  float mCountdown = kSparkleInterval;
  bool mRedraw = true;
};
