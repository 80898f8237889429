// The messages the end-of-level dialog's buttons send to the level: type 55, named by the
// button's label key, with the button as the message's window.
#pragma once

inline constexpr int kMessageImageButton = 55;

inline constexpr char kMessageContinue[] = "continue";
inline constexpr char kMessageLetsPlan[] = "lets_plan_festra";
inline constexpr char kMessageRestart[] = "ui.dialog.restartlevel.title";
inline constexpr char kMessageMainMenu[] = "ui.dialog.metamap.title";
