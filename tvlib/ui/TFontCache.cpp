// Clearing the font cache.
#include "tvlib/ui/TFontCache.h"

#include "tvlib/render/TVecFont.h"

void ClearFontCache(TFontCache* cache) {
  cache->clear();
}
