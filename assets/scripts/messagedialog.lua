-- A message with one button that closes it, in a box in the middle of the screen;
-- gDialogTable.title and gDialogTable.body hold its texts. Enter presses the button.
MakeDialog{
  Bitmap{
    name = "dialogbox", image = "backgrounds/longdialog", x = kCenter, y = kCenter,
    Text{
      name = "title", label = "#" .. gDialogTable.title, x = kCenter, y = 36, w = 400, h = 56,
      font = { "fonts/monotype_corsiva.mvec", 40, Color(122, 58, 96) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Text{
      name = "body", label = "#" .. gDialogTable.body, x = kCenter, y = 100, w = 420, h = 150,
      font = { "fonts/arial.mvec", 18, Color(80, 60, 70) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Button{
      name = "ok", label = "ui.dialog.ok", x = kCenter, y = 270, close = true, default = true,
      graphics = { "buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long" },
      font = { "fonts/arial.mvec", 20, Color(255, 255, 255) },
    },
  },
}
