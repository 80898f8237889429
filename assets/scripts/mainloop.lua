-- The game's main script, run once at start. Its function becomes the window script's
-- coroutine: the title splash over the garden for a few seconds (a key or a click ends it
-- sooner; a close request quits at once while it is up), then the main menu. A portal build
-- ("-aol") leaves quitting to its portal, so its menu has no quit button; "-hidelogo 1"
-- hides the maker's name on the menu. When the menu closes, the game ends.
return function()
  InSplashScreen(true)
  local titleFont = { "fonts/monotype_corsiva.mvec", 56, Color(122, 58, 96) }
  local taglineFont = { "fonts/monotype_corsiva.mvec", 30, Color(96, 70, 84) }
  SetDefaultStyle{
    splashoverlay = {
      Text{
        name = "title", label = "windowtitle", x = kCenter, y = 58, w = 280, h = 72,
        font = titleFont, flags = kHAlignCenter + kVAlignCenter,
      },
      Text{
        name = "tagline", label = "splash.tagline", x = 40, y = kMax - 60, w = 720, h = 40,
        font = taglineFont, flags = kHAlignLeft + kVAlignCenter,
      },
    },
  }
  DisplaySplash("", "images/menu/menu_bg", 3000)
  SetDefaultStyle{}
  InSplashScreen(false)
  gPortalBuild = AOLBuild()
  local menu = PushModal("scripts/mainmenu.lua")
  ReadFile("scripts/mainmenu.lua")
  CheckTVLogo()
  WaitForCloseMessage(menu)
  QuitApplication()
end
