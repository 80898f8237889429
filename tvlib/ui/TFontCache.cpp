// The font cache: loading a font at its first request and clearing the cache.
#include "tvlib/ui/TFontCache.h"

#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TVecFont.h"

std::shared_ptr<TVecFont> GetVecFont(TFontCache* cache, const TString& name,
                                     const TFontFileReader& readFile) {
  if (auto found = cache->find(name); found != cache->end()) return found->second;
  std::shared_ptr<TVecFont> font = LoadVecFontByName(name, readFile);
  if (font && font->GetGlyphCount() == 0) font.reset();
  if (!font) DebugLog("Font not found: %s", name.c_str());
  cache->emplace(name, font);
  return font;
}

void ClearFontCache(TFontCache* cache) {
  cache->clear();
}
