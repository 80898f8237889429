// JPEG decoding through libjpeg: a source manager over any byte source that ends a cut-short
// file with an end-of-image marker, and an error manager that returns instead of exiting.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/render/TImageLoader.h"

namespace {

constexpr int kReadBlock = 4096;
constexpr long kMemoryLimit = 16L << 20;
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

struct TJpegSource {
  jpeg_source_mgr manager;
  const TByteSource* source;
  JOCTET buffer[kReadBlock];
  bool startOfFile;
};

struct TJpegError {
  jpeg_error_mgr manager;
  jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  info->err->format_message(info, message);
  DebugLog("JPEG: %s", message);
  longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}

void InitSource(j_decompress_ptr info) {
  reinterpret_cast<TJpegSource*>(info->src)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr info) {
  auto* src = reinterpret_cast<TJpegSource*>(info->src);
  int got = (*src->source)(src->buffer, kReadBlock);
  if (got <= 0) {
    if (src->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    src->manager.next_input_byte = kEndOfImage;
    src->manager.bytes_in_buffer = 2;
    return TRUE;
  }
  src->manager.next_input_byte = src->buffer;
  src->manager.bytes_in_buffer = static_cast<size_t>(got);
  src->startOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  auto* src = reinterpret_cast<TJpegSource*>(info->src);
  if (count <= 0) return;
  while (count > static_cast<long>(src->manager.bytes_in_buffer)) {
    count -= static_cast<long>(src->manager.bytes_in_buffer);
    FillInputBuffer(info);
  }
  src->manager.next_input_byte += count;
  src->manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void InstallSource(j_decompress_ptr info, const TByteSource* source) {
  auto* src = static_cast<TJpegSource*>((*info->mem->alloc_small)(
      reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(TJpegSource)));
  src->manager.init_source = InitSource;
  src->manager.fill_input_buffer = FillInputBuffer;
  src->manager.skip_input_data = SkipInputData;
  src->manager.resync_to_restart = jpeg_resync_to_restart;
  src->manager.term_source = TermSource;
  src->manager.bytes_in_buffer = 0;
  src->manager.next_input_byte = nullptr;
  src->source = source;
  src->startOfFile = true;
  info->src = &src->manager;
}

// The decode proper; a libjpeg error jumps back here and answers false.
bool Decode(jpeg_decompress_struct* info, TJpegError* error, const TByteSource* source,
            TDecodedImage* out) {
  if (setjmp(error->jump)) return false;
  jpeg_create_decompress(info);
  info->mem->max_memory_to_use = kMemoryLimit;
  InstallSource(info, source);
  jpeg_read_header(info, TRUE);
  // Blue, green, red, then an opaque fourth byte: the texture's own layout.
  info->out_color_space = JCS_EXT_BGRA;
  int width = static_cast<int>(info->image_width);
  int height = static_cast<int>(info->image_height);
  int side = 1;
  while (side < width || side < height) side *= 2;
  if (side > MaxImageSide()) {
    DebugLog("JPEG: image larger than the largest texture");
    return false;
  }
  jpeg_start_decompress(info);
  if (info->output_components != 4 || static_cast<int>(info->output_width) > side) return false;
  size_t rowBytes = static_cast<size_t>(side) * 4;
  out->pixels.assign(rowBytes * static_cast<size_t>(side), 0);
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = out->pixels.data() + info->output_scanline * rowBytes;
    jpeg_read_scanlines(info, &row, 1);
  }
  jpeg_finish_decompress(info);
  out->width = width;
  out->height = height;
  out->side = side;
  return true;
}

}  // namespace

bool DecodeJpeg(const TByteSource& source, TDecodedImage* out) {
  *out = TDecodedImage{};
  jpeg_decompress_struct info{};
  TJpegError error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = ErrorExit;
  error.manager.output_message = OutputMessage;
  bool ok = Decode(&info, &error, &source, out);
  jpeg_destroy_decompress(&info);
  if (!ok) *out = TDecodedImage{};
  return ok;
}

bool LoadJpeg(const TString& name, TDecodedImage* out) {
  TFile file;
  if (!file.Open(name, kFileReadBinary)) return false;
  TByteSource source = [&file](void* buffer, int count) { return file.Read(buffer, count); };
  bool ok = DecodeJpeg(source, out);
  if (!ok) DebugLog("LoadJpeg: failed to load %s", name.c_str());
  return ok;
}
