-- The privacy text, shown inside the game when it may not open a web page (anonymous play).
-- The game runs this layout in a modal screen of its own, from whatever script asked for
-- it, so it only builds the screen: its button closes it again.
MakeDialog{
  Bitmap{
    name = "dialogbox", image = "backgrounds/longdialog", x = kCenter, y = kCenter,
    Text{
      name = "title", label = "ui.privacy.title", x = kCenter, y = 36, w = 400, h = 56,
      font = { "fonts/monotype_corsiva.mvec", 40, Color(122, 58, 96) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Text{
      name = "body", label = "ui.privacy.text", x = kCenter, y = 100, w = 420, h = 150,
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
UpdateWindow()
