-- A sparkle on the main menu: a small star of light that swells and fades where the menu
-- starts it.
sfx_list = {
  {
    type = "sprite",
    position = "fromgame",
    texture_name = "fx/sparkle",
    duration = 1.0,
    fadeout_point = 0.4,
    start_scale = 0.6,
    end_scale = 1.5,
    rotation_speed = 90,
  },
}
