-- Confetti and sparkles for a goal reached: thrown up across the top of the room, tumbling
-- down for about three seconds.
ParticlesPerSecond = NewParticleGenerator()
local stopSpawning = NewTimeout(900)
local finish = NewTimeout(3400)

function Init()
  SetTexture("confetti")
  SetTexture("sparkle", true)
  SetBlendMode(kBlendNormal, 0)
  SetBlendMode(kBlendAdditive, 1)
  SetNumParticles(160)
end

function Update(ms)
  if finish(ms) then
    SetDone()
  end
  local n = ParticlesPerSecond(150, ms)
  if not stopSpawning(ms) then
    InitPosition("vRange", Vec3(-260, -20, 0), Vec3(260, 20, 0))
    InitVelocity("vRange", Vec3(-90, -260, 0), Vec3(90, -120, 0))
    InitFrame("iRange", 0, 1)
    InitScale("fRange", 0.4, 0.8)
    InitExtra1("fRange", 0, 1)
    InitColor(Color(1, 1, 1, 1))
    CreateParticles(n)
  end
  Do("move")
  Gravity(220)
  DoAge("iAge")
  DoUp("vRotate", 0.5, 2)
  DoColor("cFade", Color(1, 1, 1, 1), 1800, Color(1, 1, 1, 1), 600, Color(1, 1, 1, 0))
  Do("expire", 2400)
end
