-- The bride loses her temper: red sparks fly, a sign of temper throbs over the couple and
-- a caption shakes in. The head table plays the outburst's sound itself.
sfx_list = {
  {
    type = "particles",
    position = { x = 330, y = 70 },
    particles_script = "fx/pfx_temper.lua",
  },
  {
    type = "sprite",
    position = { x = 362, y = 36 },
    texture_name = "fx/anger",
    duration = 2.5,
    fadeout_point = 0.7,
    start_scale = 0.8,
    end_scale = 1.4,
    pulse_interval = 0.08,
  },
  {
    type = "text",
    text = "fxBridezilla",
    font = "fonts/arial.mvec",
    font_size = 34,
    color = { r = 0.88, g = 0.32, b = 0.31 },
    outline = 3,
    outlineColor = { r = 1, g = 0.96, b = 0.91 },
    position = { x = 330, y = 120 },
    duration = 2.5,
    fadeout_point = 0.6,
    start_scale = 1.4,
    end_scale = 1,
    rotation = -6,
  },
}
