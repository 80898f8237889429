// Reading, seeking and closing for the decoder's two sources.
#include "tvlib/media/TOggSources.h"

#include <algorithm>
#include <climits>
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

TOggLayout ScanOggPages(const TOggRead& read) {
  constexpr size_t kPiece = 64 << 10;
  TOggLayout layout;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
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
      if (ogg_page_bos(&page)) ++layout.streams;
    }
  }
  ogg_sync_clear(&sync);
  return layout;
}

bool IsUsableOggLayout(const TOggLayout& layout) {
  return layout.streams >= 1 && layout.streams <= kMaxOggStreams;
}

ov_callbacks OggMemoryCallbacks() {
  return {ReadMemory, SeekMemory, CloseMemory, TellMemory};
}

ov_callbacks OggFileCallbacks() {
  return {ReadFile, SeekFile, CloseFile, TellFile};
}
