// The two sources the Ogg Vorbis decoder reads from: a copy of the data in memory (freed
// when the decoder closes) and an open file of the engine (closed with the decoder). Both
// read fread-style (whole elements) and seek from the start, the current place or the end.
//
// Before the decoder sees a source, one pass over its pages (ScanOggPages) counts the logical
// streams and finds where the last whole page ends: a source of more streams than a sound has
// any use for is refused (each chained stream costs the decoder its own set-up, and thousands
// of them would cost seconds and gigabytes), and whatever follows the last page is cut off, so
// that junk behind the data never sends the decoder searching through it. The same pass reads
// the codebooks of each stream's setup header: the system's decoder divides by a codebook's
// dimensions, and decodes on with a book it rejected cleared to none, so a stream with a
// codebook of no dimensions or of code lengths that are no complete prefix code is refused
// before it can end the program.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class TFile;

// Logical streams (chained or multiplexed) a sound may hold.
inline constexpr int kMaxOggStreams = 16;

struct TOggMemoryFile {
  std::vector<uint8_t> data;
  size_t position = 0;
};

// A file of the engine read up to `end`, the end of its last page.
struct TOggFileSource {
  TFile* file = nullptr;  // owned
  int64_t end = 0;
};

struct TOggLayout {
  int streams = 0;       // pages that begin a logical stream, counted up to kMaxOggStreams + 1
  int64_t end = 0;       // where the last whole page ends
  bool playable = true;  // no stream's setup header has a codebook the decoder cannot take
};

// Reads up to `size` bytes of the source into `out`; the count read, 0 at the end.
using TOggRead = std::function<size_t(uint8_t* out, size_t size)>;
// One pass over the source's pages; stops counting once there are too many streams.
TOggLayout ScanOggPages(const TOggRead& read);
// Whether every codebook of a Vorbis setup header (the third header packet) has dimensions and
// a complete prefix code; a header it cannot read to the end is left to the decoder to judge.
bool IsPlayableVorbisSetup(const uint8_t* packet, size_t size);
// The layout a sound may be opened with: at least one stream, at most kMaxOggStreams, and
// every setup header playable.
bool IsUsableOggLayout(const TOggLayout& layout);

// Callbacks whose source is a heap TOggMemoryFile.
ov_callbacks OggMemoryCallbacks();
// Callbacks whose source is a heap TOggFileSource (its file from FileOpen).
ov_callbacks OggFileCallbacks();
