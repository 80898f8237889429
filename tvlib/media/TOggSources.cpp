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
  auto* file = static_cast<TFile*>(source);
  if (size == 0 || count == 0) return 0;
  size_t wanted = std::min<size_t>(size * count, INT_MAX / size * size);
  int read = FileRead(file, out, int(wanted));
  if (read <= 0) return 0;
  // A trailing part of an element is given back for the next read.
  int partial = int(size_t(read) % size);
  if (partial) FileSeek(file, -partial, 0);
  return size_t(read) / size;
}

int SeekFile(void* source, ogg_int64_t offset, int whence) {
  // The file layer's whence: 0 from the current place, 1 from the start, 2 from the end.
  int from = whence == SEEK_CUR ? 0 : whence == SEEK_END ? 2 : 1;
  FileSeek(static_cast<TFile*>(source), int(std::clamp<ogg_int64_t>(offset, INT_MIN, INT_MAX)),
           from);
  return 0;
}

int CloseFile(void* source) {
  FileClose(static_cast<TFile*>(source));
  return 0;
}

long TellFile(void* source) {
  return FileTell(static_cast<TFile*>(source));
}

}  // namespace

ov_callbacks OggMemoryCallbacks() {
  return {ReadMemory, SeekMemory, CloseMemory, TellMemory};
}

ov_callbacks OggFileCallbacks() {
  return {ReadFile, SeekFile, CloseFile, TellFile};
}
