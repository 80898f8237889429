-- The credits screen: the credits file beside the program ("credits.txt", roles and names in
-- two columns under coloured headings), still for eight seconds and then scrolling, with the
-- program's version below and a button back.
local kInk = Color(74, 52, 40)

MakeDialog{
  Bitmap{ name = "creditsbg", image = "images/credits/credits_bg", x = 0, y = 0 },
  CreditsWindow{
    name = "credits", x = 0, y = 0, w = 800, h = 600, file = "credits.txt",
    font = "fonts/arial.mvec", fontsize = 16, fontcolor = kInk,
    headercolor = Color(125, 78, 122),
  },
  Text{
    name = "creditstitle", label = "credits.title", x = kCenter, y = 56, w = 500, h = 60,
    font = { "fonts/monotype_corsiva.mvec", 48, Color(125, 78, 122) },
    flags = kHAlignCenter + kVAlignCenter,
  },
  Text{
    name = "version", label = "#", x = 560, y = 556, w = 220, h = 24,
    font = { "fonts/arial.mvec", 14, kInk }, flags = kHAlignRight + kVAlignCenter,
  },
  Button{
    name = "creditsback", label = "ui.dialog.ok", x = kCenter, y = 506, default = true,
    graphics = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" },
    font = { "fonts/arial.mvec", 24, kInk }, sound = "assets/audio/sfx/dialog_click.ogg",
    command = function() CloseWindow() end,
  },
}
