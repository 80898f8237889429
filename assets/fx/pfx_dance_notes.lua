-- Music notes and little stars rising from a guest who wants to dance, for a little over a
-- second, drifting sideways as they fade.
ParticlesPerSecond = NewParticleGenerator()
local stopSpawning = NewTimeout(700)
local finish = NewTimeout(2400)

function Init()
  SetTexture("note")
  SetTexture("star", true)
  SetBlendMode(kBlendNormal, 0)
  SetBlendMode(kBlendNormal, 1)
  SetNumParticles(40)
end

function Update(ms)
  if finish(ms) then
    SetDone()
  end
  local n = ParticlesPerSecond(24, ms)
  if not stopSpawning(ms) then
    InitPosition("vRange", Vec3(-18, -70, 0), Vec3(18, -50, 0))
    InitVelocity("vRange", Vec3(-25, -90, 0), Vec3(25, -50, 0))
    InitFrame("iRange", 0, 1)
    InitScale("fRange", 0.6, 1.0)
    InitColor(Color(1, 1, 1, 1))
    CreateParticles(n)
  end
  Do("move")
  DoAge("iAge")
  DoColor("cFade", Color(1, 1, 1, 1), 900, Color(1, 1, 1, 0))
  DoUp("vOscillate", Vec3(0, -1, 0), Vec3(0.4, 0, 0), 900)
  Do("expire", 900)
end
