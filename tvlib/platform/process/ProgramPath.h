// Where the running program lives, and the name that identifies one installation.
#pragma once

#include "tvlib/core/TString.h"

// The canonical absolute path of the running program file; empty when it cannot be read.
TString GetProgramPath();

// The name shared by every instance started from the same program file: the path
// lower-cased byte by byte, with every "\" and ":" removed. Paths that differ only in case
// give the same name.
TString MakeInstanceName(const TString& programPath);
