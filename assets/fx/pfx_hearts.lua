-- Hearts floating up from a kiss: a small burst that rises slowly, sways and fades within
-- two seconds.
ParticlesPerSecond = NewParticleGenerator()
local stopSpawning = NewTimeout(500)
local finish = NewTimeout(2200)

function Init()
  SetTexture("heart")
  SetBlendMode(kBlendNormal, 0)
  SetNumParticles(24)
end

function Update(ms)
  if finish(ms) then
    SetDone()
  end
  local n = ParticlesPerSecond(30, ms)
  if not stopSpawning(ms) then
    InitPosition("vRange", Vec3(-12, -4, 0), Vec3(12, 4, 0))
    InitVelocity("vRange", Vec3(-30, -70, 0), Vec3(30, -40, 0))
    InitScale("fRange", 0.5, 0.9)
    InitColor(Color(1, 1, 1, 1))
    CreateParticles(n)
  end
  Do("move")
  DoAge("iAge")
  DoUp("vOscillate", Vec3(0, -1, 0), Vec3(0.5, 0, 0), 1200)
  DoColor("cFade", Color(1, 1, 1, 1), 1000, Color(1, 1, 1, 1), 600, Color(1, 1, 1, 0))
  Do("expire", 1600)
end
