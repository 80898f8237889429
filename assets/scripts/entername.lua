-- The name entry: a player's name typed into "nameedit" (up to 12 characters; the name shown
-- first is gDialogTable.name, when given). OK (shown only while there is a name) answers the
-- name; Cancel answers "".
local kInk = Color(74, 52, 40)
local buttonFont = { "fonts/arial.mvec", 22, kInk }

MakeDialog{
  Bitmap{
    name = "enternamebg", image = "images/menu/panel", x = kCenter, y = kCenter,
    EnterNameWindow{
      name = "enternamewindow", x = 0, y = 0, w = 360, h = 300,
      Text{
        name = "enternametitle", label = "entername.title", x = kCenter, y = 24, w = 300, h = 50,
        font = { "fonts/monotype_corsiva.mvec", 36, Color(125, 78, 122) },
        flags = kHAlignCenter + kVAlignCenter,
      },
      Text{
        name = "enternamehint", label = "entername.hint", x = kCenter, y = 78, w = 300, h = 28,
        font = { "fonts/arial.mvec", 18, kInk }, flags = kHAlignCenter + kVAlignCenter,
      },
      Bitmap{ name = "namefield", image = "backgrounds/textfield.png", x = 60, y = 118 },
      TextEdit{
        name = "nameedit", x = 70, y = 120, w = 220, h = 28, length = 12,
        label = gDialogTable.name or "", font = { "fonts/arial.mvec", 22, kInk },
        flags = kHAlignLeft + kVAlignCenter,
      },
      Button{
        name = "enterok", label = "ui.dialog.ok", x = 75, y = 196, default = true,
        graphics = { "images/menu/small_idle", "images/menu/small_down", "images/menu/small_hover" },
        font = buttonFont, sound = "assets/audio/sfx/dialog_click.ogg",
        command = function() CloseWindow(GetLabel("nameedit")) end,
      },
      Button{
        name = "entercancel", label = "entername.cancel", x = 195, y = 196,
        graphics = { "images/menu/small_idle", "images/menu/small_down", "images/menu/small_hover" },
        font = buttonFont, sound = "assets/audio/sfx/dialog_click.ogg",
        command = function() CloseWindow("") end,
      },
    },
  },
}
RealSetFocus("nameedit")
