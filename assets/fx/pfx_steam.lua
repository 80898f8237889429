-- Puffs of steam rising over the couple when they are cross: grey clouds that swell and
-- thin out as they climb, for about two and a half seconds.
ParticlesPerSecond = NewParticleGenerator()
local stopSpawning = NewTimeout(1200)
local finish = NewTimeout(3000)

function Init()
  SetTexture("smoke")
  SetBlendMode(kBlendNormal, 0)
  SetNumParticles(48)
end

function Update(ms)
  if finish(ms) then
    SetDone()
  end
  local n = ParticlesPerSecond(30, ms)
  if not stopSpawning(ms) then
    InitPosition("vRange", Vec3(-50, -6, 0), Vec3(50, 6, 0))
    InitVelocity("vRange", Vec3(-18, -45, 0), Vec3(18, -22, 0))
    InitColor(Color(1, 1, 1, 0.85))
    CreateParticles(n)
  end
  Do("move")
  DoAge("iAge")
  DoScale("fScale", 0.5, 1600, 1.8)
  DoColor("cFade", Color(1, 1, 1, 0.85), 1600, Color(1, 1, 1, 0))
  Do("expire", 1600)
end
