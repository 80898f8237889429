-- The particle library: what effect scripts call on top of the particle system's natives,
-- and the defaults every effect starts from. Loaded into each particle system's script
-- state before the effect script.

kBlendNormal = 0
kBlendOpaque = 1
kBlendAdditive = 2
kBlendAdditiveAlpha = 3
kBlendSubtractive = 4
kBlendLit = 5

function Vec3(x, y, z)
  return { x, y, z }
end

function Color(r, g, b, a)
  return { r, g, b, a }
end

-- Creates num particles, then lets the effect's own Create() adjust them.
function Spawn(num)
  CreateParticles(num)
  Create()
end

-- Turns (type?, ...) into (type, { ... }): a leading string names the operator type, any
-- other first argument is the first parameter of the default type.
local function TypedArgs(default, args)
  if type(args[1]) == "string" then
    local kind = table.remove(args, 1)
    return kind, args
  end
  return default, args
end

local function InitWith(native, default)
  return function(...)
    return native(TypedArgs(default, arg))
  end
end

InitAge = InitWith(_InitAge, "iConstant")
InitFrame = InitWith(_InitFrame, "iConstant")
InitUp = InitWith(_InitUp, "vConstant")
InitVelocity = InitWith(_InitVelocity, "vConstant")
InitPosition = InitWith(_InitPosition, "vConstant")
InitScale = InitWith(_InitScale, "fConstant")
InitExtra1 = InitWith(_InitExtra1, "fConstant")
InitColor = InitWith(_InitColor, "cConstant")
InitSpecular = InitWith(_InitSpecular, "cConstant")

local function DoWith(native)
  return function(what, ...)
    return native(what, arg)
  end
end

Do = DoWith(_Do)
DoAge = DoWith(_DoAge)
DoUp = DoWith(_DoUp)
DoVelocity = DoWith(_DoVelocity)
DoPosition = DoWith(_DoPosition)
DoFrame = DoWith(_DoFrame)
DoScale = DoWith(_DoScale)
DoColor = DoWith(_DoColor)
DoSpecular = DoWith(_DoSpecular)

function Gravity(amount)
  DoVelocity("vAdd", Vec3(0, amount, 0))
end

function SetBlendMode(mode, layer)
  _SetBlendMode(mode, layer or 0)
end

function SetTexture(texture, add)
  _SetTexture(texture, add or false)
end

-- A spawner: each call adds ms to its clock and answers how many particles are due at
-- pps particles a second, keeping the remainder for later calls.
function NewParticleGenerator()
  local t = 0
  local generator = function(pps, ms)
    t = t + ms
    local n = math.floor(t / 1000 * pps)
    if n > 0 then
      t = t - math.floor(n * 1000 / pps)
    end
    return n
  end
  ParticlesPerSecond = generator
  return generator
end

-- A countdown: answers false while time is left, true once it has run out.
function NewTimeout(ms)
  local d = ms
  return function(elapsed)
    if d < 0 then
      return true
    end
    d = d - elapsed
    return false
  end
end

function Update()
end

InitAge(0)
InitUp(Vec3(0, -1, 0))
InitVelocity(Vec3(0, 0, 0))
InitPosition(Vec3(0, 0, 0))
InitFrame(0)
InitScale(1)
InitColor(Color(1, 1, 1, 1))
InitSpecular(Color(0, 0, 0, 1))
