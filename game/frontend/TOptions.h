// The options window (window type "OptionsWindow"): the full-screen and mute check boxes
// ("fullscreen", "mutebox") and the sound-effect and music volume sliders ("sfxlevelslider",
// "musiclevelslider"). A slider's move sets the sound manager's volumes at once: effects for
// groups 1000 and 0, music for group 1001. The script function SaveVolumes stores both as the
// player's "soundlevel" and "musiclevel", in thousandths. The full-screen box only shows the
// display's state; its script changes the mode. UI thread only.
#pragma once

#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TOptions : public TWindow {
 public:
  // Binds SaveVolumes.
  TOptions();
  ~TOptions() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Checks the boxes and sets the sliders from the display and the player's settings.
  void PostCreate() override;
  // A slider's value notice (type 1000) named after one of the two sliders.
  bool OnMessage(TMessage* message) override;

  // --- Script function ----------------------------------------------------------------
  void SaveVolumes();

 private:
  // The script function's registration (OptionsBind.cpp).
  void BindScriptFunctions();

  TLuaBindings mBindings;
};
