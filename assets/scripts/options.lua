-- The options screen: the sound-effect and music volumes (sliders that apply at once), the
-- mute box and the full-screen box, over the whole screen. OK stores the volumes and closes.
local kInk = Color(74, 52, 40)
local kPlum = Color(125, 78, 122)
local labelFont = { "fonts/arial.mvec", 22, kInk }
local checkImages = {
  "images/menu/checkbox", "images/menu/checkbox_checked", "images/menu/checkbox_hover",
  "images/menu/checkbox_checked",
}
local function Slot(label, y)
  return Text{
    label = label, x = 170, y = y, w = 210, h = 32, font = labelFont,
    flags = kHAlignLeft + kVAlignCenter,
  }
end
local function VolumeSlider(name, y)
  return Slider{
    name = name, x = 390, y = y, railimage = "images/options/slider_rail",
    sliderimage = "images/options/slider_knob", sliderrollimage = "images/options/slider_roll",
  }
end

MakeDialog{
  Bitmap{ name = "optionsbg", image = "assets/backgrounds/longdialog", x = 0, y = 0, scale = 1.6666666 },
  OptionsWindow{
    name = "options", x = 0, y = 0, w = 800, h = 600,
    Text{
      name = "optionstitle", label = "options.title", x = kCenter, y = 70, w = 500, h = 60,
      font = { "fonts/monotype_corsiva.mvec", 44, kPlum }, flags = kHAlignCenter + kVAlignCenter,
    },
    Slot("options.sfx", 172),
    VolumeSlider("sfxlevelslider", 174),
    Slot("options.music", 232),
    VolumeSlider("musiclevelslider", 234),
    Button{
      name = "mutebox", type = kToggle, x = 170, y = 296, graphics = checkImages,
      sound = "assets/audio/sfx/click.ogg", command = function() ToggleSoundMute() end,
    },
    Text{
      label = "options.mute", x = 210, y = 294, w = 300, h = 32, font = labelFont,
      flags = kHAlignLeft + kVAlignCenter,
    },
    Button{
      name = "fullscreen", type = kToggle, x = 170, y = 346, graphics = checkImages,
      sound = "assets/audio/sfx/click.ogg", command = function() ToggleFullScreen() end,
    },
    Text{
      label = "options.fullscreen", x = 210, y = 344, w = 300, h = 32, font = labelFont,
      flags = kHAlignLeft + kVAlignCenter,
    },
    Button{
      name = "optionsok", label = "ui.dialog.ok", x = kCenter, y = 440, default = true,
      graphics = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" },
      font = { "fonts/arial.mvec", 24, kInk }, sound = "assets/audio/sfx/dialog_click.ogg",
      command = function() SaveVolumes(); CloseWindow() end,
    },
  },
}
