-- The endless reception's venue map: the story's map ("scripts/album.lua") with a button per
-- venue reached in place of the level choice.
gArcadeMap = true
ReadFile("scripts/album.lua")
gArcadeMap = nil
