// Makes Ogg Vorbis data of an exact length for tests and benchmarks (libvorbisenc): `frames`
// frames at `rate` Hz, each channel's sample from `sample(frame, channel)` in [-1, 1].
// The last page's granule position is the frame count, so decoders give exactly `frames`.
#pragma once

#include <vorbis/vorbisenc.h>

#include <cstdint>
#include <functional>
#include <string>

inline std::string EncodeOgg(int rate, int channels, long frames,
                             const std::function<float(long, int)>& sample, float quality = 0.4f) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return {};
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  std::string out;
  ogg_page page;
  auto writePage = [&out](const ogg_page& p) {
    out.append(reinterpret_cast<const char*>(p.header), size_t(p.header_len));
    out.append(reinterpret_cast<const char*>(p.body), size_t(p.body_len));
  };
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  while (ogg_stream_flush(&stream, &page)) writePage(page);
  long done = 0;
  bool ended = false;
  while (!ended) {
    const long chunk = std::min<long>(4096, frames - done);
    if (chunk > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, int(chunk));
      for (long i = 0; i < chunk; ++i)
        for (int c = 0; c < channels; ++c) buffer[c][i] = sample(done + i, c);
      vorbis_analysis_wrote(&dsp, int(chunk));
      done += chunk;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) {
          writePage(page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (chunk <= 0 && !ended) {
      while (ogg_stream_flush(&stream, &page)) writePage(page);
      ended = true;
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}
