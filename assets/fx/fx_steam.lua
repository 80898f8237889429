-- The couple are getting cross: steam puffs up over the head table.
sfx_list = {
  {
    type = "particles",
    position = { x = 340, y = 40 },
    particles_script = "fx/pfx_steam.lua",
  },
}
