-- The planning choices a selection script picks from, and the builder of its rows.
--
-- A selection script names each row's category and three options by their planning values
-- (the value the level applies to its room), marks the ones the couple wished for, and
-- leaves the rows in PreFestraSelection:
--
--   PreFestraSelection = {
--     PlanningRow(FLOWERS, {1, WISHED}, {0}, {4}),
--     ...
--   }
--
-- Each row becomes {type = category, option, option, option} with each option
-- {value, picture, picture when chosen, caption label, 1 when wished for else 0}, the table
-- the "SelectionDialog" window reads.

SelectionType = { APPETIZER = 0, MEAL = 1, CAKE = 2, FLOWERS = 3, HONEYMOON = 4, COLOR = 5 }
APPETIZER = SelectionType.APPETIZER
MEAL = SelectionType.MEAL
CAKE = SelectionType.CAKE
FLOWERS = SelectionType.FLOWERS
HONEYMOON = SelectionType.HONEYMOON
WISHED = true

local kOptionFolder = "images/Festra Panning/options/"

-- Per category, per planning value: the option's picture and caption label. The pictures
-- show what the level then serves or places: appetizer value 0 is the garden salad, 1 the
-- shrimp cocktail, 2 the bruschetta; dinner 0 the roast, 1 the fish, 2 the pasta; cake 0 to 2
-- the couple, blossom and sweetheart cakes, 3 to 5 the lace, rose and gold designs; flowers 0
-- the white lilies (the room's fourth flowers), 1 to 3 the first three, 4 and 5 the fifth and
-- sixth.
PlanningOptions = {
  [APPETIZER] = {
    [0] = { "appetizer3", "option_salad" },
    [1] = { "appetizer2", "option_shrimp" },
    [2] = { "appetizer1", "option_bruschetta" },
  },
  [MEAL] = {
    [0] = { "meal1", "option_roast" },
    [1] = { "meal3", "option_fish" },
    [2] = { "meal2", "option_pasta" },
  },
  [CAKE] = {
    [0] = { "cake_cake6", "option_cake_couple" },
    [1] = { "cake_cake5", "option_cake_blossom" },
    [2] = { "cake_cake4", "option_cake_sweetheart" },
    [3] = { "cake_cakeLace", "option_cake_lace" },
    [4] = { "cake_cakeRose", "option_cake_rose" },
    [5] = { "cake_cakeGold", "option_cake_gold" },
  },
  [FLOWERS] = {
    [0] = { "flowers4", "option_flowers_lilies" },
    [1] = { "flowers1", "option_flowers_roses" },
    [2] = { "flowers2", "option_flowers_peonies" },
    [3] = { "flowers3", "option_flowers_sunflowers" },
    [4] = { "flowers5", "option_flowers_lavender" },
    [5] = { "flowers6", "option_flowers_hydrangeas" },
  },
  [HONEYMOON] = {
    [0] = { "honeymoon_beach", "option_honeymoon_beach" },
    [1] = { "honeymoon_mountains", "option_honeymoon_mountains" },
    [2] = { "honeymoon_city", "option_honeymoon_city" },
  },
}

-- One option of a category: {value, wished} (wished may be left out).
local function PlanningOption(category, choice)
  local value = choice[1]
  local known = PlanningOptions[category] and PlanningOptions[category][value]
  if known == nil then
    DebugOut("PlanningRow: no option " .. tostring(value) .. " in category " .. tostring(category))
    known = { "", "" }
  end
  local picture = kOptionFolder .. known[1]
  local wished = 0
  if choice[2] then wished = 1 end
  return { value, picture, picture .. "_down", known[2], wished }
end

-- A row of the category with its three options, each {value} or {value, WISHED}.
function PlanningRow(category, first, second, third)
  return {
    type = category,
    PlanningOption(category, first),
    PlanningOption(category, second),
    PlanningOption(category, third),
  }
end
