// The window types the game adds to the window script, so that layout scripts build its
// level and screens by name ("GameWindow{ ... }").
#pragma once

class TWindowManager;

// Registers every window type of the game with its class's factory, in the designed order:
// "GameWindow", "MainMenu", "OptionsWindow", "Slider", "HiscoreWindow",
// "ChoosePlayerWindow", "CreditsWindow", "EnterNameWindow", "UpgradeDialog", "MetaMap",
// "PauseMenu", "SelectionDialog". Nothing without a window script.
void RegisterGameWindowTypes(TWindowManager& manager);
