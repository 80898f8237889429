-- The level's goal is reached: the caption swells in the middle of the room over a shower
-- of confetti, with the goal fanfare.
sfx_list = {
  {
    type = "particles",
    position = { x = 400, y = 120 },
    particles_script = "fx/pfx_confetti.lua",
  },
  {
    type = "text",
    text = "fxGoalReached",
    font = "fonts/monotype_corsiva.mvec",
    font_size = 64,
    color = { r = 0.91, g = 0.71, b = 0.3 },
    outline = 3,
    outlineColor = { r = 0.29, g = 0.2, b = 0.16 },
    position = { x = 400, y = 250 },
    duration = 3,
    fadeout_point = 0.7,
    start_scale = 0.8,
    end_scale = 1.2,
  },
  {
    type = "sound",
    sound_name = "assets/audio/sfx/goal_reached.ogg",
    duration = 2,
  },
}
