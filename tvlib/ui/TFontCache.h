// The vector fonts of the text layer by font name, shared with the text runs that use them.
//
// First cut: the map and its clearing at shutdown; the text layer fills it on first use of
// each font.
#pragma once

#include <map>
#include <memory>

#include "tvlib/core/TString.h"

class TVecFont;

using TFontCache = std::map<TString, std::shared_ptr<TVecFont>>;

// Drops every cached font (a font still held by a text run lives until that run lets it go)
// and empties the map.
void ClearFontCache(TFontCache* cache);
