// Where vector fonts come from: the built-in font compiled into the program, or a font file
// found by name with the fallbacks a player expects: the name "__DEFAULT" is the built-in
// font; any other name is read as a file, else "fonts/default.mvec", else the built-in font.
//
// Files are read through the engine's file layer (virtual names, packages); a test or tool
// may pass another reader.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/render/TVecFont.h"

// Reads a whole file into bytes; false when it cannot be opened or read.
using TFontFileReader = std::function<bool(const TString& name, std::vector<uint8_t>& bytes)>;

// Reads a font file through the file layer (fonts are at most 16 MB).
bool ReadFontFile(const TString& name, std::vector<uint8_t>& bytes);

// The built-in font's image (a sans face; the same bytes as "fonts/arial.mvec").
std::span<const uint8_t> GetBuiltinFontImage();
// A font of its own copy of the built-in image.
std::unique_ptr<TVecFont> LoadBuiltinVecFont();
// The font for a name through the chain above; never null.
std::unique_ptr<TVecFont> LoadVecFontByName(const TString& name,
                                            const TFontFileReader& readFile = ReadFontFile);
