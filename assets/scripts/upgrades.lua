-- The upgrade catalogue and the order each venue offers upgrades in.
--
-- UpgradeItem[n] (n = 1 to 32): the string label of its description, its picture on the
-- upgrade dialog (and when pressed or chosen) and the upgrade that must be owned first
-- (NO_REQUIRE for none). What an upgrade does in a level belongs to the level: appetizers
-- (1, 2), dinners (3, 4) and cakes (7, 8) earn more, comfier chairs (5, 19) make guests more
-- patient, a faster chef (6, 30) cooks sooner, a larger chef's table (9, 10) holds another
-- dish, a band (11, 12) makes songs earn more, so do refreshing drinks (13, 14) and better
-- dancing (17, 18), and speedier servers (24, 25) and a speedier Velka (31, 32) walk faster.
-- The other numbers do nothing in a level and no list offers them.
--
-- A player owns the upgrades chosen earlier in the same venue (the story's choices are
-- kept per venue) or earlier in the same endless reception. UpgradePriorityVenueN (venues 1
-- to 5) and ArcadeUpgradePriorityVenueN (the endless receptions 1 to 5) list upgrade numbers
-- in the order they are offered: the dialog offers the first three that are not owned and
-- whose prerequisite is owned. Each venue leads with what its levels bring: the garden
-- patience and walking, the barn the servers and the chef, the seaside the serving table and
-- the cake, the ballroom drinks and the band, the castle dancing.

NO_REQUIRE = 0

local function Upgrade(n, prereq)
  local picture = string.format("images/upgrades/upgrade_%02d", n)
  return { description = "upgrade_" .. n, icon = picture, down = picture .. "_down", prereq = prereq }
end

UpgradeItem = {
  Upgrade(1, NO_REQUIRE),   -- tastier appetizer
  Upgrade(2, 1),            -- tastier appetizer, again
  Upgrade(3, NO_REQUIRE),   -- tastier dinner
  Upgrade(4, 3),            -- tastier dinner, again
  Upgrade(5, NO_REQUIRE),   -- comfier chairs
  Upgrade(6, NO_REQUIRE),   -- faster chef
  Upgrade(7, NO_REQUIRE),   -- fancy cake
  Upgrade(8, 7),            -- fanciest cake
  Upgrade(9, NO_REQUIRE),   -- larger chef's table
  Upgrade(10, 9),           -- larger chef's table, again
  Upgrade(11, NO_REQUIRE),  -- hire a band
  Upgrade(12, 11),          -- awesome band
  Upgrade(13, NO_REQUIRE),  -- more refreshing drinks
  Upgrade(14, 13),          -- more refreshing drinks, again
  Upgrade(15, NO_REQUIRE),  -- no effect
  Upgrade(16, NO_REQUIRE),  -- no effect
  Upgrade(17, NO_REQUIRE),  -- better dancing
  Upgrade(18, 17),          -- better dancing, again
  Upgrade(19, 5),           -- comfier chairs, again
  Upgrade(20, NO_REQUIRE),  -- no effect
  Upgrade(21, NO_REQUIRE),  -- no effect
  Upgrade(22, NO_REQUIRE),  -- no effect
  Upgrade(23, NO_REQUIRE),  -- no effect
  Upgrade(24, NO_REQUIRE),  -- speedier servers
  Upgrade(25, 24),          -- speedier servers, again
  Upgrade(26, NO_REQUIRE),  -- no effect
  Upgrade(27, NO_REQUIRE),  -- no effect
  Upgrade(28, NO_REQUIRE),  -- no effect
  Upgrade(29, NO_REQUIRE),  -- no effect
  Upgrade(30, 6),           -- faster chef, again
  Upgrade(31, NO_REQUIRE),  -- speedier Velka
  Upgrade(32, 31),          -- speedier Velka, again
}

-- The story: five choices a venue (after levels 1, 3, 5, 7 and 9).
UpgradePriorityVenue1 = { 5, 31, 1, 19, 32, 2, 3, 4, 24, 25 }
UpgradePriorityVenue2 = { 24, 6, 3, 25, 30, 4, 5, 19, 31, 32 }
UpgradePriorityVenue3 = { 9, 7, 1, 10, 8, 2, 6, 30, 24, 25 }
UpgradePriorityVenue4 = { 13, 11, 9, 14, 12, 10, 24, 25, 5, 19 }
UpgradePriorityVenue5 = { 17, 11, 13, 18, 12, 14, 9, 10, 31, 32 }

-- The endless receptions: up to eight choices, everything the venue's story offers and more.
ArcadeUpgradePriorityVenue1 = { 5, 31, 1, 24, 19, 32, 2, 25, 3, 4, 9, 10 }
ArcadeUpgradePriorityVenue2 = { 24, 6, 3, 25, 30, 4, 5, 19, 31, 32, 9, 10 }
ArcadeUpgradePriorityVenue3 = { 9, 7, 1, 10, 8, 2, 24, 25, 6, 30, 5, 19 }
ArcadeUpgradePriorityVenue4 = { 13, 11, 9, 14, 12, 10, 24, 25, 5, 19, 31, 32 }
ArcadeUpgradePriorityVenue5 = { 17, 11, 13, 18, 12, 14, 9, 10, 24, 25, 31, 32 }
