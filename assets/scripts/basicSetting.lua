-- What every level script shares: the characters' walking speeds, the per-venue share of
-- guests who ask for their table, the numbers of the guest types and desires, and the guest
-- types' animations, click areas, head icons and highlights. A level script reads it first and
-- then sets its own levelSetting and gameObject.
basicSetting = {
  waitressSpeed1 = 300, waitressSpeed2 = 350, waitressSpeed3 = 400,
  velkaSpeed1 = 200, velkaSpeed2 = 300, velkaSpeed3 = 400,
}

guestRequestTablePercent = { 50, 20, 20, 20, 20 }

FEMALE01, FEMALE02, FEMALE03, FEMALE04 = 0, 1, 2, 3
MALE01, MALE02, MALE03, MALE04 = 4, 5, 6, 7
UNCLE, AUNT = 8, 9

GIFT, APPETIZER, DINNER, CAKE = 1, 2, 3, 4

local kGuestTypes = { "female01", "female02", "female03", "female04", "male01", "male02",
                      "male03", "male04", "uncle", "aunt" }
-- Each type's animations in the order the guests play them; the uncle and the aunt have their
-- problem as an eighth.
local kMoods = { "idle", "impatient", "eating", "dance", "happy", "seated", "upset", "problem" }
local kGuestFolder = "assets/images/character/guests/"

charImg = {}
charImgFrameNum = {}
charImgClickArea = {}
headIcon = {}
guestHighlightImages = {}
for t = 1, 10 do
  local name = kGuestTypes[t]
  local row = {}
  local moods = (t >= 9) and 8 or 7
  for m = 1, moods do
    row[m] = kGuestFolder .. name .. "_" .. kMoods[m] .. ".xml"
  end
  charImg[t] = row
  charImgFrameNum[t] = { 0 }
  charImgClickArea[t] = { 0, 0, 48, 70, -1 }
  headIcon[t] = kGuestFolder .. "head_" .. name
  guestHighlightImages[t] = kGuestFolder .. "highlight_" .. name
end
