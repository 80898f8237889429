-- The hiscore submit dialog's form, built inside the "THiscoreSubmit" modal window that the
-- hiscore screen opens: the player's name and waiting score, the online account (name,
-- password, "remember"), the submit and cancel buttons, the connecting note and the error
-- text with its OK. The dialog shows and hides these and answers the buttons; the name
-- edits refuse the characters of the shared style.
ReadFile("scripts/styles.lua")

local centred = kHAlignCenter + kVAlignCenter
local rightLabel = kHAlignRight + kVAlignCenter

-- A text field: the box image with its edit inside.
local function EditBox(box, edit, x, y, length, ignore, password)
  return Bitmap{
    name = box, image = "backgrounds/textfield.png", x = x, y = y,
    TextEdit{
      name = edit, x = 6, y = 22, w = 228, h = 24, length = length, ignore = ignore,
      password = password, font = kEditFont, flags = kHAlignLeft + kVAlignCenter,
    },
  }
end

MakeDialog{
  Bitmap{
    name = "submitdialog", image = "backgrounds/helppage", x = 0, y = 0,
    Text{
      name = "header", label = "submitglobal", x = kCenter, y = 15, w = 300, h = 50,
      font = kHeadingFont, flags = centred,
    },
    Text{
      name = "playertext", label = "playerlabel", x = 170, y = 85, w = 150, h = 24,
      font = kLabelFont, flags = rightLabel,
    },
    Text{
      name = "yourscore", label = "scorelabel", x = 170, y = 132, w = 150, h = 24,
      font = kLabelFont, flags = rightLabel,
    },
    Text{
      name = "eligiblescore", label = "#0", x = 330, y = 132, w = 100, h = 24,
      font = kLabelFont, flags = kHAlignLeft + kVAlignCenter,
    },
    Text{
      name = "yourtvaccount", label = "yourtvaccount", x = 200, y = 210, w = 250, h = 24,
      font = { "fonts/arial.mvec", 20, kPlum }, flags = centred,
    },
    Text{
      name = "nametext", label = "namelabel", x = 170, y = 250, w = 145, h = 24,
      font = kLabelFont, flags = rightLabel,
    },
    Text{
      name = "passtext", label = "passwordlabel", x = 170, y = 300, w = 145, h = 24,
      font = kLabelFont, flags = rightLabel,
    },
    EditBox("nameeditbox", "nameedit", 325, 70, 12, kIllegalNameChars, false),
    EditBox("accounteditbox", "accountedit", 325, 235, 26, kIllegalAccountNameChars, false),
    EditBox("passeditbox", "passedit", 325, 285, 26, "", true),
    Button{
      name = "remember", type = kToggle, label = "remembertvaccount", x = 220, y = 345,
      graphics = kCheckBox, scale = 1.4, sound = kClickSound,
      tx = 47, ty = 11, tw = 330, th = 20, font = kLabelFont, flags = kHAlignLeft + kVAlignCenter,
    },
    Text{
      name = "privacy", label = "submit_button_privacy_tv", x = 200, y = 490, w = 500, h = 60,
      font = kNoteFont, flags = kHAlignLeft + kVAlignTop,
    },
    Button{
      name = "submittoserver", label = "submit", x = 250, y = 435, graphics = kSecondButton,
      font = kButtonFont, default = true,
    },
    Button{
      name = "submitcancel", label = "cancel", x = 425, y = 435, graphics = kSecondButton,
      font = kButtonFont,
    },
    Text{
      name = "submitconnect", label = "connectingtoserver", x = kCenter, y = 0, w = 300, h = 580,
      font = kLabelFont, flags = centred,
    },
    Text{
      name = "submiterror", label = "", x = kCenter, y = 0, w = 300, h = 580,
      font = { "fonts/arial.mvec", 18, kRose }, flags = centred,
    },
    Button{
      name = "submiterrorok", label = "ok", x = 320, y = 435, graphics = kSecondButton,
      font = kButtonFont, default = true,
    },
    Button{
      name = "privacypolicy", x = 0, y = 0, w = 0, h = 0,
      command = function() LaunchPrivacyPolicy() end,
    },
  },
}
UpdateWindow()
