// What text blocks need from the program they run in: the shared font cache, the vector
// rasteriser and the display scale of an embedded game.
//
// Declared here and implemented by the composition root (the platform object), which
// installs itself while it exists; tests install their own. Without services a block lays
// out with no fonts and draws nothing. UI thread only.
#pragma once

#include "tvlib/ui/TFontCache.h"

class TTvMiniVecDraw;

class TTextServices {
 public:
  virtual ~TTextServices() = default;
  virtual TFontCache* GetFontCache() = 0;
  // Null until the display is set up.
  virtual TTvMiniVecDraw* GetTextRasteriser() = 0;
  // Writes the display scale; answers whether the game runs embedded in a host window.
  virtual bool GetDisplayScale(float* scale) const = 0;
};

void SetTextServices(TTextServices* services);
TTextServices* GetTextServices();
