// The optional test harness: a shared library "tvHarness.so" beside the program whose
// export `TestHook` runs before anything else at start-up. Tests use it to replace the
// command line and to watch the program from inside.
#pragma once

#include <cstdint>

#include "tvlib/core/TString.h"

// The harness's entry: receives the address of the command-line pointer, may point it at
// another text (which must outlive the program run), and answers a window handle to which
// the quit message is posted when the game's main function returns (0 for none).
extern "C" typedef uintptr_t (*TTestHookProc)(const char** commandLine);

inline constexpr char kHarnessLibrary[] = "tvHarness.so";
inline constexpr char kHarnessEntry[] = "TestHook";

// Loads programFolder/tvHarness.so and calls its TestHook. A missing library or export is
// not an error and answers 0. The library stays loaded for the life of the process.
uintptr_t LoadTestHarness(const TString& programFolder, const char** commandLine);
