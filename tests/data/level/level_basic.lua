-- A small story level for the level's tests: venue 1, level 2, one table of four chairs,
-- two guest types, one server, goals 50 and 100, and the optional tables. Names are written
-- the ways level scripts write them: with and without "assets/", extension and case.
basicSetting = {
  waitressSpeed1 = 300, waitressSpeed2 = 350, waitressSpeed3 = 400,
  velkaSpeed1 = 200, velkaSpeed2 = 300, velkaSpeed3 = 400,
}
guestRequestTablePercent = { 50, 20, 20, 20, 20 }
levelSetting = {
  map = 1, level = 2, passScore = 50, highScore = 100, totalTime = 400000,
  lastRequest = 2, waitressMaxQueue = 6, requestAppearTime = 3000, specialAppearTime = 9000,
  patienceBonusTime = 40000, patiencePenaltyTime = 1000, needMatchBeforeDance = "no",
  chair_image = "images/table/chair", introBG = "assets/images/intro/intro_bg",
  slowMusic = "assets/audio/music/venue1_garden.ogg", blaster = 1,
}
headIcon = { "images/character/guests/head_female01", "images/character/guests/head_male01", "" }
guestHighlightImages = { "images/character/guests/highlight_female01" }
local types = { "female01", "female02", "female03", "female04", "male01", "male02", "male03",
                "male04", "uncle", "aunt" }
local moods = { "idle", "impatient", "eating", "dance", "happy", "seated", "upset", "problem" }
charImg = {}
charImgClickArea = {}
for t = 1, 10 do
  local row = {}
  for m = 1, (t >= 9) and 8 or 7 do
    row[m] = "assets/images/character/guests/" .. types[t] .. "_" .. moods[m] .. ".xml"
  end
  charImg[t] = row
  charImgClickArea[t] = { 10, 0, 40, 80, 99, -1 }
end
charImgFrameNum = {}
numServers = 1
numMoodBoosts = 2
useWineTable = 1
gameObject = {
  availableTables = {
    { tableID = 1, numChairs = 4, x = 300, y = 300, tableImage = "Assets/Images/Table/Table4",
      markImage = "images/table/mark_red.png", color = "Red" },
  },
  reseatingList = { 3000, -1000, 5000 },
  velkaEvents = { { effectsPath = "fx/fx_kiss", x = 200, y = 250, delay = 4000 } },
}

MakeDialog{
  Bitmap{ name = "backgroundimage", image = "assets/images/bg_backyard", x = 0, y = 0 },
  GameWindow{ name = "GameWindow", x = 0, y = 0, w = 800, h = 600 },
  Button{
    name = "pause", label = "ui.dialog.pause.title", x = 20, y = 553, scale = 1.6666666,
    graphics = { "buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long" },
    font = { "fonts/arial.mvec", 20, Color(0, 0, 0) },
    command = function() DoPause() end,
  },
}
