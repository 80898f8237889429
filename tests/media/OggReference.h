// What libvorbisfile itself decodes from Ogg bytes: the reference the engine's playback is
// compared with.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

inline std::vector<int16_t> DecodeReference(const std::string& ogg) {
  struct Source {
    const std::string* bytes;
    size_t at;
  } source{&ogg, 0};
  ov_callbacks callbacks{[](void* out, size_t size, size_t count, void* s) -> size_t {
                           auto* src = static_cast<Source*>(s);
                           size_t n = std::min(size * count, src->bytes->size() - src->at);
                           std::memcpy(out, src->bytes->data() + src->at, n);
                           src->at += n;
                           return size ? n / size : 0;
                         },
                         nullptr, nullptr, nullptr};
  OggVorbis_File file;
  std::vector<int16_t> samples;
  if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0) return samples;
  char buffer[8192];
  int section = 0;
  long n;
  while ((n = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
    size_t old = samples.size();
    samples.resize(old + size_t(n) / 2);
    std::memcpy(samples.data() + old, buffer, size_t(n));
  }
  ov_clear(&file);
  return samples;
}
