-- The main menu over the garden: the game's name on the card at the top, the mode buttons
-- on a panel at the left, the sound check box, the program's version and the maker's name.
-- The "MainMenu" window plays the menu music and the sparkles, writes the version and ticks
-- the check box; it hides "moregames" while there are no other games to show. A portal build
-- (gPortalBuild, from AOLBuild) has no quit button: its portal closes the game.
-- Below the two modes, the screens the menu opens: options, hiscores, credits and players.
local titleFont = { "fonts/monotype_corsiva.mvec", 56, Color(122, 58, 96) }
local buttonFont = { "fonts/arial.mvec", 24, Color(74, 52, 40) }
local smallFont = { "fonts/arial.mvec", 16, Color(74, 52, 40) }
local centred = kHAlignCenter + kVAlignCenter
local bigButton = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" }
local smallButton = { "images/menu/button2_idle", "images/menu/button2_down", "images/menu/button2_hover" }
local checkBox = {
  "images/menu/checkbox", "images/menu/checkbox_checked", "images/menu/checkbox_hover",
  "images/menu/checkbox_checked",
}
local click = "assets/audio/sfx/click.ogg"

-- Opens a map over the menu, which hides until the map closes.
local function OpenMap(mode, script)
  SetCurrentGameMode(mode)
  HideMainMenu()
  DoModal(script)
end

local panel = {
  name = "menupanel", image = "images/menu/panel", x = 40, y = 250,
  Button{
    name = "story", label = "menu.story", x = 70, y = 34, graphics = bigButton, font = buttonFont,
    sound = click, command = function() OpenMap(0, "scripts/album.lua") end,
  },
  Button{
    name = "endless", label = "menu.endless", x = 70, y = 96, graphics = bigButton,
    font = buttonFont, sound = click,
    command = function() OpenMap(1, "scripts/arcadeMetamap.lua") end,
  },
  Button{
    name = "options", label = "menu.options", x = 12, y = 154, graphics = smallButton,
    font = smallFont, sound = click, command = function() DoModal("scripts/options.lua") end,
  },
  Button{
    name = "hiscores", label = "menu.hiscores", x = 188, y = 154, graphics = smallButton,
    font = smallFont, sound = click, command = function() DoModal("scripts/hiscore.lua") end,
  },
  Button{
    name = "credits", label = "menu.credits", x = 12, y = 200, graphics = smallButton,
    font = smallFont, sound = click, command = function() DoModal("scripts/credits.lua") end,
  },
  Button{
    name = "players", label = "menu.players", x = 188, y = 200, graphics = smallButton,
    font = smallFont, sound = click, command = function() DoModal("scripts/chooseplayer.lua") end,
  },
  Button{
    name = "mutebox", label = "menu.soundoff", type = kToggle, x = 24, y = 256, w = 150, h = 28,
    graphics = checkBox, font = smallFont, tx = 36, tw = 114, th = 28,
    flags = kHAlignLeft + kVAlignCenter, sound = click,
    command = function() ToggleSoundMute() end,
  },
}
if not gPortalBuild then
  table.insert(panel, Button{
    name = "quit", label = "menu.quit", x = 188, y = 250, graphics = smallButton,
    font = buttonFont, sound = click,
    command = function() DoModal("scripts/closeconfirm.lua") end,
  })
end

MakeDialog{
  Bitmap{
    name = "menubg", image = "images/menu/menu_bg", x = 0, y = 0,
    MainMenu{
      name = "mainmenu", x = 0, y = 0, w = 800, h = 600,
      Text{
        name = "title", label = "windowtitle", x = kCenter, y = 58, w = 280, h = 72,
        font = titleFont, flags = centred,
      },
      Bitmap(panel),
      Button{
        name = "moregames", label = "menu.moregames", x = 600, y = 20, graphics = smallButton,
        font = smallFont, sound = click,
      },
      Text{ name = "version", x = 8, y = 576, w = 200, h = 20, font = smallFont },
      Text{
        name = "tvlogo", label = "menu.maker", x = 560, y = 576, w = 232, h = 20,
        font = smallFont, flags = kHAlignRight + kVAlignCenter,
      },
    },
  },
}
