// tvlua's options that bound a script nobody vouches for (TScriptLimits.h): at most so many
// instructions in all and at most so many bytes of memory in use at once.
#pragma once

#include "tvlib/script/TScriptLimits.h"

// Reads "--instructions=N" or "--memory=BYTES" (decimal, above 0) into `budget`; false when the
// argument is neither or its value is no such number.
bool ParseScriptLimit(const char* argument, TScriptBudget* budget);
