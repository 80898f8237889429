-- A question answered yes or no, in a box in the middle of the screen; gDialogTable.title
-- and gDialogTable.body hold its texts. Both buttons close the dialog, which answers the
-- name of the button pressed, "yes" or "no"; Enter presses "yes".
local buttonFont = { "fonts/arial.mvec", 20, Color(255, 255, 255) }
local buttonImages = { "buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long" }
MakeDialog{
  Bitmap{
    name = "dialogbox", image = "backgrounds/longdialog", x = kCenter, y = kCenter,
    Text{
      name = "title", label = "#" .. gDialogTable.title, x = kCenter, y = 36, w = 400, h = 56,
      font = { "fonts/monotype_corsiva.mvec", 40, Color(122, 58, 96) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Text{
      name = "body", label = "#" .. gDialogTable.body, x = kCenter, y = 110, w = 400, h = 120,
      font = { "fonts/arial.mvec", 22, Color(80, 60, 70) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Button{
      name = "yes", label = "ui.dialog.yes", x = 90, y = 270, close = true, default = true,
      graphics = buttonImages, font = buttonFont,
    },
    Button{
      name = "no", label = "ui.dialog.no", x = 258, y = 270, close = true,
      graphics = buttonImages, font = buttonFont,
    },
  },
}
