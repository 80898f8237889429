// The credits file as the credits window's three columns of mark-up text.
//
// The file is plain text, one entry a line (a line break is "\n", a "\r" before it is dropped;
// a line longer than kMaxCreditsLine is taken in pieces of that length, each a line of its
// own; a line's text ends at a NUL). "Role|Name" is a credit: the role goes to the left
// column, the rest after the first "|" to the right one. Any other line is a heading for the
// full-width column. Each part loses its leading and trailing blanks and tabs; "[" and "]"
// become a font tag in the heading colour and its end. Every line adds one line to each
// column, so the three keep in step.
#pragma once

#include <cstddef>

#include "tvlib/core/TString.h"

inline constexpr size_t kMaxCreditsLine = 1023;

struct TCreditsColumns {
  TString left;
  TString right;
  TString headings;
};

// `headingColour`: the eight hexadecimal digits of the font tag's colour ("rrggbbaa").
TCreditsColumns ParseCredits(const char* data, size_t size, const TString& headingColour);

// The heading colour's text: each component times 255, cut to 0 to 255, as two lower-case
// hexadecimal digits, in the order given.
TString CreditsColourText(const float colour[4]);
