// RIFF palette files ("RIFF", size, "PAL data", chunk size, version and count, then entries of
// red, green, blue, flags), read through the file layer.
//
// The entry count comes from the chunk size ((size - 4) / 4: the chunk holds the 4-byte
// version-and-count header, then the entries), capped at 256 and at the bytes the file holds.
#pragma once

#include <cstdint>
#include <vector>

class TFile;

struct TRiffColour {
  uint8_t red, green, blue;
};

// False when the file does not start with "RIFF" or its header is cut short; the colours read
// (possibly none) otherwise.
bool ReadRiffPalette(TFile& file, std::vector<TRiffColour>* out);
