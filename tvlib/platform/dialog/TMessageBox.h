// The user-facing ends of the display set-up: a message box the player must acknowledge, and
// ending the process when the display cannot be used at all.
//
// Players get an SDL2 message box (or a line on stderr when no display can show one). Tests
// install hooks that record the boxes and turn the process end into a recorded call, so the
// set-up's fatal ladders can be walked without a dialog or an exit. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

// Icon and button flags, as the set-up passes them; only the icon changes what is shown.
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbIconHand = 0x10;
inline constexpr uint32_t kMbIconExclamation = 0x30;

// Shows a modal box with an OK button and waits for it; a termination signal meanwhile ends the
// process.
void ShowMessageBox(const char* text, const char* caption, uint32_t flags);
// Exit status of a program that cannot start or go on (a "-wnd=" host that is no window, no
// window at all, a display that cannot be made): the designed -1 as a process status.
inline constexpr int kExitStartupFailed = 255;

// Ends the process with this status (after the hook, when a test installed one).
void EndProcess(int status);

using TMessageBoxHook = std::function<void(const char* text, const char* caption, uint32_t flags)>;
using TEndProcessHook = std::function<void(int status)>;
// The chosen backend's boxes (answering false when one could not be shown); without one, or
// when it fails, the text goes to standard error. Installed by the composition root.
using TMessageBoxService =
    std::function<bool(const char* text, const char* caption, uint32_t flags)>;
void SetMessageBoxService(TMessageBoxService service);
// Tests: boxes and process ends go to the hooks instead; empty functions bring back the real ones.
void SetMessageBoxHook(TMessageBoxHook hook);
void SetEndProcessHook(TEndProcessHook hook);
