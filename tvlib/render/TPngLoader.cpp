// PNG decoding through libpng, with the transforms the textures expect.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/platform/render/TDevice3d.h"
#include "tvlib/render/TImageLoader.h"
#include "tvlib/render/TRiffPalette.h"

namespace {

constexpr int kSignatureBytes = 8;
constexpr double kScreenGamma = 2.2;
// No chunk but the image data may take more than this much memory to read; the image data is
// bounded by the image's own size instead.
constexpr png_alloc_size_t kMaxChunkBytes = 4u << 20;
// Chunks the textures never use: skipped unread, so a length they claim costs nothing.
constexpr png_byte kSkippedChunks[] = {'t', 'E', 'X', 't', 0, 'z', 'T', 'X', 't', 0,
                                       'i', 'T', 'X', 't', 0, 's', 'P', 'L', 'T', 0,
                                       'p', 'C', 'A', 'L', 0, 's', 'C', 'A', 'L', 0};
// Warnings logged for one file; the rest are dropped.
constexpr int kWarningsLogged = 4;

// Everything the decode allocates, kept outside the jump frame so an error can free it.
struct TPngState {
  const TByteSource* source = nullptr;
  png_bytep* rows = nullptr;
  int warnings = 0;
};

void PngError(png_structp png, png_const_charp message) {
  DebugLog("PNG: %s", message);
  png_longjmp(png, 1);
}

void PngWarning(png_structp png, png_const_charp message) {
  auto* state = static_cast<TPngState*>(png_get_error_ptr(png));
  if (state && ++state->warnings <= kWarningsLogged) DebugLog("PNG warning: %s", message);
}

void PngRead(png_structp png, png_bytep data, size_t length) {
  auto* state = static_cast<TPngState*>(png_get_io_ptr(png));
  int got = (*state->source)(data, static_cast<int>(length));
  if (got != static_cast<int>(length)) png_error(png, "Read Error");
}

int SideFor(int width, int height) {
  int side = 1;
  while (side < width || side < height) side *= 2;
  return side;
}

// The decode proper; on any libpng error it jumps back here and answers false.
bool Decode(png_structp png, png_infop info, TPngState* state, bool palettised,
            const std::vector<uint32_t>* colours, TDecodedImage* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, state, PngRead);
  png_set_sig_bytes(png, kSignatureBytes);
  png_set_user_limits(png, static_cast<png_uint_32>(MaxImageSide()),
                      static_cast<png_uint_32>(MaxImageSide()));
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks,
                              static_cast<int>(sizeof kSkippedChunks / 5));
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
  bool isPalette = colourType == PNG_COLOR_TYPE_PALETTE;
  // Palettised mode keeps one index byte a pixel: only palette images fit its rows.
  if (palettised && !isPalette) {
    DebugLog("PNG: palettised mode needs a palette image");
    return false;
  }

  png_colorp plte = nullptr;
  int plteCount = 0;
  bool transparent = false;
  if (isPalette && png_get_PLTE(png, info, &plte, &plteCount) && plteCount > 0) {
    out->palette.assign(256, 0);
    png_bytep trans = nullptr;
    int transCount = 0;
    png_get_tRNS(png, info, &trans, &transCount, nullptr);
    for (int i = 0; i < plteCount && i < 256; ++i) {
      png_color c = plte[i];
      if (colours && i < static_cast<int>(colours->size())) {
        uint32_t rgb = (*colours)[static_cast<size_t>(i)];
        c.red = static_cast<png_byte>(rgb >> 16);
        c.green = static_cast<png_byte>(rgb >> 8);
        c.blue = static_cast<png_byte>(rgb);
      }
      uint32_t alpha = (trans && i < transCount) ? trans[i] : 255;
      if (alpha != 255) transparent = true;
      out->palette[static_cast<size_t>(i)] =
          (alpha << 24) | (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue;
    }
  }

  if (depth == 16) png_set_strip_16(png);
  if (palettised) {
    if (depth < 8) png_set_packing(png);
  } else {
    if (isPalette || depth < 8 || png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
      png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma)) png_set_gamma(png, kScreenGamma, fileGamma);
  }
  png_read_update_info(png, info);
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
  out->hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || (palettised && transparent);

  int bytesPerPixel = palettised ? 1 : 4;
  if (png_get_channels(png, info) * (depth / 8) != bytesPerPixel || depth != 8) {
    png_error(png, "unexpected pixel layout");
  }
  int side = SideFor(static_cast<int>(width), static_cast<int>(height));
  if (side > MaxImageSide()) png_error(png, "image larger than the largest texture");
  size_t rowBytes = static_cast<size_t>(side) * bytesPerPixel;
  if (png_get_rowbytes(png, info) > rowBytes) png_error(png, "row longer than the buffer");
  out->pixels.assign(rowBytes * static_cast<size_t>(side), 0);
  state->rows = static_cast<png_bytep*>(std::calloc(height, sizeof(png_bytep)));
  if (!state->rows) png_error(png, "Visual PNG: out of memory");
  for (png_uint_32 r = 0; r < height; ++r) state->rows[r] = out->pixels.data() + r * rowBytes;
  png_read_image(png, state->rows);
  png_read_end(png, nullptr);
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->side = side;
  return true;
}

}  // namespace

TByteSource MemoryByteSource(const uint8_t* data, size_t size, size_t* at) {
  return [data, size, at](void* buffer, int count) {
    size_t n = std::min(size - *at, static_cast<size_t>(std::max(count, 0)));
    if (n == 0) return 0;  // an empty source may have no bytes at all (a null pointer)
    std::memcpy(buffer, data + *at, n);
    *at += n;
    return static_cast<int>(n);
  };
}

int MaxImageSide() {
  return static_cast<int>(sd::TDevice3d::Caps().maxTextureWidth);
}

bool DecodePng(const TByteSource& source, bool palettised,
               const std::vector<uint32_t>* paletteColours, TDecodedImage* out) {
  *out = TDecodedImage{};
  png_byte signature[kSignatureBytes];
  if (source(signature, kSignatureBytes) != kSignatureBytes ||
      png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
    return false;
  }
  TPngState state;
  state.source = &source;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, PngError, PngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  bool ok = Decode(png, info, &state, palettised, paletteColours, out);
  std::free(state.rows);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) *out = TDecodedImage{};
  return ok;
}

bool LoadPng(const TString& name, bool palettised, const TString& paletteFile, TDecodedImage* out) {
  TFile file;
  if (!file.Open(name, kFileReadBinary)) return false;
  std::vector<uint32_t> colours;
  bool haveColours = false;
  if (paletteFile.Length() > 0) {
    TFile riff;
    std::vector<TRiffColour> entries;
    if (riff.Open(paletteFile, kFileReadBinary) && ReadRiffPalette(riff, &entries)) {
      for (const TRiffColour& c : entries)
        colours.push_back((uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue);
      haveColours = true;
    }
  }
  TByteSource source = [&file](void* buffer, int count) { return file.Read(buffer, count); };
  bool ok = DecodePng(source, palettised, haveColours ? &colours : nullptr, out);
  if (!ok) DebugLog("LoadPng: failed to load %s", name.c_str());
  return ok;
}
