-- The planning selection screen, built from the rows a selection script left in
-- PreFestraSelection (see SelectionManager.lua): the planner's background, a title and a
-- hint, the name of each row's category, the nine options as radio buttons "button11" to
-- "button33" (row digit first; a pick calls Select(row, column)), and the order button
-- "chooseok", out of view until every row has a pick (it calls PlaceOrder()). The
-- "SelectionDialog" window dresses the options from the table and draws its marks at the
-- middle of each option, from ButtonX, ButtonY, ButtonXGap and Groupgap.

ButtonX = 170
ButtonY = 92
ButtonXGap = 190
Groupgap = 128

-- The string label naming a category, "planning_category_" and its number.
local function CategoryLabel(category)
  return "planning_category_" .. category
end

local kOptionWidth = 137
local kOptionHeight = 98
local kInk = Color(74, 52, 40)
local kPlum = Color(125, 78, 122)

local dialog = {
  name = "selectiondialog", x = 0, y = 0, w = 800, h = 600,
  Text{
    name = "selectiontitle", label = "selectionDialog", x = 200, y = 12, w = 400, h = 38,
    font = { "fonts/monotype_corsiva.mvec", 30, Color(255, 246, 233) },
    flags = kHAlignCenter + kVAlignCenter,
  },
  Text{
    name = "selectionhint", label = "selectionDialog2", x = 60, y = 56, w = 680, h = 30,
    font = { "fonts/arial.mvec", 18, kInk }, flags = kHAlignCenter + kVAlignCenter,
  },
}

for row = 1, 3 do
  local top = ButtonY + (row - 1) * Groupgap
  local category = PreFestraSelection[row] and PreFestraSelection[row].type or (row - 1)
  table.insert(dialog, Text{
    name = "category" .. row, label = CategoryLabel(category),
    x = 14, y = top, w = 146, h = kOptionHeight,
    font = { "fonts/monotype_corsiva.mvec", 28, kPlum }, flags = kHAlignRight + kVAlignCenter,
  })
  for column = 1, 3 do
    local r, c = row, column
    table.insert(dialog, Button{
      name = "button" .. row .. column, type = kRadio, beginGroup = (column == 1),
      x = ButtonX + (column - 1) * ButtonXGap, y = top, w = kOptionWidth, h = kOptionHeight,
      sound = "assets/audio/sfx/dialog_click.ogg",
      command = function() Select(r, c) end,
    })
  end
end

table.insert(dialog, Button{
  name = "chooseok", label = "telephonebutton", x = 800, y = 600, scale = 1.6666666,
  graphics = { "buttons/btn_idle_long", "buttons/btn_down_long", "buttons/btn_hl_long" },
  font = { "fonts/arial.mvec", 22, Color(0, 0, 0) },
  sound = "assets/audio/sfx/dialog_click.ogg",
  command = function() PlaceOrder() end,
})

MakeDialog{
  Bitmap{ name = "planner_bg", image = "images/festra panning/planner_bg", x = 0, y = 0 },
  SelectionDialog(dialog),
}
