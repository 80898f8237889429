-- Stands for the next story level in the upgrade dialog's tests.
MakeDialog{ Window{ name = "nextlevel", x = 0, y = 0, w = 800, h = 600 } }
