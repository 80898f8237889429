-- The title splash: the game's name over the garden for a few seconds; a key or a click
-- ends it sooner. Shown by the main script in a modal screen of its own.
MakeDialog{
  Bitmap{
    name = "splashimage", image = "images/menu/menu_bg", x = 0, y = 0,
    Text{
      name = "title", label = "windowtitle", x = kCenter, y = 58, w = 280, h = 72,
      font = { "fonts/monotype_corsiva.mvec", 56, Color(122, 58, 96) },
      flags = kHAlignCenter + kVAlignCenter,
    },
    Text{
      name = "tagline", label = "splash.tagline", x = 40, y = kMax - 60, w = 500, h = 40,
      font = { "fonts/monotype_corsiva.mvec", 30, Color(96, 70, 84) },
      flags = kHAlignLeft + kVAlignCenter,
    },
  },
}
UpdateWindow()
Pause(3000, true)
CloseWindow()
