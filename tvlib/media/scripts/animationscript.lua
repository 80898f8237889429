-- The animation library: the words animation scripts are written in, over the functions each
-- animated sprite registers in its own script state (SetCurrentFrame, WaitLuaNextFrame, Die,
-- Pause, IsPlaying, Load, GetScript, SetAlpha, Random). Frame numbers count from 1.

local frameDelay = 16

alpha = 1
alphadelta = 0
alphacount = 0

-- The wait after each frame shown by frames and showFrame, in milliseconds.
function delay(ms)
  frameDelay = ms
end

function pause(ms)
  WaitLuaNextFrame(ms)
end

function showFrame()
  WaitLuaNextFrame(frameDelay)
end

-- Alpha reaches 0 (fadeout) or 1 (fadein) over the next n frames shown.
function fadeout(n)
  alphadelta = -alpha / n
  alphacount = n
end

function fadein(n)
  alphadelta = (1 - alpha) / n
  alphacount = n
end

function setAlpha(a)
  alpha = a
  SetAlpha(a)
end

-- Shows each listed frame for the frame delay, stepping a fade first when one is going.
function frames(list)
  count = table.getn(list)
  for i = 1, count do
    frame = list[i]
    if alphacount ~= 0 then
      alpha = alpha + alphadelta
      SetAlpha(alpha)
      alphacount = alphacount - 1
      if alphacount == 0 then
        alphadelta = 0
      end
    end
    SetCurrentFrame(frame - 1)
    WaitLuaNextFrame(frameDelay)
  end
end

function loop(times, list)
  for i = 1, times do
    frames(list)
  end
end

-- Plays another animation inside this one: { file, image = ..., mask = ..., anim = ... }.
-- Its script is defined here and its function (DoAnim unless named) runs before run returns.
function run(t)
  local image = t.image or ""
  local mask = t.mask or ""
  local name = t.anim or "DoAnim"
  if Load(t[1], image, mask) then
    local f = loadstring(GetScript() .. "; " .. name .. "()")
    if f then
      f()
    end
  end
end

function die()
  Die()
end

function halt()
  Pause(true, -1)
end

function isPlaying(depth)
  return IsPlaying(depth or -1)
end

function endReferences()
end

function stop(depth)
  Pause(true, depth or -1)
end

function random(min, max)
  return Random(min, max)
end
