-- The upgrade choice: up to three upgrades from the catalogue (scripts/upgrades.lua), offered
-- by the "UpgradeDialog" window on the radio buttons "button1" to "button3" (a pick calls
-- Select(0 to 2)), each dressed with the upgrade's picture and its description beside it.
-- "chooseok" stays out of view until a pick; it confirms the choice and moves on.
ReadFile("scripts/upgrades.lua")

UpgradeButtonX = 185
UpgradeButtonY = 150
UpgradeButtonYSpace = 106

local dialog = {
  name = "upgradedialog", x = 0, y = 0, w = 800, h = 600,
  Text{
    name = "upgradetitle", label = "upgradetitle", x = 200, y = 12, w = 400, h = 38,
    font = { "fonts/monotype_corsiva.mvec", 30, Color(255, 246, 233) },
    flags = kHAlignCenter + kVAlignCenter,
  },
  Text{
    name = "upgradehint", label = "upgradehint", x = 100, y = 100, w = 600, h = 36,
    font = { "fonts/arial.mvec", 20, Color(74, 52, 40) }, flags = kHAlignCenter + kVAlignCenter,
  },
}

for i = 1, 3 do
  local index = i - 1
  table.insert(dialog, Button{
    name = "button" .. i, type = kRadio, beginGroup = (i == 1),
    x = UpgradeButtonX, y = UpgradeButtonY + index * UpgradeButtonYSpace, w = 425, h = 100,
    sound = "assets/audio/sfx/dialog_click.ogg",
    command = function() Select(index) end,
  })
end

table.insert(dialog, Button{
  name = "chooseok", label = "upgradeconfirm", x = 800, y = 600, scale = 1.6666666,
  graphics = { "buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long" },
  font = { "fonts/arial.mvec", 22, Color(0, 0, 0) },
  sound = "assets/audio/sfx/dialog_click.ogg",
  command = function() UpgradeIt(); SaveUpgrade() end,
})

MakeDialog{
  Bitmap{ name = "upgrade_bg", image = "assets/backgrounds/longdialog", x = 0, y = 0, scale = 1.6666666 },
  UpgradeDialog(dialog),
}
