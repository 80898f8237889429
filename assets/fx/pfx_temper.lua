-- The bride's outburst: hot red sparks flung out in a ring, falling back as they fade.
ParticlesPerSecond = NewParticleGenerator()
local stopSpawning = NewTimeout(400)
local finish = NewTimeout(1800)

function Init()
  SetTexture("star")
  SetBlendMode(kBlendNormal, 0)
  SetNumParticles(40)
end

function Update(ms)
  if finish(ms) then
    SetDone()
  end
  local n = ParticlesPerSecond(90, ms)
  if not stopSpawning(ms) then
    InitPosition("vRadius", 10, Vec3(0, 0, 0))
    InitVelocity("vRange", Vec3(-140, -160, 0), Vec3(140, -40, 0))
    InitScale("fRange", 0.4, 0.8)
    InitColor("cRange", Color(1, 0.3, 0.2, 1), Color(1, 0.6, 0.3, 1))
    CreateParticles(n)
  end
  Do("move")
  Gravity(260)
  DoAge("iAge")
  DoColor("cFade", Color(1, 0.45, 0.3, 1), 700, Color(1, 0.45, 0.3, 0))
  Do("expire", 1100)
end
