-- The pause menu, opened by a paused level over itself: resume the level, mute the sound, or
-- leave the level for the menus after a yes-or-no question. The menu closes itself before it
-- hands the level its action (1700 resume, 1704 quit).
local kInk = Color(74, 52, 40)
local buttonImages = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" }
local buttonFont = { "fonts/arial.mvec", 22, kInk }
local kResume = 1700
local kQuit = 1704

MakeDialog{
  Bitmap{
    name = "pausebg", image = "images/menu/panel", x = kCenter, y = kCenter,
    PauseMenu{
      name = "pausemenu", x = 0, y = 0, w = 360, h = 300,
      Text{
        name = "pausetitle", label = "pause.title", x = kCenter, y = 22, w = 300, h = 50,
        font = { "fonts/monotype_corsiva.mvec", 40, Color(125, 78, 122) },
        flags = kHAlignCenter + kVAlignCenter,
      },
      Button{
        name = "resume", label = "pause.resume", x = kCenter, y = 86, default = true,
        graphics = buttonImages, font = buttonFont, sound = "assets/audio/sfx/dialog_click.ogg",
        command = function() PopModal(); PauseAction(kResume) end,
      },
      Button{
        name = "mutebox", type = kToggle, x = 94, y = 156, sound = "assets/audio/sfx/click.ogg",
        graphics = {
          "images/menu/checkbox", "images/menu/checkbox_checked", "images/menu/checkbox_hover",
          "images/menu/checkbox_checked",
        },
        command = function() ToggleSoundMute() end,
      },
      Text{
        label = "options.mute", x = 132, y = 154, w = 160, h = 32,
        font = buttonFont, flags = kHAlignLeft + kVAlignCenter,
      },
      Button{
        name = "quitlevel", label = "pause.mainmenu", x = kCenter, y = 212,
        graphics = buttonImages, font = buttonFont, sound = "assets/audio/sfx/dialog_click.ogg",
        command = function()
          local answer = DisplayDialog{
            "scripts/yesnodialog.lua",
            title = GetString("pause.quit.title"),
            body = GetString("pause.quit.confirm"),
          }
          if answer == "yes" then
            PopModal()
            PauseAction(kQuit)
          end
        end,
      },
    },
  },
}
