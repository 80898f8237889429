-- The privacy text, shown inside the game when it may not open a web page (anonymous play).
-- The game runs this script in a modal screen of its own; the button closes it again.
DisplayDialog{
  "scripts/messagedialog.lua",
  title = GetString("ui.privacy.title"),
  body = GetString("ui.privacy.text"),
}
PopModal()
