-- The venue map: the sea with the venues reached so far, ten level dots around each venue's
-- house, and a side panel with the selected level, its best score and the play button; a
-- pair of eyes peeks from the panel's window now and then. The "MetaMap" window reads
-- `config`, `showAll` and the dot markers below. Run with gArcadeMap set (by
-- "scripts/arcadeMetamap.lua") it is the endless reception's map: a button per venue
-- reached ("button1".."button5") starts that venue's endless reception.
config = {
  gameMode = gArcadeMap and "arcade" or "story",
  album = gArcadeMap and "no" or "yes",
}

-- levelMarker<venue>_<level>: the corner of each level's marker; its dot is drawn 10 pixels
-- right of and below it. Ten dots arch over each venue's house, first level at the lower
-- left.
levelMarker1_1 = { x = 54, y = 480 }
levelMarker1_2 = { x = 50, y = 460 }
levelMarker1_3 = { x = 57, y = 442 }
levelMarker1_4 = { x = 74, y = 427 }
levelMarker1_5 = { x = 97, y = 419 }
levelMarker1_6 = { x = 123, y = 419 }
levelMarker1_7 = { x = 146, y = 427 }
levelMarker1_8 = { x = 163, y = 442 }
levelMarker1_9 = { x = 170, y = 460 }
levelMarker1_10 = { x = 166, y = 480 }
levelMarker2_1 = { x = 264, y = 460 }
levelMarker2_2 = { x = 260, y = 440 }
levelMarker2_3 = { x = 267, y = 422 }
levelMarker2_4 = { x = 284, y = 407 }
levelMarker2_5 = { x = 307, y = 399 }
levelMarker2_6 = { x = 333, y = 399 }
levelMarker2_7 = { x = 356, y = 407 }
levelMarker2_8 = { x = 373, y = 422 }
levelMarker2_9 = { x = 380, y = 440 }
levelMarker2_10 = { x = 376, y = 460 }
levelMarker3_1 = { x = 344, y = 290 }
levelMarker3_2 = { x = 340, y = 270 }
levelMarker3_3 = { x = 347, y = 252 }
levelMarker3_4 = { x = 364, y = 237 }
levelMarker3_5 = { x = 387, y = 229 }
levelMarker3_6 = { x = 413, y = 229 }
levelMarker3_7 = { x = 436, y = 237 }
levelMarker3_8 = { x = 453, y = 252 }
levelMarker3_9 = { x = 460, y = 270 }
levelMarker3_10 = { x = 456, y = 290 }
levelMarker4_1 = { x = 109, y = 250 }
levelMarker4_2 = { x = 105, y = 230 }
levelMarker4_3 = { x = 112, y = 212 }
levelMarker4_4 = { x = 129, y = 197 }
levelMarker4_5 = { x = 152, y = 189 }
levelMarker4_6 = { x = 178, y = 189 }
levelMarker4_7 = { x = 201, y = 197 }
levelMarker4_8 = { x = 218, y = 212 }
levelMarker4_9 = { x = 225, y = 230 }
levelMarker4_10 = { x = 221, y = 250 }
levelMarker5_1 = { x = 224, y = 85 }
levelMarker5_2 = { x = 220, y = 65 }
levelMarker5_3 = { x = 227, y = 47 }
levelMarker5_4 = { x = 244, y = 32 }
levelMarker5_5 = { x = 267, y = 24 }
levelMarker5_6 = { x = 293, y = 24 }
levelMarker5_7 = { x = 316, y = 32 }
levelMarker5_8 = { x = 333, y = 47 }
levelMarker5_9 = { x = 340, y = 65 }
levelMarker5_10 = { x = 336, y = 85 }

local titleFont = { "fonts/monotype_corsiva.mvec", 36, Color(122, 58, 96) }
local textFont = { "fonts/arial.mvec", 20, Color(74, 52, 40) }
local buttonFont = { "fonts/arial.mvec", 22, Color(74, 52, 40) }
local centred = kHAlignCenter + kVAlignCenter
local bigButton = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" }
local smallButton = { "images/menu/button2_idle", "images/menu/button2_down", "images/menu/button2_hover" }
local click = "assets/audio/sfx/click.ogg"

-- The side panel (x 530 to 780): the title above the eyes' window, then the texts and the
-- buttons.
local map = {
  name = "metamap", x = 0, y = 0, w = 800, h = 600,
  Text{
    name = "maptitle", label = gArcadeMap and "map.endless.title" or "map.title",
    x = 545, y = 40, w = 220, h = 80, font = titleFont, flags = centred,
  },
}

if gArcadeMap then
  local venueNames = { "map.venue1", "map.venue2", "map.venue3", "map.venue4", "map.venue5" }
  for venue = 1, 5 do
    table.insert(map, Button{
      name = "button" .. venue, label = venueNames[venue],
      x = 545, y = 236 + (venue - 1) * 54, graphics = bigButton, font = textFont,
      sound = click, command = function() ToLevel(venue, 1) end,
    })
  end
else
  table.insert(map, Text{
    name = "current_level", x = 545, y = 250, w = 220, h = 60, font = textFont, flags = centred,
  })
  table.insert(map, Text{
    name = "best_score", x = 545, y = 320, w = 220, h = 40, font = textFont, flags = centred,
  })
  table.insert(map, Button{
    name = "play", label = "map.play", x = 545, y = 440, graphics = bigButton, font = buttonFont,
    sound = click, command = function() PlayButton() end,
  })
end

table.insert(map, Button{
  name = "back", label = "map.back", x = 575, y = 516, graphics = smallButton, font = buttonFont,
  sound = click, command = function() PopModal() end,
})

MakeDialog{
  Bitmap{
    name = "metamap_bg", image = "images/metamap/metamap_bg", x = 0, y = 0,
    MetaMap(map),
  },
}
