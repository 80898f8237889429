// The rasteriser of the software rendering device.
//
// A primitive is set up once (edges in 1/256-pixel integers, attribute planes, mip level, which
// fast paths apply), then drawn as horizontal spans. A span goes through the pixel pipeline in
// chunks: texels, colours, combiner, then alpha test, depth test and blending into the target.
// Every stage has a general per-pixel form; the fast forms are used only where they give the same
// bits. This file holds the portable stages (scalar and SSE2); the AVX2 and AVX-512 forms are in
// TRasterAvx2.cpp and TRasterAvx512.cpp.
#include "tvlib/platform/render/TRaster.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tvlib/platform/render/TRasterShared.h"

namespace sd {

namespace raster {

namespace {

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

bool HasAvx512() {
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("bmi2") &&
                          __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
  return has;
}

}  // namespace

bool gFastPaths = true;
bool gAvx2 = HasAvx2();
bool gAvx512 = HasAvx512();

namespace {

// Pixels per pipeline chunk: small enough to stay in L1.
constexpr int kChunk = 128;
// Positions are clamped to this many pixels either way so that edge products fit 64 bits.
constexpr double kMaxCoord = 1 << 20;
// Values stepped in 16.16 fixed point are clamped before conversion, so that a value plus a step
// times a pixel offset (at most 2^21) stays far inside 64 bits: values to 2^40, steps per pixel to
// 2^20. Only degenerate input (slivers, absurd texture coordinates) reaches the limits.
constexpr double kMaxValue = double(1ll << 40);
constexpr double kMaxStep = double(1ll << 20);

// floor(a / b) for b > 0. A 64-bit division costs tens of cycles and runs three times per row of
// every triangle, so the quotient is estimated in double precision and then corrected exactly.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = int64_t(double(a) / double(b));  // truncated; the loops below round down
  while (q * b > a) --q;
  while ((q + 1) * b <= a) ++q;
  return q;
}
int64_t CeilDiv(int64_t a, int64_t b) {
  return -FloorDiv(-a, b);
}  // b > 0

int64_t ToFixed16(double d, double limit = kMaxValue) {
  d = std::isnan(d) ? 0.0 : std::clamp(d, -limit, limit);
  return int64_t(std::floor(d * 65536.0 + 0.5));
}

bool Compare(uint32_t func, uint32_t a, uint32_t b) {
  switch (func) {
    case kCmpNever:
      return false;
    case kCmpLess:
      return a < b;
    case kCmpEqual:
      return a == b;
    case kCmpLessEqual:
      return a <= b;
    case kCmpGreater:
      return a > b;
    case kCmpNotEqual:
      return a != b;
    case kCmpGreaterEqual:
      return a >= b;
    default:
      return true;
  }
}

// ---- Attribute planes ---------------------------------------------------------------------------

// Maps values at the vertices to a plane a(x, y) = base + gx (x - ox) + gy (y - oy).
struct TPlaneMap {
  bool line = false;
  double x0 = 0, y0 = 0;
  double dx1 = 0, dy1 = 0, dx2 = 0, dy2 = 0, det = 1;  // triangle
  double kx = 0, ky = 0;                               // line: 1 / length along its major axis
  int32_t ox = 0, oy = 0;

  void Plane(double a0, double a1, double a2, double* base, double* gx, double* gy) const {
    if (line) {
      *gx = (a1 - a0) * kx;
      *gy = (a1 - a0) * ky;
    } else {
      double d1 = a1 - a0, d2 = a2 - a0;
      *gx = (d1 * dy2 - d2 * dy1) / det;
      *gy = (d2 * dx1 - d1 * dx2) / det;
    }
    *base = a0 + *gx * (ox - x0) + *gy * (oy - y0);
  }
};

void SetupColour(const TPlaneMap& m, bool flat, uint32_t c0, uint32_t c1, uint32_t c2,
                 TColourPlane* out) {
  out->constant = flat || (c0 == c1 && (m.line || c0 == c2));
  out->value = c0;
  if (out->constant) return;
  for (int ch = 0; ch < 4; ++ch) {
    int s = ch * 8;
    double base, gx, gy;
    m.Plane((c0 >> s) & 255, (c1 >> s) & 255, (c2 >> s) & 255, &base, &gx, &gy);
    out->base[ch] = ToFixed16(base) + 32768;  // rounds when the fraction is dropped
    out->gx[ch] = ToFixed16(gx, kMaxStep);
    out->gy[ch] = ToFixed16(gy, kMaxStep);
  }
}

// ---- Texels -------------------------------------------------------------------------------------

int32_t Address(int64_t t, int32_t size, uint32_t mode) {
  if (mode == kTaddressWrap) {
    int64_t m = t % size;
    return int32_t(m < 0 ? m + size : m);
  }
  if (mode == kTaddressMirror) {
    int64_t period = 2 * int64_t(size);
    int64_t m = t % period;
    if (m < 0) m += period;
    return int32_t(m < size ? m : period - 1 - m);
  }
  return int32_t(t < 0 ? 0 : (t >= size ? size - 1 : t));
}

// Bilinear blend with 8-bit weights, in two stages that each round to 8 bits: down each column
// c = (t0 (256 - wv) + t1 wv + 128) >> 8, then across (cL (256 - wu) + cR wu + 128) >> 8. A stage
// is computed as a 256 + (b - a) w, whose true value fits 16 bits, so 16-bit lanes that wrap give
// it exactly. Zero weights give the texel itself. pair0 holds texels (x, y) and (x + 1, y),
// pair1 the two below, each in its low 64 bits.
inline uint32_t BilerpPairs(__m128i pair0, __m128i pair1, uint32_t wu, uint32_t wv) {
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128);
  __m128i w = _mm_cvtsi32_si128(int(wu << 16 | wv));
  __m128i wvs = _mm_unpacklo_epi64(_mm_shufflelo_epi16(w, 0x00), _mm_shufflelo_epi16(w, 0x00));
  __m128i wus = _mm_shufflelo_epi16(w, 0x55);
  __m128i row0 = _mm_unpacklo_epi8(pair0, zero), row1 = _mm_unpacklo_epi8(pair1, zero);
  __m128i col =
      _mm_add_epi16(_mm_slli_epi16(row0, 8), _mm_mullo_epi16(_mm_sub_epi16(row1, row0), wvs));
  col = _mm_srli_epi16(_mm_add_epi16(col, half), 8);  // left texel in lanes 0-3, right in 4-7
  __m128i right = _mm_srli_si128(col, 8);
  __m128i h =
      _mm_add_epi16(_mm_slli_epi16(col, 8), _mm_mullo_epi16(_mm_sub_epi16(right, col), wus));
  h = _mm_srli_epi16(_mm_add_epi16(h, half), 8);
  return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(h, h)));
}

inline __m128i Pair(uint32_t a, uint32_t b) {
  return _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(a)), _mm_cvtsi32_si128(int(b)));
}

}  // namespace

inline uint32_t Sample(const TPrim& p, int64_t u, int64_t v) {
  const TRasterTexture& t = *p.tex;
  const TRasterState& st = *p.st;
  if (!p.linear) {
    int32_t x = Address(u >> 16, t.width, st.addressU);
    int32_t y = Address(v >> 16, t.height, st.addressV);
    return t.texels[size_t(y) * t.pitch + x];
  }
  int64_t ub = u - 32768, vb = v - 32768;
  uint32_t wu = uint32_t(ub >> 8) & 255, wv = uint32_t(vb >> 8) & 255;
  int64_t cx = ub >> 16, cy = vb >> 16;
  if (cx >= 0 && cx + 1 < t.width && cy >= 0 && cy + 1 < t.height) {
    // All four texels inside: addressing changes nothing, and each pair is adjacent.
    const uint32_t* r0 = t.texels + size_t(cy) * t.pitch + cx;
    return BilerpPairs(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0)),
                       _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + t.pitch)), wu, wv);
  }
  int32_t x0 = Address(cx, t.width, st.addressU);
  int32_t x1 = Address(cx + 1, t.width, st.addressU);
  const uint32_t* r0 = t.texels + size_t(Address(cy, t.height, st.addressV)) * t.pitch;
  const uint32_t* r1 = t.texels + size_t(Address(cy + 1, t.height, st.addressV)) * t.pitch;
  return BilerpPairs(Pair(r0[x0], r0[x1]), Pair(r1[x0], r1[x1]), wu, wv);
}

namespace {

// The texels of a run of n pixels that map 1:1 onto texel columns with zero bilinear weight
// (what a texture drawn unscaled at whole pixels gives), or null when they do not.
const uint32_t* TexelRow(const TPrim& p, int64_t u, int64_t v, int n) {
  if (p.ux != 65536 || p.vx != 0) return nullptr;
  if (p.linear) {
    u -= 32768;
    v -= 32768;
    if (((u >> 8) & 255) || ((v >> 8) & 255)) return nullptr;
  }
  int64_t col = u >> 16, row = v >> 16;
  const TRasterTexture& t = *p.tex;
  if (col < 0 || col + n > t.width || row < 0 || row >= t.height) return nullptr;
  return t.texels + size_t(row) * t.pitch + col;
}

void FetchTexels(const TPrim& p, int32_t y, int32_t x, int n, uint32_t* out) {
  if (!p.tex) {
    std::fill_n(out, n, 0xFFFFFFFFu);
    return;
  }
  if (!p.persp) {
    int64_t u = p.u0 + p.ux * (x - p.ox) + p.uy * (y - p.oy);
    int64_t v = p.v0 + p.vx * (x - p.ox) + p.vy * (y - p.oy);
    if (gFastPaths) {
      if (const uint32_t* row = TexelRow(p, u, v, n)) {
        std::memcpy(out, row, size_t(n) * 4);
        return;
      }
      if (gAvx2 && p.linear) return BilinearRunAvx2(p, u, v, n, out);
    }
    for (int i = 0; i < n; ++i) out[i] = Sample(p, u + p.ux * i, v + p.vx * i);
    return;
  }
  double dy = y - p.oy;
  for (int i = 0; i < n; ++i) {
    double dx = x + i - p.ox;
    double q = p.q0 + p.qx * dx + p.qy * dy;
    if (!(q > 1e-12)) q = 1e-12;  // behind the eye only through rounding at a clipped edge
    double u = (p.uq0 + p.uqx * dx + p.uqy * dy) / q;
    double v = (p.vq0 + p.vqx * dx + p.vqy * dy) / q;
    out[i] = Sample(p, ToFixed16(u), ToFixed16(v));
  }
}

void FetchColours(const TPrim& p, const TColourPlane& c, int32_t y, int32_t x, int n,
                  uint32_t* out) {
  if (c.constant) {
    std::fill_n(out, n, c.value);
    return;
  }
  std::fill_n(out, n, 0u);
  for (int ch = 0; ch < 4; ++ch) {
    int64_t v = c.base[ch] + c.gx[ch] * (x - p.ox) + c.gy[ch] * (y - p.oy);
    for (int i = 0; i < n; ++i) {
      int64_t s = (v + c.gx[ch] * i) >> 16;
      out[i] |= uint32_t(std::clamp<int64_t>(s, 0, 255)) << (ch * 8);
    }
  }
}

// ---- Combiner -----------------------------------------------------------------------------------

uint32_t Modulate(uint32_t a, uint32_t b) {
  uint32_t r = 0;
  for (int s = 0; s < 32; s += 8) r |= Mul255((a >> s) & 255, (b >> s) & 255) << s;
  return r;
}

uint32_t Arg(uint32_t which, uint32_t tex, uint32_t diff, uint32_t spec, uint32_t factor) {
  switch (which & 0xF) {
    case kTaTexture:
      return tex;
    case kTaTFactor:
      return factor;
    case kTaSpecular:
      return spec;
    default:
      return diff;  // diffuse, and the current colour of stage 0
  }
}

uint32_t Operate(uint32_t op, uint32_t a, uint32_t b) {
  switch (op) {
    case kTopSelectArg1:
      return a;
    case kTopSelectArg2:
      return b;
    default:
      return Modulate(a, b);
  }
}

uint32_t CombinePixel(const TRasterState& st, uint32_t tex, uint32_t diff, uint32_t spec) {
  if (st.colorOp == kTopDisable) return diff;
  uint32_t f = st.textureFactor;
  uint32_t rgb = Operate(st.colorOp, Arg(st.colorArg1, tex, diff, spec, f),
                         Arg(st.colorArg2, tex, diff, spec, f));
  uint32_t a = st.alphaOp == kTopDisable
                   ? diff
                   : Operate(st.alphaOp, Arg(st.alphaArg1, tex, diff, spec, f),
                             Arg(st.alphaArg2, tex, diff, spec, f));
  return (rgb & 0x00FFFFFF) | (a & 0xFF000000);
}

uint32_t AddSpecular(uint32_t c, uint32_t spec) {
  uint32_t r = c & 0xFF000000;
  for (int s = 0; s < 24; s += 8)
    r |= std::min<uint32_t>(255, ((c >> s) & 255) + ((spec >> s) & 255)) << s;
  return r;
}

// ---- Blending -----------------------------------------------------------------------------------

uint32_t Factor(uint32_t f, int s, uint32_t src, uint32_t dst) {
  switch (f) {
    case kBlendZero:
      return 0;
    case kBlendOne:
      return 255;
    case kBlendSrcColor:
      return (src >> s) & 255;
    case kBlendInvSrcColor:
      return 255 - ((src >> s) & 255);
    case kBlendSrcAlpha:
      return src >> 24;
    case kBlendInvSrcAlpha:
      return 255 - (src >> 24);
    case kBlendDestAlpha:
      return dst >> 24;
    case kBlendInvDestAlpha:
      return 255 - (dst >> 24);
    case kBlendDestColor:
      return (dst >> s) & 255;
    case kBlendInvDestColor:
      return 255 - ((dst >> s) & 255);
    default:
      return 255;
  }
}

// One blend rounds once: round((s fs + d fd) / 255) per channel, saturated. (255 is odd, so a
// quotient never ends in exactly one half, and (x + 127) / 255 rounds it.)
uint32_t BlendPixel(const TRasterState& st, uint32_t src, uint32_t dst) {
  uint32_t r = 0;
  for (int s = 0; s < 32; s += 8) {
    uint32_t c = (((src >> s) & 255) * Factor(st.srcBlend, s, src, dst) +
                  ((dst >> s) & 255) * Factor(st.destBlend, s, src, dst) + 127) /
                 255;
    r |= std::min<uint32_t>(c, 255) << s;
  }
  return r;
}

template <TWrite kMode>
void Run(const uint32_t* src, uint32_t* dst, int n, bool killZeroAlpha) {
  if (gAvx2)
    WriteRunAvx2(kMode, src, dst, n, killZeroAlpha);
  else
    WriteRun<kMode>(src, dst, n, killZeroAlpha);
}

void WriteFast(const TPrim& p, const uint32_t* src, uint32_t* dst, int n) {
  switch (p.write) {
    case TWrite::kBlendAlpha:
      return Run<TWrite::kBlendAlpha>(src, dst, n, false);
    case TWrite::kAddAlpha:
      return Run<TWrite::kAddAlpha>(src, dst, n, false);
    case TWrite::kAdd:
      return Run<TWrite::kAdd>(src, dst, n, p.killZeroAlpha);
    default:
      if (p.killZeroAlpha) return Run<TWrite::kCopy>(src, dst, n, true);
      std::memcpy(dst, src, size_t(n) * 4);
  }
}

// ---- Spans --------------------------------------------------------------------------------------

uint32_t DepthValue(const TPrim& p, int32_t x, int32_t y) {
  double z = p.z0 + p.zx * (x - p.ox) + p.zy * (y - p.oy);
  z = std::clamp(z, 0.0, 1.0);
  return uint32_t(z * double(p.st->depthMax) + 0.5);
}

void WriteGeneral(const TPrim& p, int32_t y, int32_t x, const uint32_t* src, uint32_t* dst, int n) {
  const TRasterState& st = *p.st;
  uint8_t* zrow = p.depthTest ? st.depth + size_t(y) * st.depthPitch : nullptr;
  for (int i = 0; i < n; ++i) {
    uint32_t s = src[i];
    if (st.alphaTest && !Compare(st.alphaFunc, s >> 24, st.alphaRef & 255)) continue;
    if (zrow) {
      uint8_t* zp = zrow + size_t(x + i) * st.depthBytes;
      uint32_t z = DepthValue(p, x + i, y);
      uint32_t stored = st.depthBytes == 2 ? uint32_t(zp[0] | zp[1] << 8) : ReadRaw(zp, 4);
      if (!Compare(st.zFunc, z, stored)) continue;
      if (st.zWrite) WriteRaw(zp, st.depthBytes, z);
    }
    dst[i] = st.blend ? BlendPixel(st, s, dst[i]) : s;
  }
}

// dst = src with its alpha replaced: the opaque draw of a texture.
void CopyWithAlpha(const uint32_t* src, uint32_t* dst, int n, uint32_t alpha) {
  int i = 0;
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF), a = _mm_set1_epi32(int(alpha));
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_and_si128(s, rgb), a));
  }
  for (; i < n; ++i) dst[i] = (src[i] & 0x00FFFFFF) | alpha;
}

// A whole span whose texels come 1:1 from one texture row and pass the combiner unchanged (or
// with a constant alpha) goes straight from the texture to the target.
bool ShadeTexelRun(const TPrim& p, int32_t y, int32_t x0, int32_t x1, uint32_t* row) {
  if (!p.tex || p.persp || p.addSpecular || p.write == TWrite::kGeneral) return false;
  bool opaque = p.combine == TCombine::kTextureOpaque && p.write == TWrite::kCopy;
  if (p.combine != TCombine::kTexture && !opaque) return false;
  int n = x1 - x0;
  const uint32_t* texels = TexelRow(p, p.u0 + p.ux * (x0 - p.ox) + p.uy * (y - p.oy),
                                    p.v0 + p.vx * (x0 - p.ox) + p.vy * (y - p.oy), n);
  if (!texels) return false;
  if (opaque && gAvx2)
    CopyWithAlphaAvx2(texels, row + x0, n, p.st->textureFactor & 0xFF000000);
  else if (opaque)
    CopyWithAlpha(texels, row + x0, n, p.st->textureFactor & 0xFF000000);
  else
    WriteFast(p, texels, row + x0, n);
  return true;
}

void ShadeSpan(const TPrim& p, int32_t y, int32_t x0, int32_t x1) {
  const TRasterState& st = *p.st;
  uint32_t tex[kChunk], diff[kChunk], spec[kChunk], src[kChunk];
  uint32_t* row = st.target + size_t(y) * st.targetPitch;
  if (gFastPaths && ShadeTexelRun(p, y, x0, x1, row)) return;
  for (int32_t x = x0; x < x1; x += kChunk) {
    int n = int(std::min<int32_t>(kChunk, x1 - x));
    FetchTexels(p, y, x, n, tex);
    if (gFastPaths && p.combine == TCombine::kTexture) {
      std::memcpy(src, tex, size_t(n) * 4);
    } else if (gFastPaths && p.combine == TCombine::kTextureOpaque) {
      uint32_t alpha = st.textureFactor & 0xFF000000;
      for (int i = 0; i < n; ++i) src[i] = (tex[i] & 0x00FFFFFF) | alpha;
    } else if (gFastPaths && p.combine == TCombine::kScaled) {
      if (gAvx2)
        ScaleTexelsAvx2(tex, src, n, p.scale, p.add);
      else
        ScaleTexels(tex, src, n, p.scale, p.add);
    } else {
      FetchColours(p, p.diffuse, y, x, n, diff);
      FetchColours(p, p.specular, y, x, n, spec);
      for (int i = 0; i < n; ++i) src[i] = CombinePixel(st, tex[i], diff[i], spec[i]);
    }
    if (p.addSpecular) {
      FetchColours(p, p.specular, y, x, n, spec);
      for (int i = 0; i < n; ++i) src[i] = AddSpecular(src[i], spec[i]);
    }
    if (gFastPaths && p.write != TWrite::kGeneral)
      WriteFast(p, src, row + x, n);
    else
      WriteGeneral(p, y, x, src, row + x, n);
  }
}

// ---- Set-up -------------------------------------------------------------------------------------

bool IsDiffuseArg(uint32_t a) {
  return (a & 0xF) == kTaDiffuse || (a & 0xF) == kTaCurrent;
}

// A combiner stage as kScaled's scale and add on the channels `mask` selects, when its result
// is the texel scaled by a constant or a constant (the diffuse, specular and current colours
// are constant only when their planes are): false when it is not (a texel times a texel, or a
// stepped colour).
bool StageAsScale(const TPrim& p, uint32_t op, uint32_t arg1, uint32_t arg2, uint32_t mask,
                  uint32_t* scale, uint32_t* add) {
  const TRasterState& st = *p.st;
  // An argument's constant value; false for the texture.
  auto constant = [&](uint32_t arg, bool* known, uint32_t* value) {
    switch (arg & 0xF) {
      case kTaTexture:
        return false;
      case kTaTFactor:
        *value = st.textureFactor;
        return true;
      case kTaSpecular:
        *known = p.specular.constant;
        *value = p.specular.value;
        return true;
      default:
        *known = p.diffuse.constant;
        *value = p.diffuse.value;
        return true;
    }
  };
  bool known1 = true, known2 = true;
  uint32_t k1 = 0, k2 = 0;
  const bool const1 = constant(arg1, &known1, &k1), const2 = constant(arg2, &known2, &k2);
  uint32_t s = 0, a = 0;
  switch (op) {
    case kTopSelectArg1:
    case kTopSelectArg2: {
      const bool first = op == kTopSelectArg1;
      if (!(first ? const1 : const2))
        s = 0xFFFFFFFF;  // round(t 255 / 255) = t
      else if (first ? known1 : known2)
        a = first ? k1 : k2;
      else
        return false;
      break;
    }
    default:  // modulate
      if (!(known1 && known2) || (!const1 && !const2)) return false;
      if (const1 && const2)
        a = Modulate(k1, k2);
      else
        s = const1 ? k1 : k2;
      break;
  }
  *scale |= s & mask;
  *add |= a & mask;
  return true;
}

// Chooses the fast stages that are exact for this primitive.
void ChooseFastPaths(TPrim* p) {
  const TRasterState& st = *p->st;
  bool whiteDiffuse = p->diffuse.constant && p->diffuse.value == 0xFFFFFFFF;
  bool colourIsTexture = (st.colorOp == kTopSelectArg1 && st.colorArg1 == kTaTexture) ||
                         (st.colorOp == kTopModulate && whiteDiffuse &&
                          ((st.colorArg1 == kTaTexture && IsDiffuseArg(st.colorArg2)) ||
                           (st.colorArg2 == kTaTexture && IsDiffuseArg(st.colorArg1))));
  bool alphaIsTexture = (st.alphaOp == kTopSelectArg1 && st.alphaArg1 == kTaTexture) ||
                        (st.alphaOp == kTopModulate && whiteDiffuse &&
                         ((st.alphaArg1 == kTaTexture && IsDiffuseArg(st.alphaArg2)) ||
                          (st.alphaArg2 == kTaTexture && IsDiffuseArg(st.alphaArg1))));
  bool alphaIsFactor = (st.alphaOp == kTopSelectArg1 && st.alphaArg1 == kTaTFactor) ||
                       (st.alphaOp == kTopSelectArg2 && st.alphaArg2 == kTaTFactor);
  if (colourIsTexture && alphaIsTexture)
    p->combine = TCombine::kTexture;
  else if (colourIsTexture && alphaIsFactor)
    p->combine = TCombine::kTextureOpaque;
  else if (st.colorOp != kTopDisable && st.alphaOp != kTopDisable &&
           StageAsScale(*p, st.colorOp, st.colorArg1, st.colorArg2, 0x00FFFFFF, &p->scale,
                        &p->add) &&
           StageAsScale(*p, st.alphaOp, st.alphaArg1, st.alphaArg2, 0xFF000000, &p->scale, &p->add))
    p->combine = TCombine::kScaled;

  // Writes: no depth test, and an alpha test that passes everything or drops exactly alpha 0.
  bool testPassesAll = !st.alphaTest || st.alphaFunc == kCmpAlways ||
                       (st.alphaFunc == kCmpGreaterEqual && (st.alphaRef & 255) == 0);
  bool testDropsZero = st.alphaTest && st.alphaFunc == kCmpGreaterEqual && (st.alphaRef & 255) == 1;
  if (p->depthTest || !(testPassesAll || testDropsZero)) return;
  // A constant alpha from the texture factor that is not 0 passes the test everywhere.
  bool alphaNeverZero =
      p->combine == TCombine::kTextureOpaque && (st.textureFactor & 0xFF000000) != 0;
  p->killZeroAlpha = testDropsZero && !alphaNeverZero;
  if (!st.blend)
    p->write = TWrite::kCopy;
  else if (st.srcBlend == kBlendSrcAlpha && st.destBlend == kBlendInvSrcAlpha)
    p->write = TWrite::kBlendAlpha;
  else if (st.srcBlend == kBlendSrcAlpha && st.destBlend == kBlendOne)
    p->write = TWrite::kAddAlpha;
  else if (st.srcBlend == kBlendOne && st.destBlend == kBlendOne)
    p->write = TWrite::kAdd;
}

// Everything but the edges: texture level and coordinates, colours, depth, fast paths.
void SetupPrim(TPrim* p, const TRasterState& st, const TPlaneMap& m, const TRasterVertex* const* v,
               const TRasterVertex& first) {
  p->st = &st;
  p->ox = m.ox;
  p->oy = m.oy;
  const TRasterVertex& a = *v[0];
  const TRasterVertex& b = *v[1];
  const TRasterVertex& c = m.line ? *v[1] : *v[2];
  double base;
  if (st.levelCount > 0) {
    const TRasterTexture& top = st.levels[0];
    double gux, guy, gvx, gvy;
    m.Plane(a.u * top.width, b.u * top.width, c.u * top.width, &base, &gux, &guy);
    m.Plane(a.v * top.height, b.v * top.height, c.v * top.height, &base, &gvx, &gvy);
    double rho = std::max(std::hypot(gux, gvx), std::hypot(guy, gvy));
    size_t level = 0;
    if (rho > 1.0 && st.mipFilter != kTfpNone && st.levelCount > 1)
      level = size_t(std::clamp(std::floor(std::log2(rho) + 0.5), 0.0, double(st.levelCount - 1)));
    p->tex = &st.levels[level];
    p->linear = rho > 1.0 ? st.minFilter == kTfnLinear : st.magFilter == kTfgLinear;
    double w = p->tex->width, h = p->tex->height;
    p->persp = !(a.rhw == b.rhw && a.rhw == c.rhw);
    if (!p->persp) {
      double gx, gy;
      m.Plane(a.u * w, b.u * w, c.u * w, &base, &gx, &gy);
      p->u0 = ToFixed16(base), p->ux = ToFixed16(gx, kMaxStep), p->uy = ToFixed16(gy, kMaxStep);
      m.Plane(a.v * h, b.v * h, c.v * h, &base, &gx, &gy);
      p->v0 = ToFixed16(base), p->vx = ToFixed16(gx, kMaxStep), p->vy = ToFixed16(gy, kMaxStep);
    } else {
      m.Plane(a.rhw, b.rhw, c.rhw, &p->q0, &p->qx, &p->qy);
      m.Plane(a.u * w * a.rhw, b.u * w * b.rhw, c.u * w * c.rhw, &p->uq0, &p->uqx, &p->uqy);
      m.Plane(a.v * h * a.rhw, b.v * h * b.rhw, c.v * h * c.rhw, &p->vq0, &p->vqx, &p->vqy);
    }
  }
  bool flat = st.shadeMode == kShadeFlat;
  SetupColour(m, flat, flat ? first.diffuse : a.diffuse, b.diffuse, c.diffuse, &p->diffuse);
  if (flat) p->diffuse.value = first.diffuse;
  SetupColour(m, flat, flat ? first.specular : a.specular, b.specular, c.specular, &p->specular);
  if (flat) p->specular.value = first.specular;
  p->addSpecular =
      st.specularEnable && !(p->specular.constant && (p->specular.value & 0x00FFFFFF) == 0);
  p->depthTest = st.zEnable && st.depth;
  if (p->depthTest) m.Plane(a.z, b.z, c.z, &p->z0, &p->zx, &p->zy);
  ChooseFastPaths(p);
}

// ---- Spans --------------------------------------------------------------------------------------

// Whether a combiner stage gives the diffuse colour itself when the texture reads opaque white
// and the specular colour is 0 (a product with white is exact: round(255 b / 255) = b).
bool StagePassesDiffuse(uint32_t op, uint32_t arg1, uint32_t arg2) {
  auto diffuse = [](uint32_t a) {
    a &= 0xF;
    return a != kTaTexture && a != kTaTFactor && a != kTaSpecular;
  };
  auto white = [](uint32_t a) { return (a & 0xF) == kTaTexture; };
  switch (op) {
    case kTopDisable:
      return true;
    case kTopSelectArg1:
      return diffuse(arg1);
    case kTopSelectArg2:
      return diffuse(arg2);
    default:
      return (diffuse(arg1) && white(arg2)) || (white(arg1) && diffuse(arg2));
  }
}

// One source colour over n pixels, blended by its alpha: round((s a + d (255 - a)) / 255) on
// every channel, four, two and then one pixel at a time (the bits of BlendAlpha4).
inline void BlendColourRun(uint32_t s, uint32_t* dst, int n) {
  const __m128i zero = _mm_setzero_si128();
  const uint32_t a = s >> 24;
  const __m128i sa =
      _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_set1_epi32(int(s)), zero), _mm_set1_epi16(int16_t(a)));
  const __m128i inverse = _mm_set1_epi16(int16_t(255 - a));
  auto blend = [&](__m128i d16) {
    return Div255x8(_mm_add_epi16(sa, _mm_mullo_epi16(d16, inverse)));
  };
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    __m128i r =
        _mm_packus_epi16(blend(_mm_unpacklo_epi8(d, zero)), blend(_mm_unpackhi_epi8(d, zero)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), r);
  }
  if (i + 2 <= n) {
    __m128i d = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst + i));
    __m128i b = blend(_mm_unpacklo_epi8(d, zero));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(b, b));
    i += 2;
  }
  if (i < n) {
    __m128i b = blend(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(dst[i])), zero));
    dst[i] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(b, b)));
  }
}

// ---- Coverage rows ------------------------------------------------------------------------------

// What a pixel of coverage c (above 16 counts as 16) in a row of this colour draws: the colour
// with alpha (A c) >> 4.
inline uint32_t CoveredColour(uint32_t colour, uint32_t c) {
  return (colour & 0x00FFFFFF) | ((colour >> 24) * std::min(c, 16u) >> 4) << 24;
}

// Coverage 16 in all four (eight) bytes.
constexpr uint32_t kFull4 = 0x10101010u;

inline uint32_t Load4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Four pixels of one colour blended each by its own alpha a_i = (A c_i) >> 4 from coverage
// c4 (one byte a pixel): round((s a_i + d (255 - a_i)) / 255) on every channel, the source alpha
// being a_i itself. These are the bits of BlendAlpha4 on the colours CoveredColour gives; a_i = 0
// keeps d.
inline __m128i BlendCovered4(const TCoverColour& k, uint32_t c4, __m128i d) {
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255);
  const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  const __m128i c16 =
      _mm_min_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(c4)), zero), _mm_set1_epi16(16));
  const __m128i a16 = _mm_srli_epi16(_mm_mullo_epi16(c16, k.alpha), 4);
  const __m128i pairs = _mm_unpacklo_epi16(a16, a16);
  const __m128i al = _mm_unpacklo_epi32(pairs, pairs), ah = _mm_unpackhi_epi32(pairs, pairs);
  const __m128i sl = _mm_or_si128(k.rgb16, _mm_and_si128(al, alphaLanes));
  const __m128i sh = _mm_or_si128(k.rgb16, _mm_and_si128(ah, alphaLanes));
  const __m128i dl = _mm_unpacklo_epi8(d, zero), dh = _mm_unpackhi_epi8(d, zero);
  const __m128i pl =
      _mm_add_epi16(_mm_mullo_epi16(sl, al), _mm_mullo_epi16(dl, _mm_sub_epi16(full, al)));
  const __m128i ph =
      _mm_add_epi16(_mm_mullo_epi16(sh, ah), _mm_mullo_epi16(dh, _mm_sub_epi16(full, ah)));
  return _mm_packus_epi16(Div255x8(pl), Div255x8(ph));
}

// Four pixels by their coverage: skipped without any, stored as the colour itself when an opaque
// colour covers them fully (what the blend gives), blended otherwise.
inline void Cover4(const TCoverColour& k, uint32_t c4, uint32_t* dst) {
  if (c4 == 0) return;
  __m128i* p = reinterpret_cast<__m128i*>(dst);
  _mm_storeu_si128(p,
                   k.opaque && c4 == kFull4 ? k.solid : BlendCovered4(k, c4, _mm_loadu_si128(p)));
}

// A row of 1 to 3 pixels, in registers.
inline void CoverShortRow(const TCoverColour& k, const uint8_t* coverage, uint32_t* dst, int n) {
  uint32_t c4 = coverage[0];
  if (n > 1) c4 |= uint32_t{coverage[1]} << 8;
  if (n > 2) c4 |= uint32_t{coverage[2]} << 16;
  if (c4 == 0) return;
  __m128i d = n == 1 ? _mm_cvtsi32_si128(int(dst[0]))
                     : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst));
  if (n == 3) d = _mm_unpacklo_epi64(d, _mm_cvtsi32_si128(int(dst[2])));
  const __m128i r = BlendCovered4(k, c4, d);
  if (n == 1) {
    dst[0] = uint32_t(_mm_cvtsi128_si32(r));
    return;
  }
  _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), r);
  if (n == 3) dst[2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(r, 8)));
}

// A row of one colour blended pixel by pixel by its coverage, four pixels at a time, then the
// last 1 to 3. (Groups never overlap: reading back pixels just stored stalls.)
inline void CoverRow(const TCoverColour& k, const uint8_t* coverage, uint32_t* dst, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) Cover4(k, Load4(coverage + i), dst + i);
  if (i < n) CoverShortRow(k, coverage + i, dst + i, n - i);
}

void BlendCoverageGlyphs(const TRasterState& st, const TRasterCoverageGlyph* glyphs, size_t count) {
  WalkCoverageGlyphs<TCoverColour, CoverRow>(st, glyphs, count);
}

// Each pixel plus a constant, saturated per channel.
void AddColourRun(uint32_t add, uint32_t* dst, int n) {
  const __m128i c = _mm_set1_epi32(int(add));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i* p = reinterpret_cast<__m128i*>(dst + i);
    _mm_storeu_si128(p, _mm_adds_epu8(_mm_loadu_si128(p), c));
  }
  for (; i < n; ++i)
    dst[i] = uint32_t(_mm_cvtsi128_si32(_mm_adds_epu8(_mm_cvtsi32_si128(int(dst[i])), c)));
}

// round(s a / 255) per channel with the source's own alpha a: what kAddAlpha adds.
uint32_t ScaleByOwnAlpha(uint32_t s) {
  const __m128i zero = _mm_setzero_si128();
  __m128i p = _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(s)), zero),
                              _mm_set1_epi16(int16_t(s >> 24)));
  __m128i r = Div255x8(p);
  return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(r, r)));
}

// A span through the general per-pixel stages (alpha test, blend), a chunk at a time.
void WriteSpanGeneral(const TPrim& p, int32_t y, int32_t x0, int32_t x1, uint32_t src) {
  uint32_t colours[kChunk];
  std::fill_n(colours, kChunk, src);
  uint32_t* row = p.st->target + size_t(y) * p.st->targetPitch;
  for (int32_t x = x0; x < x1; x += kChunk) {
    const int n = int(std::min<int32_t>(kChunk, x1 - x));
    WriteGeneral(p, y, x, colours, row + x, n);
  }
}

// Pixels [x0, x1) of row y (inside the scissor) in one colour, as a span: the colour through
// the combiner (unless it passes the diffuse), then the write stage, fast where it may be.
void WriteColourSpan(const TPrim& p, bool fast, bool passesDiffuse, int32_t y, int32_t x0,
                     int32_t x1, uint32_t colour) {
  const TRasterState& st = *p.st;
  const uint32_t src = passesDiffuse ? colour : CombinePixel(st, 0xFFFFFFFF, colour, 0);
  if (!fast) {
    WriteSpanGeneral(p, y, x0, x1, src);
    return;
  }
  uint32_t* dst = st.target + size_t(y) * st.targetPitch + x0;
  const int n = x1 - x0;
  switch (p.write) {
    case TWrite::kBlendAlpha:
      BlendColourRun(src, dst, n);
      break;
    case TWrite::kAddAlpha:
      AddColourRun(ScaleByOwnAlpha(src), dst, n);
      break;
    case TWrite::kAdd:
      if (!p.killZeroAlpha || (src >> 24) != 0) AddColourRun(src, dst, n);
      break;
    default:
      if (!p.killZeroAlpha || (src >> 24) != 0) std::fill_n(dst, n, src);
      break;
  }
}

int64_t Snap(float f) {
  double d = std::clamp(double(f), -kMaxCoord, kMaxCoord);
  return int64_t(std::floor(d * 256.0 + 0.5));
}

bool Finite(const TRasterVertex& v) {
  return std::isfinite(v.x) && std::isfinite(v.y);
}
}  // namespace

}  // namespace raster

using namespace raster;

void SetRasterPaths(TRasterPaths paths) {
  gFastPaths = paths != TRasterPaths::kGeneral;
  gAvx2 = (paths == TRasterPaths::kAvx2 || paths == TRasterPaths::kAvx512) && HasAvx2();
  gAvx512 = paths == TRasterPaths::kAvx512 && HasAvx512();
}

TRasterPaths RasterPaths() {
  if (!gFastPaths) return TRasterPaths::kGeneral;
  if (gAvx512) return TRasterPaths::kAvx512;
  return gAvx2 ? TRasterPaths::kAvx2 : TRasterPaths::kSse2;
}

TRasterPaths BestRasterPaths() {
  if (HasAvx512()) return TRasterPaths::kAvx512;
  return HasAvx2() ? TRasterPaths::kAvx2 : TRasterPaths::kSse2;
}

void RasterTriangle(const TRasterState& st, const TRasterVertex& va, const TRasterVertex& vb,
                    const TRasterVertex& vc) {
  if (!st.target || st.scissor.IsEmpty() || !Finite(va) || !Finite(vb) || !Finite(vc)) return;
  const TRasterVertex* v[3] = {&va, &vb, &vc};
  int64_t X[3], Y[3];
  for (int k = 0; k < 3; ++k) X[k] = Snap(v[k]->x), Y[k] = Snap(v[k]->y);
  int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
  if (area == 0) return;
  bool clockwise = area > 0;  // on screen, y growing downwards
  if ((st.cullMode == kCullCcw && !clockwise) || (st.cullMode == kCullCw && clockwise)) return;
  if (!clockwise) {
    std::swap(v[1], v[2]);
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
  }
  int64_t minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
  int64_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
  int32_t left = int32_t(std::max<int64_t>(st.scissor.left, CeilDiv(minX, 256)));
  int32_t right = int32_t(std::min<int64_t>(st.scissor.right - 1, FloorDiv(maxX, 256)));
  int32_t top = int32_t(std::max<int64_t>(st.scissor.top, CeilDiv(minY, 256)));
  int32_t bottom = int32_t(std::min<int64_t>(st.scissor.bottom - 1, FloorDiv(maxY, 256)));
  if (left > right || top > bottom) return;

  TPlaneMap m;
  m.x0 = X[0] / 256.0, m.y0 = Y[0] / 256.0;
  m.dx1 = (X[1] - X[0]) / 256.0, m.dy1 = (Y[1] - Y[0]) / 256.0;
  m.dx2 = (X[2] - X[0]) / 256.0, m.dy2 = (Y[2] - Y[0]) / 256.0;
  m.det = m.dx1 * m.dy2 - m.dx2 * m.dy1;
  m.ox = left, m.oy = top;
  TPrim p;
  SetupPrim(&p, st, m, v, va);

  // Edge a->b: E(p) = (Xb - Xa)(py - Ya) - (Yb - Ya)(px - Xa), positive inside. A pixel on the
  // edge (E = 0) belongs to the triangle only for a top edge or a left edge.
  // In row j, E(i) = c + i step with c = dx (256 j - ya) + dy xa and step = -256 dy. A horizontal
  // edge limits the rows and a vertical one the columns, once; only slanted edges bound each row.
  struct TEdge {
    int64_t dx, dy, xa, ya, bias;
  } slanted[3];
  int slantedCount = 0;
  int64_t lo0 = left, hi0 = right, top0 = top, bottom0 = bottom;
  for (int k = 0; k < 3; ++k) {
    int a = k, b = (k + 1) % 3;
    TEdge e{X[b] - X[a], Y[b] - Y[a], X[a], Y[a], 0};
    bool topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
    e.bias = topLeft ? 0 : 1;
    if (e.dy == 0) {  // dx (256 j - ya) >= bias
      if (e.dx > 0)
        top0 = std::max(top0, CeilDiv(e.bias + e.dx * e.ya, e.dx * 256));
      else
        bottom0 = std::min(bottom0, FloorDiv(-e.dx * e.ya - e.bias, -e.dx * 256));
    } else if (e.dx == 0) {  // dy xa - 256 dy i >= bias
      if (e.dy < 0)
        lo0 = std::max(lo0, CeilDiv(e.bias - e.dy * e.xa, -e.dy * 256));
      else
        hi0 = std::min(hi0, FloorDiv(e.dy * e.xa - e.bias, e.dy * 256));
    } else {
      slanted[slantedCount++] = e;
    }
  }
  for (int64_t j = top0; j <= bottom0; ++j) {
    int64_t lo = lo0, hi = hi0;
    for (int k = 0; k < slantedCount; ++k) {
      const TEdge& e = slanted[k];
      int64_t c = e.dx * (j * 256 - e.ya) + e.dy * e.xa;
      if (e.dy < 0)
        lo = std::max(lo, CeilDiv(e.bias - c, -e.dy * 256));
      else
        hi = std::min(hi, FloorDiv(c - e.bias, e.dy * 256));
    }
    if (lo <= hi) ShadeSpan(p, int32_t(j), int32_t(lo), int32_t(hi + 1));
  }
}

void RasterLine(const TRasterState& st, const TRasterVertex& va, const TRasterVertex& vb) {
  if (!st.target || st.scissor.IsEmpty() || !Finite(va) || !Finite(vb)) return;
  double dx = double(vb.x) - va.x, dy = double(vb.y) - va.y;
  bool xMajor = std::fabs(dx) >= std::fabs(dy);
  if ((xMajor ? dx : dy) == 0) return;
  // Walk from the smaller major coordinate; attributes follow the walk.
  const TRasterVertex* v[2] = {&va, &vb};
  if ((xMajor ? dx : dy) < 0) std::swap(v[0], v[1]);
  double x0 = std::clamp<double>(v[0]->x, -kMaxCoord, kMaxCoord);
  double y0 = std::clamp<double>(v[0]->y, -kMaxCoord, kMaxCoord);
  double x1 = std::clamp<double>(v[1]->x, -kMaxCoord, kMaxCoord);
  double y1 = std::clamp<double>(v[1]->y, -kMaxCoord, kMaxCoord);
  double from = xMajor ? x0 : y0, to = xMajor ? x1 : y1;
  double slope = xMajor ? (y1 - y0) / (x1 - x0) : (x1 - x0) / (y1 - y0);
  int64_t first = int64_t(std::ceil(from)), last = int64_t(std::ceil(to)) - 1;
  const TRect& s = st.scissor;
  first = std::max<int64_t>(first, xMajor ? s.left : s.top);
  last = std::min<int64_t>(last, (xMajor ? s.right : s.bottom) - 1);
  if (first > last) return;

  TPlaneMap m;
  m.line = true;
  m.x0 = x0, m.y0 = y0;
  (xMajor ? m.kx : m.ky) = 1.0 / (to - from);
  m.ox = int32_t(xMajor ? first : 0);
  m.oy = int32_t(xMajor ? 0 : first);
  TPrim p;
  SetupPrim(&p, st, m, v, va);
  if (xMajor && y0 == y1) {
    // A level line lights one row: shaded as a span in one pass, pixel for pixel as below.
    const int64_t row = int64_t(std::floor(y0 + 0.5));
    if (row >= s.top && row < s.bottom)
      ShadeSpan(p, int32_t(row), int32_t(first), int32_t(last + 1));
    return;
  }
  for (int64_t t = first; t <= last; ++t) {
    int64_t minor = int64_t(std::floor((xMajor ? y0 : x0) + (double(t) - from) * slope + 0.5));
    int64_t px = xMajor ? t : minor, py = xMajor ? minor : t;
    if (px < s.left || px >= s.right || py < s.top || py >= s.bottom) continue;
    ShadeSpan(p, int32_t(py), int32_t(px), int32_t(px + 1));
  }
}

void RasterCoverage(const TRasterState& st, const TRasterCoverageGlyph* glyphs, size_t count) {
  if (!st.target || st.scissor.IsEmpty() || count == 0) return;
  // The write stage of an untextured primitive without depth.
  TPrim p;
  p.st = &st;
  ChooseFastPaths(&p);
  const bool passesDiffuse =
      StagePassesDiffuse(st.colorOp, st.colorArg1, st.colorArg2) &&
      (st.colorOp == kTopDisable || StagePassesDiffuse(st.alphaOp, st.alphaArg1, st.alphaArg2));
  const bool fast = gFastPaths && p.write != TWrite::kGeneral;
  if (fast && passesDiffuse && p.write == TWrite::kBlendAlpha) {
    if (gAvx512)
      BlendCoverageGlyphsAvx512(st, glyphs, count);
    else if (gAvx2)
      BlendCoverageGlyphsAvx2(st, glyphs, count);
    else
      BlendCoverageGlyphs(st, glyphs, count);
    return;
  }
  for (size_t k = 0; k < count; ++k) {
    const TRasterCoverageGlyph& g = glyphs[k];
    const uint8_t* rowCoverage = g.coverage;
    for (uint32_t j = 0; j < g.rowCount; rowCoverage += g.rows[j].count, ++j) {
      const TRasterGlyphRow& r = g.rows[j];
      int32_t x0, y;
      int n, skip;
      if (!ClipGlyphRow(st.scissor, g, r, &x0, &y, &n, &skip)) continue;
      // Runs of equal coverage, each a span of its covered colour.
      const uint8_t* coverage = rowCoverage + skip;
      const uint32_t colour = g.colours[r.slot & 3];
      for (int i = 0; i < n;) {
        int end = i + 1;
        while (end < n && coverage[end] == coverage[i]) ++end;
        if (coverage[i] != 0)
          WriteColourSpan(p, fast, passesDiffuse, y, x0 + i, x0 + end,
                          CoveredColour(colour, coverage[i]));
        i = end;
      }
    }
  }
}

}  // namespace sd
