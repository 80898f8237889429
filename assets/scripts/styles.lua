-- The shared style of the game's screens: fonts, colours and button looks the screen scripts
-- build their own style tables over, and the characters the name edits refuse. Read by each
-- screen script before it builds its windows.

-- Characters a player name may not hold (typed ones are ignored).
kIllegalNameChars = "!@#$%^&*()><\\\"'[]{}|?/+=~`.,;:-"
-- Characters an online account name may not hold: as above, but "@", "$", "\", "+" and "."
-- are allowed there.
kIllegalAccountNameChars = "!#%^&*()><\"'[]{}|?/=~`,;:-"

-- Colours of the art direction.
kCocoa = Color(74, 52, 40)
kPlum = Color(122, 58, 96)
kCream = Color(255, 246, 233)
kRose = Color(217, 102, 122)
kNavy = Color(46, 74, 107)

kTitleFont = { "fonts/monotype_corsiva.mvec", 40, kPlum }
kHeadingFont = { "fonts/monotype_corsiva.mvec", 28, kPlum }
kLabelFont = { "fonts/arial.mvec", 18, kCocoa }
kNoteFont = { "fonts/arial.mvec", 16, kCocoa }
kRowFont = { "fonts/arial.mvec", 17, kCocoa }
kEditFont = { "fonts/arial.mvec", 18, kNavy }
kButtonFont = { "fonts/arial.mvec", 19, kCocoa }

-- Button looks: idle, pressed, hovered.
kMainButton = { "images/menu/button_idle", "images/menu/button_down", "images/menu/button_hover" }
kSecondButton = { "images/menu/button2_idle", "images/menu/button2_down", "images/menu/button2_hover" }
kArrowLeft = { "images/menu/arrow_left_idle", "images/menu/arrow_left_down",
               "images/menu/arrow_left_hover" }
kArrowRight = { "images/menu/arrow_right_idle", "images/menu/arrow_right_down",
                "images/menu/arrow_right_hover" }
kArrowUp = { "images/menu/arrow_up_idle", "images/menu/arrow_up_down", "images/menu/arrow_up_hover" }
kArrowDown = { "images/menu/arrow_down_idle", "images/menu/arrow_down_down",
               "images/menu/arrow_down_hover" }
-- A check box: unchecked, checked, hovered unchecked, hovered checked.
kCheckBox = { "images/menu/checkbox", "images/menu/checkbox_checked", "images/menu/checkbox_hover",
              "images/menu/checkbox_checked" }
kClickSound = "audio/sfx/click.ogg"
