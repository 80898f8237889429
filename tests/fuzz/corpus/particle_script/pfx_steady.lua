-- A steady emitter: twenty particles a second rising from a point for two seconds.
NewParticleGenerator()
local spawning = NewTimeout(2000)

function Init()
  SetTexture("spark")
  SetNumParticles(100)
  InitPosition("vRadius", 4, Vec3(200, 500, 0))
  InitVelocity(Vec3(0, -60, 0))
end

function Update(ms)
  local n = ParticlesPerSecond(20, ms)
  if not spawning(ms) then
    CreateParticles(n)
  end
  Do("move")
  DoAge("iAge")
  DoScale("fScale", 1, 1500, 0.2)
  Do("expire", 1500)
end
