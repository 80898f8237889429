// RIFF palette files ("RIFF", size, "PAL data", chunk size, version and count, then entries of
// red, green, blue, flags), read through the file layer.
//
// The entry count comes from the chunk size ((size - 4) / 4: the chunk holds the 4-byte
// version-and-count header, then the entries), capped at 256 and at the bytes the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TFile;

struct TRiffColour {
  uint8_t red, green, blue;
};

// False when the bytes do not start with "RIFF" or the header is cut short; the colours the
// bytes hold (possibly none) otherwise.
bool ParseRiffPalette(const uint8_t* bytes, size_t length, std::vector<TRiffColour>* out);
// The same over a file, from its current position.
bool ReadRiffPalette(TFile& file, std::vector<TRiffColour>* out);
