-- The game's main script, run once at start. Its function becomes the window script's
-- coroutine: the title splash (a close request quits at once while it is up), then the
-- game's first screen. When that screen closes, the game ends.
return function()
  InSplashScreen(true)
  DoModal("scripts/splash.lua")
  InSplashScreen(false)
  DoModal("scripts/loading.lua")
  QuitApplication()
end
