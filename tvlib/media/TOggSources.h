// The two sources the Ogg Vorbis decoder reads from: a copy of the data in memory (freed
// when the decoder closes) and an open file of the engine (closed with the decoder). Both
// read fread-style (whole elements) and seek from the start, the current place or the end.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class TFile;

struct TOggMemoryFile {
  std::vector<uint8_t> data;
  size_t position = 0;
};

// Callbacks whose source is a heap TOggMemoryFile.
ov_callbacks OggMemoryCallbacks();
// Callbacks whose source is a TFile from FileOpen.
ov_callbacks OggFileCallbacks();
