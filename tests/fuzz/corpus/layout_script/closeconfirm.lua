-- The close question: quit the game, or go back to it. The game runs this script in a
-- modal screen of its own on a close request; while the question is up, further close
-- requests open nothing. "Yes" quits; any other answer closes the screen again.
InQuitConfirm(true)
local answer = DisplayDialog{
  "scripts/yesnodialog.lua",
  title = GetString("ui.dialog.quit.title"),
  body = GetString("ui.dialog.quit.confirm"),
}
if answer == "yes" then
  QuitApplication()
else
  InQuitConfirm(false)
  PopModal()
end
