// Reading, seeking and closing for the decoder's two sources.
#include "tvlib/media/TOggSources.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "tvlib/core/TFile.h"

namespace {

size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
  auto* file = static_cast<TOggMemoryFile*>(source);
  if (size == 0 || count == 0) return 0;
  size_t left = file->data.size() - file->position;
  size_t elements = std::min(count, left / size);
  size_t bytes = elements * size;
  if (bytes == 0) return 0;  // also for empty data, which may have no bytes at all
  std::memcpy(out, file->data.data() + file->position, bytes);
  file->position += bytes;
  return elements;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* file = static_cast<TOggMemoryFile*>(source);
  const auto size = static_cast<ogg_int64_t>(file->data.size());
  ogg_int64_t base;
  switch (whence) {
    case SEEK_SET:
      base = 0;
      break;
    case SEEK_CUR:
      base = static_cast<ogg_int64_t>(file->position);
      break;
    case SEEK_END:
      base = size;
      break;
    default:
      return -1;
  }
  // Offsets far out of range clamp without overflowing.
  offset = std::clamp<ogg_int64_t>(offset, -size - 1, size + 1);
  file->position = size_t(std::clamp<ogg_int64_t>(base + offset, 0, size));
  return 0;
}

int CloseMemory(void* source) {
  delete static_cast<TOggMemoryFile*>(source);
  return 0;
}

long TellMemory(void* source) {
  return long(static_cast<TOggMemoryFile*>(source)->position);
}

size_t ReadFile(void* out, size_t size, size_t count, void* source) {
  auto* ogg = static_cast<TOggFileSource*>(source);
  TFile* file = ogg->file;
  if (size == 0 || count == 0) return 0;
  const int64_t left = std::max<int64_t>(ogg->end - FileTell(file), 0);
  size_t wanted = std::min<size_t>(size * count, INT_MAX / size * size);
  wanted = std::min<size_t>(wanted, size_t(left) / size * size);
  if (wanted == 0) return 0;
  int read = FileRead(file, out, int(wanted));
  if (read <= 0) return 0;
  // A trailing part of an element is given back for the next read.
  int partial = int(size_t(read) % size);
  if (partial) FileSeek(file, -partial, 0);
  return size_t(read) / size;
}

int SeekFile(void* source, ogg_int64_t offset, int whence) {
  auto* ogg = static_cast<TOggFileSource*>(source);
  // The end is that of the last page; the file layer seeks from the start.
  ogg_int64_t base = whence == SEEK_CUR ? FileTell(ogg->file) : whence == SEEK_END ? ogg->end : 0;
  offset = std::clamp<ogg_int64_t>(offset, -ogg->end - 1, ogg->end + 1);
  FileSeek(ogg->file, int(std::clamp<ogg_int64_t>(base + offset, 0, ogg->end)), 1);
  return 0;
}

int CloseFile(void* source) {
  auto* ogg = static_cast<TOggFileSource*>(source);
  FileClose(ogg->file);
  delete ogg;
  return 0;
}

long TellFile(void* source) {
  return FileTell(static_cast<TOggFileSource*>(source)->file);
}

}  // namespace

namespace {

// Reads the packets' bits the way Vorbis packs them: least significant bit first.
class TBitReader {
 public:
  TBitReader(const uint8_t* bytes, size_t size) : mBytes(bytes), mBits(uint64_t(size) * 8) {}
  // Up to 32 bits; false once the packet is used up.
  bool Read(int count, uint32_t* value) {
    if (mAt + uint64_t(count) > mBits) return false;
    *value = 0;
    for (int i = 0; i < count; ++i, ++mAt)
      *value |= uint32_t(mBytes[mAt >> 3] >> (mAt & 7) & 1) << i;
    return true;
  }
  bool Skip(uint64_t count) {
    if (count > mBits - mAt) return false;
    mAt += count;
    return true;
  }

 private:
  const uint8_t* mBytes;
  uint64_t mBits;
  uint64_t mAt = 0;
};

int BitsFor(uint32_t value) {
  int bits = 0;
  for (; value; value >>= 1) ++bits;
  return bits;
}

// The largest r with r to the power `dimensions` at most `entries`.
uint64_t LatticeValues(uint32_t entries, uint32_t dimensions) {
  uint64_t r = uint64_t(std::floor(std::pow(double(entries), 1.0 / dimensions)));
  auto fits = [&](uint64_t v) {
    uint64_t power = 1;
    for (uint32_t d = 0; d < dimensions && power <= entries; ++d) power *= v;
    return power <= entries;
  };
  while (r > 0 && !fits(r)) --r;
  while (fits(r + 1)) ++r;
  return r;
}

enum class TBook { kPlayable, kUnplayable, kUnreadable };

// Reads one codebook of a setup header, summing 2^(32 - length) over its entries' code lengths
// (a complete prefix code sums to exactly 2^32). Unplayable: no dimensions (the decoder divides by
// them), or code lengths that are not a complete prefix code (the decoder rejects the book
// but may go on decoding with it cleared, and divides by its dimensions again).
TBook ReadCodebook(TBitReader* bits) {
  uint32_t sync, dimensions, entries, flag, value;
  if (!bits->Read(24, &sync) || sync != 0x564342 || !bits->Read(16, &dimensions) ||
      !bits->Read(24, &entries) || !bits->Read(1, &flag))
    return TBook::kUnreadable;
  if (dimensions == 0) return TBook::kUnplayable;
  uint64_t sum = 0;
  uint32_t used = 0;
  if (flag) {  // ordered lengths: runs of entries of one length each
    uint32_t length;
    if (!bits->Read(5, &length)) return TBook::kUnreadable;
    for (uint32_t entry = 0; entry < entries; ++length) {
      if (!bits->Read(BitsFor(entries - entry), &value) || value > entries - entry)
        return TBook::kUnreadable;
      if (length + 1 > 32) {
        if (value > 0) return TBook::kUnplayable;  // no code is that long
      } else {
        // value is below 2^24 and each share at most 2^31: the sum stays far inside 64 bits.
        sum += uint64_t(value) << (31 - length);
      }
      used += value;
      entry += value;
    }
  } else {
    uint32_t sparse;
    if (!bits->Read(1, &sparse)) return TBook::kUnreadable;
    for (uint32_t entry = 0; entry < entries; ++entry) {
      if (sparse && !bits->Read(1, &flag)) return TBook::kUnreadable;
      if (sparse && !flag) continue;
      if (!bits->Read(5, &value)) return TBook::kUnreadable;
      sum += uint64_t(1) << (31 - value);  // the length is value + 1, from 1 to 32
      ++used;
    }
  }
  uint32_t lookup;
  if (!bits->Read(4, &lookup) || lookup > 2) return TBook::kUnreadable;
  if (lookup != 0) {
    uint32_t valueBits, sequence;
    if (!bits->Skip(64) || !bits->Read(4, &valueBits) || !bits->Read(1, &sequence))
      return TBook::kUnreadable;
    const uint64_t values =
        lookup == 1 ? LatticeValues(entries, dimensions) : uint64_t(entries) * dimensions;
    if (values > (uint64_t(1) << 40) || !bits->Skip(values * (valueBits + 1)))
      return TBook::kUnreadable;
  }
  // A book of one entry is the one incomplete code the decoder takes.
  return used <= 1 || sum == (uint64_t(1) << 32) ? TBook::kPlayable : TBook::kUnplayable;
}

}  // namespace

bool IsPlayableVorbisSetup(const uint8_t* packet, size_t size) {
  static const uint8_t kSetup[] = {5, 'v', 'o', 'r', 'b', 'i', 's'};
  if (size < sizeof kSetup || std::memcmp(packet, kSetup, sizeof kSetup) != 0) return true;
  TBitReader bits(packet + sizeof kSetup, size - sizeof kSetup);
  uint32_t books;
  if (!bits.Read(8, &books)) return true;
  for (uint32_t book = 0; book <= books; ++book) {
    switch (ReadCodebook(&bits)) {
      case TBook::kPlayable:
        break;
      case TBook::kUnplayable:
        return false;
      case TBook::kUnreadable:
        return true;  // the decoder refuses it in its own way
    }
  }
  return true;
}

TOggLayout ScanOggPages(const TOggRead& read) {
  constexpr size_t kPiece = 64 << 10;
  TOggLayout layout;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  // The logical stream whose headers are being read: its third packet is the setup header.
  ogg_stream_state headers;
  bool readingHeaders = false;
  int packets = 0;
  int64_t offset = 0;  // of the first byte the sync state has not yet taken or skipped
  for (bool more = true; more && layout.streams <= kMaxOggStreams;) {
    char* buffer = ogg_sync_buffer(&sync, long(kPiece));
    const size_t got = buffer ? read(reinterpret_cast<uint8_t*>(buffer), kPiece) : 0;
    more = got > 0;
    if (more) ogg_sync_wrote(&sync, long(got));
    ogg_page page;
    for (long n; layout.streams <= kMaxOggStreams && (n = ogg_sync_pageseek(&sync, &page)) != 0;) {
      offset += n > 0 ? n : -n;  // a whole page, or bytes skipped before one
      if (n < 0) continue;
      layout.end = offset;
      if (ogg_page_bos(&page)) {
        ++layout.streams;
        if (readingHeaders) ogg_stream_clear(&headers);
        readingHeaders = ogg_stream_init(&headers, ogg_page_serialno(&page)) == 0;
        packets = 0;
      }
      if (!readingHeaders || ogg_stream_pagein(&headers, &page) != 0) continue;
      ogg_packet packet;
      while (readingHeaders && ogg_stream_packetout(&headers, &packet) == 1) {
        if (++packets < 3) continue;
        layout.playable =
            layout.playable && IsPlayableVorbisSetup(packet.packet, size_t(packet.bytes));
        ogg_stream_clear(&headers);
        readingHeaders = false;
      }
    }
  }
  if (readingHeaders) ogg_stream_clear(&headers);
  ogg_sync_clear(&sync);
  return layout;
}

bool IsUsableOggLayout(const TOggLayout& layout) {
  return layout.streams >= 1 && layout.streams <= kMaxOggStreams && layout.playable;
}

ov_callbacks OggMemoryCallbacks() {
  return {ReadMemory, SeekMemory, CloseMemory, TellMemory};
}

ov_callbacks OggFileCallbacks() {
  return {ReadFile, SeekFile, CloseFile, TellFile};
}
