-- The planning choices of venue 1, level 1: the couple wish for roses, the shrimp cocktail
-- and the roast (as the level's introduction tells the player).
ReadFile("scripts/selection scripts/SelectionManager.lua")

PreFestraSelection = {
  PlanningRow(FLOWERS, { 0 }, { 1, WISHED }, { 3 }),
  PlanningRow(APPETIZER, { 0 }, { 2 }, { 1, WISHED }),
  PlanningRow(MEAL, { 0, WISHED }, { 2 }, { 1 }),
}

ReadFile("scripts/selection scripts/SelectionDialogGenerator.lua")
