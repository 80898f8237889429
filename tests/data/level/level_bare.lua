-- A level script with nothing but its window tree and the level's numbers: every optional
-- table is missing, so the level loads with its defaults.
levelSetting = { map = 2, level = 3 }

MakeDialog{
  GameWindow{ name = "GameWindow", x = 0, y = 0, w = 800, h = 600 },
  Button{
    name = "pause", label = "ui.dialog.pause.title", x = 20, y = 553, w = 120, h = 30,
    command = function() DoPause() end,
  },
}
