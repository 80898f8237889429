-- A selection screen with known wishes for the dialog's tests: flowers (row 1) wished in
-- column 2, a row without a type (row 2, which counts as dinners) wished in column 3, cakes
-- (row 3) wished in column 1, whose third option gives no value, caption or wish (it takes
-- the defaults). The button named by the global SkipButton, if any, is left out.
local folder = "images/Festra Panning/options/"
local function Option(value, picture, caption, wished)
  return { value, folder .. picture, folder .. picture .. "_down", caption, wished }
end

PreFestraSelection = {
  {
    type = 3,
    Option(0, "flowers4", "option_flowers_lilies", 0),
    Option(1, "flowers1", "option_flowers_roses", 1),
    Option(5, "flowers6", "option_flowers_hydrangeas", 0),
  },
  {
    Option(0, "meal1", "option_roast", 0),
    Option(1, "meal3", "option_fish", 0),
    Option(2, "meal2", "option_pasta", 1),
  },
  {
    type = 2,
    Option(3, "cake_cakeLace", "option_cake_lace", 1),
    Option(4, "cake_cakeRose", "option_cake_rose", 0),
    { nil, folder .. "cake_cakeGold", folder .. "cake_cakeGold_down" },
  },
}

ButtonX = 127
ButtonY = 111
ButtonXGap = 200
Groupgap = 134

local dialog = { name = "selection", x = 0, y = 0, w = 800, h = 600 }
for row = 1, 3 do
  for column = 1, 3 do
    local name = "button" .. row .. column
    local r, c = row, column
    if name ~= SkipButton then
      table.insert(dialog, Button{
        name = name, type = kRadio, beginGroup = (column == 1),
        x = ButtonX + (column - 1) * ButtonXGap, y = ButtonY + (row - 1) * Groupgap,
        w = 137, h = 98, command = function() Select(r, c) end,
      })
    end
  end
end
table.insert(dialog, Button{
  name = "chooseok", x = 800, y = 600, w = 200, h = 50, command = function() PlaceOrder() end,
})
MakeDialog{ SelectionDialog(dialog) }
