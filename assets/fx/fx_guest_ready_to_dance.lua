-- A guest is ready to dance: notes and stars rise from the guest (the game gives the
-- position) and a note pulses over the guest's head for two seconds.
sfx_list = {
  {
    type = "particles",
    position = "fromgame",
    particles_script = "fx/pfx_dance_notes.lua",
  },
  {
    type = "sprite",
    position = "fromgame",
    position_offset = { x = 0, y = -95 },
    texture_name = "fx/note",
    duration = 2,
    fadeout_point = 0.7,
    start_scale = 0.9,
    end_scale = 1.3,
    pulse_interval = 0.12,
  },
}
