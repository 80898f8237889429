-- The couple are getting cross: steam puffs up over their heads at the head table.
sfx_list = {
  {
    type = "particles",
    position = { x = 330, y = 70 },
    particles_script = "fx/pfx_steam.lua",
  },
}
