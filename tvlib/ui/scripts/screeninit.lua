-- The window script library ("gScreenInit"): the constants layout scripts use, the table
-- constructors they describe windows with, the style chain, modal dialogs and the message
-- loop over the two queues the engine fills (gMessageQueue, gCommandQueue). It runs once in
-- the window script, over the native functions the window script registers before it.

kPush = 0
kToggle = 1
kRadio = 2

kHAlignLeft = 0
kHAlignCenter = 1
kHAlignRight = 2
kVAlignTop = 0
kVAlignCenter = 4
kVAlignBottom = 8

kAllLayers = -1
kCenter = 80000
kMax = 160000
kDefault = 128

kPushButtonAlignment = kHAlignCenter + kVAlignCenter
kRadioButtonAlignment = kHAlignLeft + kVAlignCenter
kToggleButtonAlignment = kHAlignCenter + kVAlignCenter

kCloseWindow = 1
kDefaultAction = 2
kButtonPress = 3
kPressAnyKey = 4
kQuitNow = 5
kModalClosed = 6

LUA_PATH = "?;../?;../../?"
gReturnValue = nil
idtable = {}
gParent = {}
gCurrentDefaultStyle = {}
gCurID = 100
gBeginGroup = 0
gClosedWindows = {}
gCommandQueue = {}
gMessageQueue = {}
gDialogTable = {}

-- The type of a message, or nil for a value that is not one (scripts may post any value).
local function MessageType(m)
  local kind = type(m)
  if kind == "table" or kind == "userdata" then return m.type end
  return nil
end

function Color(r, g, b, a)
  if a == nil then return {r / 255, g / 255, b / 255, 1} end
  return {r / 255, g / 255, b / 255, a / 255}
end

function FColor(r, g, b, a)
  if a == nil then a = 1 end
  return {r, g, b, a}
end

function Push(w)
  table.insert(gParent, 1, w)
end

function Pop()
  return table.remove(gParent, 1)
end

-- Creates the window, then its children inside it. A window its parent refused (create
-- answers false) is not there: its children are not made and the parent stays current.
function DoWindow(t)
  t.beginGroup = gBeginGroup
  gBeginGroup = 0
  if t.create(t) == false then return false end
  MakeDialog(t)
  PopWindow()
  return true
end

function DoDialogCommand(i, f)
  return f()
end

function MakeDialog(t)
  local style = gCurrentDefaultStyle
  table.foreachi(t, function(i, f) f() end)
  typename = t.typename
  gCurrentDefaultStyle = style
  if typename then PostCreate(typename) end
end

function Creating(type, t)
end

function Window(t)
  if t.create == nil then
    Creating("Window", t)
    t.create = CreateWindow
  end
  return function() return DoWindow(t) end
end

function Text(t)
  Creating("Text", t)
  t.create = CreateText
  return Window(t)
end

function TextEdit(t)
  Creating("TextEdit", t)
  t.create = CreateTextEdit
  return Window(t)
end

function Bitmap(t)
  Creating("Bitmap", t)
  t.create = CreateBitmap
  return Window(t)
end

local function LabelAlignment(kind)
  if kind == kRadio then return kRadioButtonAlignment end
  if kind == kToggle then return kToggleButtonAlignment end
  return kPushButtonAlignment
end

function Button(t)
  Creating("Button", t)
  t.create = CreateButton
  return function()
    local label = GetTag(t, "label")
    if label then
      local kind = GetTag(t, "type") or kPush
      table.insert(t, AppendStyle {font = t.font, flags = t.flags})
      table.insert(t, Text {
        label = label,
        x = GetTag(t, "tx") or 0,
        y = GetTag(t, "ty") or 0,
        w = GetTag(t, "tw") or kMax,
        h = GetTag(t, "th") or kMax,
        name = "label",
        defflags = LabelAlignment(kind),
        factory = GetTag(t, "textfactory") or "_text",
        growparent = (kind == kRadio),
      })
    end
    t.cleanup = nil
    local made = DoWindow(t)
    -- The cleanup belongs to the button just made: run it once and let it go.
    local cleanup = t.cleanup
    t.cleanup = nil
    if cleanup then cleanup() end
    return made
  end
end

function SetBeginGroup()
  gBeginGroup = 1
end

function BeginGroup()
  return function() SetBeginGroup() end
end

function GetTag(t, key, inner)
  if t == nil then return nil end
  local value = t[key]
  if value ~= nil then return value end
  if not inner then return GetTag(gCurrentDefaultStyle, key, true) end
  if t.parent then return GetTag(t.parent, key, true) end
  return nil
end

function SetDefaultStyle(s)
  gCurrentDefaultStyle = s
end

function SetStyle(s)
  return function() SetDefaultStyle(s) end
end

function AppendStyle(s)
  return function()
    s.parent = gCurrentDefaultStyle
    SetDefaultStyle(s)
  end
end

function SetFocus(name)
  return function() RealSetFocus(name) end
end

function SetDefault(x)
  return function() end
end

function DistributeX(n)
  divisor = n + 1
  d = {}
  for i = 1, n do d[i] = i / divisor * gDialogWidth end
  return d
end

function DistributeY(n)
  local parts = n + 1
  local positions = {}
  for i = 1, n do positions[i] = i / parts * gDialogHeight end
  return positions
end

-- Returns when the modal window `name` has closed, also when its close message came while
-- another wait was running (gClosedWindows keeps those).
function WaitForCloseMessage(name)
  while true do
    if gClosedWindows[name] then
      gClosedWindows[name] = nil
      return
    end
    local m = WaitForMessage()
    gLastMessage = m
    if MessageType(m) == kModalClosed then
      if m.name == name then return end
      gClosedWindows[m.name] = true
    end
  end
end

function DoModal(file)
  local name = PushModal(file)
  ReadFile(file)
  WaitForCloseMessage(name)
  local value = gReturnValue
  gReturnValue = nil
  return value
end

function ModalReturn(v)
  gReturnValue = v
end

-- Plays the movie, or shows the image for `ms` when the movie does not start, in a modal
-- window of its own; a close, any key or the window's own closing ends it early.
function DisplaySplash(movie, image, ms)
  local name = PushModal("DisplaySplash")
  local playing = StartMovie(movie)
  if not playing then
    local splash = {image = image, name = "splashimage"}
    table.insert(splash, Group(GetTag({}, "splashoverlay") or {}))
    MakeDialog {Bitmap(splash)}
    UpdateWindow()
    Pause(50)
    UpdateWindow()
    Pause(50)
    if not ImageLoaded("splashimage") then
      DoPopModal()
      return
    end
  end
  local start = GetTimer()
  while true do
    if playing then
      if not IsMoviePlaying() then break end
    elseif GetTimer() - start >= ms then
      break
    end
    local m = WaitForMessage(100)
    local kind = MessageType(m)
    if kind == kCloseWindow or kind == kPressAnyKey or (kind == kModalClosed and m.name == name) then
      break
    end
  end
  StopMovie()
  DoPopModal()
end

function FlushMessages()
  while HandleGetMessage(1) do
  end
  gCommandQueue = {}
  gMessageQueue = {}
end

-- The newest queued message, else the next one to arrive (nil after a timeout). A command
-- that comes with it, or the newest queued command, runs with its result in gYieldResult.
function WaitForMessage(timeout, noQueue)
  if not noQueue and table.getn(gMessageQueue) > 0 then
    return table.remove(gMessageQueue)
  end
  local m, f
  if timeout then
    m, f = HandleGetMessage(timeout)
  else
    m, f = HandleGetMessage()
  end
  if f then
    gYieldResult = f()
  else
    local command = table.remove(gCommandQueue)
    if command then gYieldResult = command() end
  end
  return m
end

function Yield()
  coroutine.yield()
end

function ReadFile(name)
  return dofile("assets/" .. name)
end

function CloseWindow(v)
  PostMessage(CreateCloseMessage())
  if v ~= nil then ModalReturn(v) end
end

function CustomCreator(t)
end

function GetString(key, a1, a2, a3, a4, a5)
  return _GetString(key, a1 or "", a2 or "", a3 or "", a4 or "", a5 or "")
end

function SetBitmap(name, image, layer)
  return _SetBitmap(name, image, layer or 1)
end

function PopModal(v)
  if v ~= nil then ModalReturn(v) end
  DoPopModal()
end

function SwapToModal(file)
  ClearModalChildren()
  ReadFile(file)
end

function DisplayDialog(t)
  local file = t and t[1]
  if file == nil or file == "" then
    DebugOut("DisplayDialog called with empty script; aborting")
    return nil
  end
  local name = PushModal(file)
  gDialogTable = t
  ReadFile(file)
  WaitForCloseMessage(name)
  local value = gReturnValue
  gReturnValue = nil
  return value
end

function SelectLayer(n)
  return function() DoSelectLayer(n) end
end

function Group(t)
  return function() MakeDialog(t) end
end

-- Waits `ms`, keeping the messages it sees for later; with anyKey a key press ends it early.
function Pause(ms, anyKey)
  local finish = GetTimer() + ms
  while true do
    local remaining = finish - GetTimer()
    if remaining <= 0 then return end
    local m = WaitForMessage(remaining, true)
    if m ~= nil then
      if anyKey and MessageType(m) == kPressAnyKey then return end
      table.insert(gMessageQueue, m)
    end
  end
end
