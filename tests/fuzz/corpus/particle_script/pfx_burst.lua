-- A burst: forty sparks at once that fly out, fall, fade and expire within a second.
local stop = NewTimeout(1200)

function Init()
  SetTexture("spark")
  SetBlendMode(kBlendAdditive)
  SetNumParticles(40)
  InitPosition(Vec3(400, 300, 0))
  InitVelocity("vRange", Vec3(-120, -160, 0), Vec3(120, -40, 0))
  CreateParticles(40)
end

function Update(ms)
  if stop(ms) then
    SetDone()
  end
  Do("move")
  Gravity(300)
  DoAge("iAge")
  DoColor("cFade", Color(1, 0.9, 0.6, 1), 1000, Color(1, 0.6, 0.3, 0))
  Do("expire", 1000)
end
