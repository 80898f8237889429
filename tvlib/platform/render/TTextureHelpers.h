// The texture helpers the display code takes from the device's utility library: creating a
// texture surface (with a full mip chain unless asked not to) and loading ARGB pixels from memory
// into it.
//
// Needs: TDisplay (surfaces count against its video memory). Limits: formats A8R8G8B8, X8R8G8B8,
// R5G6B5, X1R5G5B5, A1R5G5B5 and A4R4G4B4; sides 1..2048 (the device's maximum texture size).
#pragma once

#include <cstdint>

#include "tvlib/platform/render/SdDefs.h"
#include "tvlib/platform/render/TDisplay.h"
#include "tvlib/platform/render/TSurface.h"

namespace sd {

// The pixel format of a kSf* format id; false for an id the device does not offer.
bool TexFormatToPixelFormat(uint32_t format, TPixelFormat* out);

// Creates a width x height texture of `format` (kSf*). flags kTexNoMipMap gives one level;
// otherwise levels halve down to 1 x 1. Width, height and format are written back as made.
// kErrInvalidArg for a size outside 1..2048 or an unknown format; kErrOutOfVideoMemory when the
// budget is exhausted.
HR CreateTexture(TDisplay& display, uint32_t flags, int32_t* width, int32_t* height,
                 uint32_t* format, TSurfacePtr* out);

// Writes ARGB pixels (rows pitchBytes apart; 0 means width * 4) into dstRect of mip level `level`
// (dstRect null: the whole level), converting to the texture's format. level -1 writes level 0 and
// rebuilds every smaller level from it by averaging 2 x 2 blocks (both filters: the levels halve
// exactly, and a box is what a linear filter gives there). kErrInvalidRect for a rectangle
// outside the level, kErrSurfaceLost for a lost texture.
HR LoadTextureFromMemory(TSurface* texture, int32_t level, const uint32_t* pixels,
                         int32_t pitchBytes, const TRect* dstRect, uint32_t filter);

}  // namespace sd
