-- The hiscore screen: the "HiscoreWindow" over its background, with the table panel on the
-- left (ten rows of rank, member icon, name and score), the side panels on the right, the
-- game-mode and category choosers and the buttons. The window shows and hides its children
-- by its state and answers their commands; this script answers "moreinfo" (the information
-- page), "back" (closes the screen) and the privacy link. Run in the screen's modal window.
ReadFile("scripts/styles.lua")

local centred = kHAlignCenter + kVAlignCenter
local screen = {
  name = "hiscore", x = 0, y = 0, w = 800, h = 600,
  Text{
    name = "header", label = "highscoreheader", x = 0, y = 12, w = 800, h = 56,
    font = kTitleFont, flags = centred,
  },
  Text{
    name = "gamemode", label = "", x = 405, y = 100, w = 342, h = 24,
    font = { "fonts/arial.mvec", 22, kPlum }, flags = centred,
  },
  Text{
    name = "server", label = "connectingtoserver", x = 475, y = 400, w = 258, h = 130,
    font = kLabelFont, flags = centred,
  },
  Text{
    name = "error", label = "", x = 475, y = 400, w = 258, h = 130,
    font = { "fonts/arial.mvec", 18, kRose }, flags = centred,
  },
  Button{ name = "gamemodeleft", x = 430, y = 79, graphics = kArrowLeft, scale = 1.5 },
  Button{ name = "gamemoderight", x = 690, y = 77, graphics = kArrowRight, scale = 1.5 },
  Button{
    name = "view", label = "viewglobal", x = 188, y = 501, graphics = kSecondButton,
    font = kButtonFont,
  },
  Button{
    name = "viewlocal", label = "viewlocal", x = 188, y = 501, graphics = kSecondButton,
    font = kButtonFont,
  },
  Button{
    name = "back", label = "back", x = kCenter, y = 553, graphics = kSecondButton,
    font = kButtonFont, close = true,
  },
  Button{
    name = "privacypolicy", x = 0, y = 0, w = 0, h = 0,
    command = function() LaunchPrivacyPolicy() end,
  },
}

local panel = {
  name = "leftpanel", image = "hiscore/global-hs-bb_large.png", x = 70, y = 150, w = 302,
}
for _, heading in ipairs({ { "local", "localhighscores" }, { "global", "globalhighscores" },
                           { "topplayers", "topplayers" } }) do
  table.insert(panel, Text{
    name = heading[1], label = heading[2], x = 120, y = 0, w = 182, h = 34,
    font = { "fonts/monotype_corsiva.mvec", 21, kPlum }, flags = centred,
  })
end
for i = 1, 10 do
  local y = 62 + 25 * (i - 1)
  table.insert(panel, Text{
    name = tostring(i), label = "#", x = 13, y = y, w = 75, h = 20,
    font = kRowFont, flags = kHAlignRight + kVAlignCenter,
  })
  table.insert(panel, Bitmap{ name = "p1_" .. i, image = "hiscore/p1icon.png", x = 89, y = y + 2 })
  table.insert(panel, Text{
    name = "name" .. i, label = "#", x = 110, y = y, w = 220, h = 20,
    font = kRowFont, flags = kHAlignLeft + kVAlignCenter,
  })
  table.insert(panel, Text{
    name = "score" .. i, label = "#", x = 13, y = y, w = 302 - 26, h = 20,
    font = kRowFont, flags = kHAlignRight + kVAlignCenter,
  })
end
table.insert(screen, Bitmap(panel))

-- Widths of the side panels' images; their texts are 10 narrower.
local sideWidth = 320
table.insert(screen, Bitmap{
  name = "rightpanelsmall", image = "hiscore/global-hs-bb_small.png", x = 470, y = 150,
  Text{
    name = "yourrank", label = "#", x = 10, y = 15, w = sideWidth - 10, h = 30,
    font = kHeadingFont, flags = centred,
  },
  Text{
    name = "congratulations", label = "congratshighscore", x = 10, y = 50, w = sideWidth - 10,
    h = 80, font = kLabelFont, flags = centred,
  },
  Text{
    name = "dnq", label = "scorednq", x = 10, y = 50, w = sideWidth - 10, h = 80,
    font = kLabelFont, flags = centred,
  },
  Text{
    name = "yourrankglobalinfo", label = "globalhighscoreinfo", x = 10, y = 55,
    w = sideWidth - 10, h = 75, font = kNoteFont, flags = centred,
  },
})
table.insert(screen, Bitmap{
  name = "rightpanel", image = "hiscore/local-hs-bb.png", x = 470, y = 150,
  Text{
    name = "info", label = "globalhighscoreinfo", x = 10, y = 55, w = sideWidth - 20, h = 75,
    font = kNoteFont, flags = centred,
  },
  Button{
    name = "moreinfo", label = "moreinfo", x = 80, y = 140, graphics = kSecondButton,
    font = kButtonFont, command = function() DoModal("scripts/hiscoreinfo.lua") end,
  },
  Text{
    name = "eligible", label = "eligible_no_astrix", x = 0, y = 200, w = sideWidth, h = 60,
    font = kNoteFont, flags = centred,
  },
  Text{
    name = "highscoresasterisk", label = "#*", x = 10, y = 1000, w = 20, h = 20, font = kNoteFont,
  },
  Button{
    name = "submit", label = "submit", x = 80, y = 245, graphics = kSecondButton,
    font = kButtonFont,
  },
})

-- The category chooser, over the table panel's heading.
table.insert(screen, Text{
  name = "category", label = "#", x = 168, y = 180, w = 201, h = 40,
  font = kLabelFont, flags = kHAlignCenter + kVAlignTop,
})
table.insert(screen, Button{ name = "categoryleft", x = 167, y = 165, graphics = kArrowLeft })
table.insert(screen, Button{ name = "categoryright", x = 337, y = 165, graphics = kArrowRight })
table.insert(screen, Button{ name = "scrollup", x = 404, y = 225, graphics = kArrowUp })
table.insert(screen, Button{ name = "scrolldown", x = 404, y = 430, graphics = kArrowDown })

MakeDialog{
  Bitmap{
    name = "hiscorescreen", image = "hiscore/hiscores_BG", x = 0, y = 0,
    HiscoreWindow(screen),
  },
}
UpdateWindow()
