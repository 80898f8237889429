-- The information page of the hiscore screen ("moreinfo"): what the local and global tables
-- are and how a score is submitted. Its button closes it.
ReadFile("scripts/styles.lua")

MakeDialog{
  Bitmap{
    name = "hiscoreinfo", image = "backgrounds/helppage", x = 0, y = 0,
    Text{
      name = "title", label = "highscoreheader", x = kCenter, y = 12, w = 600, h = 56,
      font = kTitleFont, flags = kHAlignCenter + kVAlignCenter,
    },
    Text{
      name = "infotext", label = "highscorecompleteinfo", x = kCenter, y = 100, w = 600, h = 400,
      font = kLabelFont, flags = kHAlignLeft + kVAlignTop, padding = 4,
    },
    Button{
      name = "hiscoreinfook", label = "ok", x = kCenter, y = 500, graphics = kSecondButton,
      font = kButtonFont, close = true, default = true,
    },
  },
}
UpdateWindow()
