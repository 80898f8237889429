-- The player choice: one radio button per player (at most ten, two columns of five), a new
-- player, renaming and deleting the checked one, and OK, which makes the checked player the
-- current one. Names come from the name entry ("scripts/entername.lua"); a name already in
-- use is not taken twice.
local kInk = Color(74, 52, 40)
local buttonFont = { "fonts/arial.mvec", 22, kInk }
local buttonImages = { "images/menu/button2_idle", "images/menu/button2_down", "images/menu/button2_hover" }
local playerImages = {
  "images/menu/player_idle", "images/menu/player_checked", "images/menu/player_hover",
  "images/menu/player_checked_hover",
}

-- Asks for a name; nil when the player cancels, leaves it empty or picks one in use.
local function AskName(current)
  local name = DisplayDialog{ "scripts/entername.lua", name = current }
  if name == nil or name == "" or name == current or IsNameInUse(name) then return nil end
  return name
end

local function NewPlayer()
  local name = AskName("")
  if name then CreateNewUser(name) end
  SetPlayerChoices()
end

local function RenamePlayer()
  local index = GetCurrentSelectedUser()
  if index < 0 then return end
  SetCurrentUser(index)
  local name = AskName(GetSelectedPlayerName())
  if name then ChangeCurrentUserName(name) end
  SetPlayerChoices()
end

local function DeletePlayer()
  local index = GetCurrentSelectedUser()
  if index < 0 then return end
  local answer = DisplayDialog{
    "scripts/yesnodialog.lua",
    title = GetString("chooseplayer.delete.title"),
    body = GetString("chooseplayer.delete.confirm", GetSelectedPlayerName()),
  }
  if answer == "yes" then
    DeleteUser(index)
    SetPlayerChoices()
  end
end

local function ChoosePlayer()
  local index = GetCurrentSelectedUser()
  if index >= 0 then SetCurrentUser(index) end
  CloseWindow()
end

local window = {
  name = "chooseplayer", x = 0, y = 0, w = 800, h = 600,
  Text{
    name = "chooseplayertitle", label = "chooseplayer.title", x = kCenter, y = 60, w = 500, h = 60,
    font = { "fonts/monotype_corsiva.mvec", 44, Color(125, 78, 122) },
    flags = kHAlignCenter + kVAlignCenter,
  },
}
for i = 0, 9 do
  local column = 0
  if i >= 5 then column = 1 end
  table.insert(window, Button{
    name = "button" .. i, type = kRadio, beginGroup = (i == 0), label = "#",
    x = 160 + column * 250, y = 140 + (i - column * 5) * 50,
    graphics = playerImages, font = buttonFont, tx = 16, tw = 190,
    sound = "assets/audio/sfx/click.ogg",
  })
end
local row = { {"newplayer", "chooseplayer.new", NewPlayer}, {"editname", "chooseplayer.rename", RenamePlayer},
              {"delete", "chooseplayer.delete", DeletePlayer} }
for i, b in ipairs(row) do
  table.insert(window, Button{
    name = b[1], label = b[2], x = 130 + (i - 1) * 190, y = 408, graphics = buttonImages,
    font = buttonFont, sound = "assets/audio/sfx/dialog_click.ogg", command = b[3],
  })
end
table.insert(window, Button{
  name = "chooseok", label = "ui.dialog.ok", x = kCenter, y = 476, default = true,
  graphics = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" },
  font = buttonFont, sound = "assets/audio/sfx/dialog_click.ogg", command = ChoosePlayer,
})

MakeDialog{
  Bitmap{ name = "chooseplayerbg", image = "assets/backgrounds/longdialog", x = 0, y = 0, scale = 1.6666666 },
  ChoosePlayerWindow(window),
}
