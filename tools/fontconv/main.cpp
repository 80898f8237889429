// fontconv: converts the outlines of a TrueType font into the engine's vector font format
// ("MVC4", see tvlib/render/TVecFont.h).
//
//   fontconv <font.ttf> <out.mvec> [<text file>...]
//
// Needs FreeType. Converts the character set the game's texts use (ASCII, Latin-1,
// typographic quotes and dashes, ellipsis, bullet, euro, trade mark; characters of this set
// missing from the face are left out) and every character used in the text files (UTF-8,
// numeric character references included): a character there that the face lacks fails the
// conversion, so the build says which text cannot be shown. The em is scaled to 192 outline units;
// quadratic contours become curve opcodes, each curve split until drawing it as three chords stays
// within a quarter of a unit; cubic outlines are approximated by quadratics. Returns 0 on success.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tvlib/render/TVecOutline.h"

namespace {

constexpr double kUnitsPerEm = 192.0;
constexpr double kFixedOne = 128.0;  // the file stores outline units in 1/128
// How far (in 1/128 units) the middle of a curve may lie from its chord before the curve is
// split; three chords then miss the curve by about a ninth of it.
constexpr double kCurveTolerance = 2.0 * kFixedOne;
constexpr int kMaxSplitDepth = 8;

struct TPoint {
  double x, y;
};

TPoint Mid(TPoint a, TPoint b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

std::set<uint32_t> CharacterSet() {
  std::set<uint32_t> codes;
  for (uint32_t c = 32; c < 127; ++c) codes.insert(c);
  for (uint32_t c = 160; c < 256; ++c) codes.insert(c);
  for (uint32_t c : {0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Au, 0x201Cu, 0x201Du, 0x201Eu,
                     0x2022u, 0x2026u, 0x2039u, 0x203Au, 0x20ACu, 0x2122u}) {
    codes.insert(c);
  }
  return codes;
}

// Adds the printable characters of a UTF-8 text, written out or as "&#N;" / "&#xH;"; false
// for a file that cannot be read or is not UTF-8.
bool AddTextCharacters(const char* path, std::set<uint32_t>& codes) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return false;
  auto add = [&codes](uint32_t c) {
    if (c >= 32 && (c < 0x7F || c > 0x9F)) codes.insert(c);
  };
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<uint8_t>(text[i]);
    const int extra = lead < 0x80    ? 0
                      : lead >= 0xF8 ? -1
                      : lead >= 0xF0 ? 3
                      : lead >= 0xE0 ? 2
                      : lead >= 0xC0 ? 1
                                     : -1;
    if (extra < 0 || i + extra >= text.size()) return false;
    uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = c << 6 | (next & 0x3F);
    }
    add(c);
    i += extra + 1;
    if (c == '&' && i < text.size() && text[i] == '#') {
      const bool hex = i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
      const size_t end = text.find(';', i);
      if (end != std::string::npos) {
        const std::string digits = text.substr(i + (hex ? 2 : 1), end - i - (hex ? 2 : 1));
        char* stop = nullptr;
        const unsigned long value = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
        if (!digits.empty() && *stop == '\0' && value <= 0x10FFFF)
          add(static_cast<uint32_t>(value));
      }
    }
  }
  return true;
}

// Writes one glyph's outline program while FreeType walks its contours.
class TProgramWriter {
 public:
  explicit TProgramWriter(double scale) : mScale(scale) {}

  std::vector<uint8_t> Take() {
    CloseContour();
    if (mBytes.empty()) return {kOpEnd};
    std::vector<uint8_t> program = {kOpLeftColour, 1};
    program.insert(program.end(), mBytes.begin(), mBytes.end());
    program.push_back(kOpEnd);
    return program;
  }

  static int MoveTo(const FT_Vector* to, void* self) {
    auto* w = static_cast<TProgramWriter*>(self);
    w->CloseContour();
    w->mStart = w->mCurrent = w->Convert(to);
    w->Op(kOpMove, {w->mStart});
    w->mOpen = true;
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* self) {
    auto* w = static_cast<TProgramWriter*>(self);
    w->Line(w->Convert(to));
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* self) {
    auto* w = static_cast<TProgramWriter*>(self);
    w->Conic(w->mCurrent, w->Convert(control), w->Convert(to), 0);
    return 0;
  }
  static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* self) {
    auto* w = static_cast<TProgramWriter*>(self);
    w->Cubic(w->mCurrent, w->Convert(c1), w->Convert(c2), w->Convert(to), 0);
    return 0;
  }

 private:
  // Font units to 1/128 outline units, y pointing down, rounded to what the file stores.
  TPoint Convert(const FT_Vector* v) const {
    auto fix = [&](double value) {
      return std::clamp(std::round(value * mScale * kFixedOne), -32768.0, 32767.0);
    };
    return {fix(static_cast<double>(v->x)), fix(-static_cast<double>(v->y))};
  }

  void Op(uint8_t op, std::initializer_list<TPoint> points) {
    mBytes.push_back(op);
    for (TPoint p : points) {
      for (double value : {p.x, p.y}) {
        const auto v = static_cast<uint16_t>(static_cast<int16_t>(value));
        mBytes.push_back(static_cast<uint8_t>(v & 0xFF));
        mBytes.push_back(static_cast<uint8_t>(v >> 8));
      }
    }
  }

  void Line(TPoint to) {
    if (to.x == mCurrent.x && to.y == mCurrent.y) return;
    Op(kOpLine, {to});
    mCurrent = to;
  }

  void Conic(TPoint from, TPoint control, TPoint to, int depth) {
    const double dx = (from.x - 2 * control.x + to.x) / 4;
    const double dy = (from.y - 2 * control.y + to.y) / 4;
    if (depth < kMaxSplitDepth && std::hypot(dx, dy) > kCurveTolerance) {
      const TPoint a = Mid(from, control);
      const TPoint b = Mid(control, to);
      const TPoint m = Mid(a, b);
      Conic(from, a, m, depth + 1);
      Conic(m, b, to, depth + 1);
      return;
    }
    // Split points are rounded to the stored grid; the chain stays connected through them.
    const TPoint end{std::round(to.x), std::round(to.y)};
    Op(kOpCurve, {{std::round(control.x), std::round(control.y)}, end});
    mCurrent = end;
  }

  void Cubic(TPoint p0, TPoint c1, TPoint c2, TPoint p3, int depth) {
    if (depth < 2) {
      const TPoint a = Mid(p0, c1), b = Mid(c1, c2), c = Mid(c2, p3);
      const TPoint d = Mid(a, b), e = Mid(b, c), m = Mid(d, e);
      Cubic(p0, a, d, m, depth + 1);
      Cubic(m, e, c, p3, depth + 1);
      return;
    }
    const TPoint control{(3 * (c1.x + c2.x) - p0.x - p3.x) / 4,
                         (3 * (c1.y + c2.y) - p0.y - p3.y) / 4};
    Conic(p0, control, p3, 0);
  }

  void CloseContour() {
    if (mOpen) Line(mStart);
    mOpen = false;
  }

  double mScale;
  TPoint mStart{0, 0}, mCurrent{0, 0};
  bool mOpen = false;
  std::vector<uint8_t> mBytes;
};

void PutU16(std::vector<uint8_t>& out, int value) {
  const auto v = static_cast<uint16_t>(value);
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

int Fixed(double fontUnits, double scale) {
  return static_cast<int>(std::clamp(std::round(fontUnits * scale * kFixedOne), -32768.0, 32767.0));
}

struct TGlyph {
  uint32_t code;
  int left, right, top, bottom, advance;
  std::vector<uint8_t> program;
};

bool ConvertGlyph(FT_Face face, uint32_t code, double scale, TGlyph& glyph) {
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0) return false;
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
    return false;
  }
  FT_Outline* outline = &face->glyph->outline;
  TProgramWriter writer(scale);
  const FT_Outline_Funcs funcs = {&TProgramWriter::MoveTo,
                                  &TProgramWriter::LineTo,
                                  &TProgramWriter::ConicTo,
                                  &TProgramWriter::CubicTo,
                                  0,
                                  0};
  if (FT_Outline_Decompose(outline, &funcs, &writer) != 0) return false;
  FT_BBox box = {0, 0, 0, 0};
  if (outline->n_points > 0) FT_Outline_Get_BBox(outline, &box);
  glyph = {code,
           Fixed(box.xMin, scale),
           Fixed(box.xMax, scale),
           Fixed(-box.yMax, scale),
           Fixed(-box.yMin, scale),
           Fixed(face->glyph->advance.x, scale),
           writer.Take()};
  return true;
}

std::vector<uint8_t> WriteImage(const std::vector<TGlyph>& glyphs) {
  std::vector<uint8_t> image = {'M', 'V', 'C', '4'};
  PutU16(image, static_cast<int>(glyphs.size()));
  image.resize(12, 0);
  size_t offset = 12 + 18 * glyphs.size();
  for (const TGlyph& g : glyphs) {
    PutU32(image, g.code);
    for (int v : {g.left, g.right, g.top, g.bottom, g.advance}) PutU16(image, v);
    PutU32(image, static_cast<uint32_t>(offset));
    offset += g.program.size();
  }
  for (const TGlyph& g : glyphs) image.insert(image.end(), g.program.begin(), g.program.end());
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fontconv <font.ttf> <out.mvec> [<text file>...]\n");
    return 2;
  }
  std::set<uint32_t> codes = CharacterSet();
  std::set<uint32_t> required;
  for (int i = 3; i < argc; ++i) {
    if (!AddTextCharacters(argv[i], required)) {
      std::fprintf(stderr, "fontconv: %s cannot be read as UTF-8 text\n", argv[i]);
      return 1;
    }
  }
  codes.insert(required.begin(), required.end());
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, argv[1], 0, &face) != 0 ||
      !FT_IS_SCALABLE(face)) {
    std::fprintf(stderr, "fontconv: cannot read the outline font %s\n", argv[1]);
    if (library) FT_Done_FreeType(library);
    return 1;
  }
  const double scale = kUnitsPerEm / face->units_per_EM;
  std::vector<TGlyph> glyphs;
  bool complete = true;
  for (uint32_t code : codes) {
    TGlyph glyph;
    if (ConvertGlyph(face, code, scale, glyph)) {
      glyphs.push_back(std::move(glyph));
    } else if (required.count(code)) {
      std::fprintf(stderr, "fontconv: %s has no glyph for U+%04X, which the texts use\n", argv[1],
                   code);
      complete = false;
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (!complete || glyphs.size() > 0xFFFF) return 1;

  const std::vector<uint8_t> image = WriteImage(glyphs);
  FILE* out = std::fopen(argv[2], "wb");
  const bool written = out && std::fwrite(image.data(), 1, image.size(), out) == image.size();
  if (out && std::fclose(out) != 0) return 1;
  if (!written) {
    std::fprintf(stderr, "fontconv: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("fontconv: %zu glyphs, %zu bytes -> %s\n", glyphs.size(), image.size(), argv[2]);
  return 0;
}
