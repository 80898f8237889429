// Page text: what the control makes of a text the page gives it before the text goes on to
// the game (as a switch of its command line).
//
// The page's text is Unicode (UTF-8 here). It is narrowed as the designed control narrows a
// page string: each UTF-16 unit gives its low byte, and a text of 1,048,576 units or more
// gives the empty text. Malformed UTF-8 bytes give nothing. Control characters (below 0x20,
// and 0x7F) are then dropped: a page may be untrusted, and its text becomes part of a command
// line.
#pragma once

#include <cstddef>
#include <string>

inline constexpr size_t kPageTextMaxUnits = 1048576;  // the first length that gives ""

std::string NarrowPageText(const char* utf8, size_t length);
