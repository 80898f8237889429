// The vector fonts of the text layer by font name, loaded once each and shared with the text
// runs that use them.
//
// A name is looked up in the map first (a failure is remembered too, as null). Otherwise
// "__DEFAULT" is the built-in font and any other name a font file, else "fonts/default.mvec",
// else the built-in font (TVecFontSource.h); the font found is kept under the name asked for.
// The map lives in the platform's data block and is emptied at shutdown.
#pragma once

#include <map>
#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/render/TVecFontSource.h"

class TVecFont;

using TFontCache = std::map<TString, std::shared_ptr<TVecFont>>;

// The font for a name, loaded at its first request through readFile; null when nothing
// could be built (logged once: "Font not found: %s").
std::shared_ptr<TVecFont> GetVecFont(TFontCache* cache, const TString& name,
                                     const TFontFileReader& readFile = ReadFontFile);

// Drops every cached font (a font still held by a text run lives until that run lets it go)
// and empties the map.
void ClearFontCache(TFontCache* cache);
