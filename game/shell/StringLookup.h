// The string table's texts for the game's screens.
#pragma once

#include "tvlib/core/TString.h"

// The string table's text of `label`, its "%1%" replaced by `argument`; empty without a
// string table.
TString LookUpString(const TString& label, const TString& argument = TString());
