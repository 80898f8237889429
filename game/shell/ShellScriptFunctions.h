// The game's own script functions, made global in the window script by the game main:
// GetRandomRange, LaunchPrivacyPolicy, PlayComicMusic, InSplashScreen, QuitApplication, InGame,
// InQuitConfirm, CheckTVLogo and AOLBuild (the profile service and the metrics recorder bind
// their own). They read and set the shell state (TShellState). UI thread only.
#pragma once

#include "tvlib/script/Api.h"

// The address of the maker's privacy policy, opened in the browser outside anonymous mode 1.
inline constexpr char kPrivacyPolicyAddress[] = "https://www.tarvolen.invalid/privacy";
inline constexpr char kPrivacyScript[] = "scripts/privacy.lua";

// Binds the functions in `L`, in their designed order.
void RegisterShellScriptFunctions(lua_State* L);

// low + (r mod (high - low + 1)) for r from the engine's generator; an empty or reversed
// range (high below low) answers low.
int GetRandomRange(int low, int high);
