-- The game's first screen while its menus are still to come: the garden, the game's name
-- and a line saying the game is loading. Shown modally by the main script; the close
-- question ends the game from here.
MakeDialog{
  Bitmap{
    name = "loadingimage", image = "images/menu/menu_bg", x = 0, y = 0,
    Text{
      name = "title", label = "windowtitle", x = kCenter, y = 58, w = 280, h = 72,
      font = { "fonts/monotype_corsiva.mvec", 56, Color(122, 58, 96) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Text{
      name = "loading", label = "ui.loading", x = kCenter, y = kCenter, w = 420, h = 60,
      font = { "fonts/arial.mvec", 36, Color(96, 70, 84) },
      flags = kHAlignCenter + kVAlignCenter,
    },
  },
}
UpdateWindow()
