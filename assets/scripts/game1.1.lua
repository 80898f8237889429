-- Venue 1 (the garden), level 1: the first reception, gentle. Two tables of four, six guests
-- who arrive in pairs and wait patiently, one server, no problems and no side requests; the
-- couple's cake ends each guest's visit.
ReadFile("scripts/basicSetting.lua")

levelSetting = {
  map = 1, level = 1,
  passScore = 400, highScore = 700,
  totalTime = 400000,
  introBG = "assets/images/intro/intro_bg",
  slowMusic = "assets/audio/music/venue1_garden.ogg",
  chair_image = "images/table/chair",
  patienceBonusTime = 40000, patiencePenaltyTime = 1000,
  matchRequestTime = 10000, drinkRequestTime = 15000, musicRequestTime = 15000,
  coffeeRequestTime = 15000, tissueRequestTime = 15000,
  requestAppearTime = 3000, specialAppearTime = 9000,
  waitressMaxQueue = 6,
  lastRequest = CAKE,
  needMatchBeforeDance = "no",
  matchGameDelay = 9999000, matchGameLength = 9999000,
  cakeTipDelay = 9999000, cakeTipChance = 0,
}

local function Guest(type, waitBeforeSit)
  return {
    type = type, tolerance = 90000,
    waitBeforeSit = waitBeforeSit, waitBeforeGift = 4000, waitBeforeAppetizer = 5000,
    waitBeforeDinner = 6000, waitBeforeCake = 6000,
    percentRequestMusic = 0, percentRequestDrink = 0, percentRequestResit = 0,
    percentRequestCoffee = 0, percentRequestTissue = 0,
    matchType = -1,
  }
end

gameObject = {
  availableTables = {
    { tableID = 1, numChairs = 4, x = 190, y = 300, tableImage = "images/table/table4",
      markImage = "images/table/mark_red", color = "red" },
    { tableID = 2, numChairs = 4, x = 430, y = 300, tableImage = "images/table/table4",
      markImage = "images/table/mark_blue", color = "blue" },
  },
  guestList = {
    Guest(FEMALE01, 1000), Guest(MALE01, 1000),
    Guest(FEMALE02, 20000), Guest(MALE02, 20000),
    Guest(FEMALE03, 40000), Guest(MALE03, 40000),
  },
  reseatingList = { -1000 },
  velkaEvents = {},
}

numServers = 1

MakeDialog{
  Bitmap{ name = "backgroundimage", image = "assets/images/bg_backyard", x = 0, y = 0 },
  GameWindow{ name = "GameWindow", x = 0, y = 0, w = 800, h = 600 },
  Button{
    name = "pause", label = "ui.dialog.pause.title", x = 20, y = 553, scale = 1.6666666,
    graphics = { "buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long" },
    font = { "fonts/arial.mvec", 20, Color(0, 0, 0) },
    sound = "assets/audio/sfx/dialog_click.ogg",
    command = function() DoPause() end,
  },
}
