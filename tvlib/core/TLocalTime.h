// The local date and time as text, for records that carry the moment they were made.
#pragma once

#include "tvlib/core/TString.h"

// The current local time through strftime's `format` (C locale); empty when it does not fit
// in 63 characters.
TString FormatLocalTime(const char* format);
