-- The happy couple kiss: hearts float up from the head table with a soft kiss sound.
sfx_list = {
  {
    type = "particles",
    position = { x = 330, y = 65 },
    particles_script = "fx/pfx_hearts.lua",
  },
  {
    type = "sprite",
    position = { x = 330, y = 42 },
    texture_name = "fx/heart",
    duration = 1.2,
    fadeout_point = 0.5,
    start_scale = 0.6,
    end_scale = 1.6,
  },
  {
    type = "sound",
    sound_name = "assets/audio/sfx/kiss.ogg",
    duration = 1,
  },
}
