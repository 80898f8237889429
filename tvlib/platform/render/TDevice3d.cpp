// The 3-D device of the software rendering device: state, vertex processing and clipping.
#include "tvlib/platform/render/TDevice3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tvlib/platform/render/TDeviceMath.h"
#include "tvlib/platform/render/TFaultHook.h"

namespace sd {

namespace {

// Largest texture side the device reports (the engine refuses devices below 1024).
constexpr uint32_t kMaxTexture = 2048;
// Guard band: geometry is clipped this many viewport half-sizes out from the centre; the viewport
// scissor removes the rest, and screen coordinates stay small.
constexpr double kGuardBand = 4.0;

bool Is32BitRgb(const TPixelFormat& f) {
  return f.bitCount == 32 && (f.flags & kPfRgb) && !IsPalettised(f) && f.rMask == 0xFF0000 &&
         f.gMask == 0xFF00 && f.bMask == 0xFF;
}

// Where the parts of one vertex lie, in bytes from its start.
struct TFvfLayout {
  bool screen = false;
  int normal = -1, diffuse = -1, specular = -1, tex = -1;
  int stride = 0;
};

bool ParseFvf(uint32_t fvf, TFvfLayout* out) {
  constexpr uint32_t kKnown = kFvfXyz | kFvfXyzRhw | kFvfNormal | kFvfReserved1 | kFvfDiffuse |
                              kFvfSpecular | kFvfTexCountMask;
  if (fvf & ~kKnown) return false;
  uint32_t pos = fvf & (kFvfXyz | kFvfXyzRhw);
  if (pos != kFvfXyz && pos != kFvfXyzRhw) return false;
  TFvfLayout l;
  l.screen = pos == kFvfXyzRhw;
  int at = l.screen ? 16 : 12;
  if (fvf & kFvfNormal) {
    if (l.screen) return false;
    l.normal = at, at += 12;
  }
  if (fvf & kFvfReserved1) at += 4;
  if (fvf & kFvfDiffuse) l.diffuse = at, at += 4;
  if (fvf & kFvfSpecular) l.specular = at, at += 4;
  uint32_t texCount = (fvf & kFvfTexCountMask) >> kFvfTexCountShift;
  if (texCount > 8) return false;
  if (texCount) l.tex = at;
  at += int(texCount) * 8;
  l.stride = at;
  *out = l;
  return true;
}

float ReadFloat(const uint8_t* p) {
  float f;
  std::memcpy(&f, p, 4);
  return f;
}
uint32_t ReadU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// A vertex in clip space, with colours as floats 0..1 (so clipping can interpolate them).
struct TClipVertex {
  double x = 0, y = 0, z = 0, w = 1;
  float diffuse[4] = {1, 1, 1, 1}, specular[4] = {};
  float u = 0, v = 0;
};

void Unpack(uint32_t c, float* out) {  // b, g, r, a order by shift
  for (int i = 0; i < 4; ++i) out[i] = float((c >> (i * 8)) & 255) / 255.0f;
}
uint32_t Pack(const float* c) {
  uint32_t r = 0;
  for (int i = 0; i < 4; ++i) {
    float v = std::clamp(c[i], 0.0f, 1.0f);
    r |= uint32_t(std::lround(v * 255.0f)) << (i * 8);
  }
  return r;
}

TClipVertex Lerp(const TClipVertex& a, const TClipVertex& b, double t) {
  TClipVertex r;
  r.x = a.x + (b.x - a.x) * t, r.y = a.y + (b.y - a.y) * t;
  r.z = a.z + (b.z - a.z) * t, r.w = a.w + (b.w - a.w) * t;
  for (int i = 0; i < 4; ++i) {
    r.diffuse[i] = float(a.diffuse[i] + (b.diffuse[i] - a.diffuse[i]) * t);
    r.specular[i] = float(a.specular[i] + (b.specular[i] - a.specular[i]) * t);
  }
  r.u = float(a.u + (b.u - a.u) * t), r.v = float(a.v + (b.v - a.v) * t);
  return r;
}

// Signed distance to clip plane k (inside when >= 0). The first five planes always apply: w must
// stay positive and the guard band keeps screen coordinates small; the near and far planes only
// with kRsClipping.
double PlaneDistance(const TClipVertex& v, int k) {
  switch (k) {
    case 0:
      return v.w - 1e-9;
    case 1:
      return kGuardBand * v.w - v.x;
    case 2:
      return kGuardBand * v.w + v.x;
    case 3:
      return kGuardBand * v.w - v.y;
    case 4:
      return kGuardBand * v.w + v.y;
    case 5:
      return v.z;
    default:
      return v.w - v.z;
  }
}
constexpr int kAlwaysPlanes = 5;
constexpr int kAllPlanes = 7;

// A triangle clipped by at most kAllPlanes planes: each plane adds at most one corner.
struct TClipPolygon {
  TClipVertex v[3 + kAllPlanes];
  int n = 0;
};

// Clips a convex polygon against the planes (Sutherland-Hodgman).
void ClipPolygon(TClipPolygon* poly, int planes) {
  TClipPolygon out;
  for (int k = 0; k < planes && poly->n > 0; ++k) {
    out.n = 0;
    for (int i = 0; i < poly->n; ++i) {
      const TClipVertex& a = poly->v[i];
      const TClipVertex& b = poly->v[(i + 1) % poly->n];
      double da = PlaneDistance(a, k), db = PlaneDistance(b, k);
      if (da >= 0) out.v[out.n++] = a;
      if ((da >= 0) != (db >= 0)) out.v[out.n++] = Lerp(a, b, da / (da - db));
    }
    *poly = out;
  }
}

bool ClipSegment(TClipVertex* a, TClipVertex* b, int planes) {
  for (int k = 0; k < planes; ++k) {
    double da = PlaneDistance(*a, k), db = PlaneDistance(*b, k);
    if (da < 0 && db < 0) return false;
    if (da < 0)
      *a = Lerp(*a, *b, da / (da - db));
    else if (db < 0)
      *b = Lerp(*a, *b, da / (da - db));
  }
  return true;
}

TVector3 TransformPoint(const TVector3& p, const TMatrix& m) {
  return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
          p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
          p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}
TVector3 TransformDirection(const TVector3& d, const TMatrix& m) {
  return {d.x * m.m[0][0] + d.y * m.m[1][0] + d.z * m.m[2][0],
          d.x * m.m[0][1] + d.y * m.m[1][1] + d.z * m.m[2][1],
          d.x * m.m[0][2] + d.y * m.m[1][2] + d.z * m.m[2][2]};
}
float Dot(const TVector3& a, const TVector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
TVector3 Normalise(const TVector3& v) {
  float len = std::sqrt(Dot(v, v));
  return len > 0 ? TVector3{v.x / len, v.y / len, v.z / len} : v;
}

void ToFloats(const TColorValue& c, float* out) {  // b, g, r, a order
  out[0] = c.b, out[1] = c.g, out[2] = c.r, out[3] = c.a;
}

}  // namespace

// Turns the vertices of one draw call into clip-space or screen-space vertices.
struct TVertexPipeline {
  const TDevice3d& dev;
  TFvfLayout layout;
  const uint8_t* base;
  TMatrix worldView, worldViewProj;
  bool lighting;

  struct TViewLight {
    const TLight* light;
    TVector3 position, direction;
  };
  std::vector<TViewLight> lights;

  TVertexPipeline(const TDevice3d& d, const TFvfLayout& l, const void* vertices)
      : dev(d), layout(l), base(static_cast<const uint8_t*>(vertices)) {
    worldView = Multiply(d.mWorld, d.mView);
    worldViewProj = Multiply(worldView, d.mProjection);
    lighting = !l.screen && d.mRs[kRsLighting];
    if (lighting) {
      for (const auto& [index, light] : d.mLights) {
        auto on = d.mLightOn.find(index);
        if (on == d.mLightOn.end() || !on->second) continue;
        lights.push_back({&light, TransformPoint(light.position, d.mView),
                          Normalise(TransformDirection(light.direction, d.mView))});
      }
    }
  }

  TRasterVertex Screen(uint32_t i) const {
    const uint8_t* p = base + size_t(i) * layout.stride;
    TRasterVertex r;
    r.x = ReadFloat(p), r.y = ReadFloat(p + 4), r.z = ReadFloat(p + 8), r.rhw = ReadFloat(p + 12);
    if (layout.diffuse >= 0) r.diffuse = ReadU32(p + layout.diffuse);
    if (layout.specular >= 0) r.specular = ReadU32(p + layout.specular);
    if (layout.tex >= 0) r.u = ReadFloat(p + layout.tex), r.v = ReadFloat(p + layout.tex + 4);
    return r;
  }

  // The colour source a material-source state picks.
  void Source(uint32_t state, const TColorValue& material, const float* diffuse,
              const float* specular, float* out) const {
    uint32_t src = dev.mRs[kRsColorVertex] ? dev.mRs[state] : kMcsMaterial;
    if (src == kMcsColor1 && layout.diffuse >= 0) return (void)std::copy_n(diffuse, 4, out);
    if (src == kMcsColor2 && layout.specular >= 0) return (void)std::copy_n(specular, 4, out);
    ToFloats(material, out);
  }

  void Light(const TVector3& pos, const TVector3& normal, float* diffuse, float* specular) const {
    float md[4], ma[4], ms[4], me[4];
    Source(kRsDiffuseMaterialSource, dev.mMaterial.diffuse, diffuse, specular, md);
    Source(kRsAmbientMaterialSource, dev.mMaterial.ambient, diffuse, specular, ma);
    Source(kRsSpecularMaterialSource, dev.mMaterial.specular, diffuse, specular, ms);
    Source(kRsEmissiveMaterialSource, dev.mMaterial.emissive, diffuse, specular, me);
    float ambient[4];
    Unpack(dev.mRs[kRsAmbient], ambient);
    float dsum[3] = {}, ssum[3] = {}, asum[3] = {ambient[0], ambient[1], ambient[2]};
    TVector3 n = dev.mRs[kRsNormalizeNormals] ? Normalise(normal) : normal;
    for (const TViewLight& vl : lights) {
      const TLight& L = *vl.light;
      TVector3 toLight;
      float atten = 1.0f;
      if (L.type == kLightDirectional) {
        toLight = {-vl.direction.x, -vl.direction.y, -vl.direction.z};
      } else {
        TVector3 d{vl.position.x - pos.x, vl.position.y - pos.y, vl.position.z - pos.z};
        float dist = std::sqrt(Dot(d, d));
        if (L.range > 0 && dist > L.range) continue;
        toLight = Normalise(d);
        float q = L.attenuation0 + L.attenuation1 * dist + L.attenuation2 * dist * dist;
        atten = q > 0 ? 1.0f / q : 1.0f;
        if (L.type == kLightSpot) {
          float rho = -Dot(toLight, vl.direction);
          float inner = std::cos(L.theta / 2), outer = std::cos(L.phi / 2);
          if (rho <= outer) continue;
          if (rho < inner && inner > outer)
            atten *= std::pow((rho - outer) / (inner - outer), L.falloff);
        }
      }
      float nl = std::max(0.0f, Dot(n, toLight));
      float ld[4], ls[4], la[4];
      ToFloats(L.diffuse, ld), ToFloats(L.specular, ls), ToFloats(L.ambient, la);
      float spec = 0;
      if (nl > 0 && dev.mRs[kRsSpecularEnable]) {
        TVector3 view = Normalise(TVector3{-pos.x, -pos.y, -pos.z});
        TVector3 h =
            Normalise(TVector3{toLight.x + view.x, toLight.y + view.y, toLight.z + view.z});
        spec = std::pow(std::max(0.0f, Dot(n, h)), dev.mMaterial.power);
      }
      for (int c = 0; c < 3; ++c) {
        dsum[c] += ld[c] * nl * atten;
        ssum[c] += ls[c] * spec * atten;
        asum[c] += la[c] * atten;
      }
    }
    for (int c = 0; c < 3; ++c) {
      diffuse[c] = me[c] + asum[c] * ma[c] + dsum[c] * md[c];
      specular[c] = ssum[c] * ms[c];
    }
    diffuse[3] = md[3];
    specular[3] = ms[3];
  }

  TClipVertex Clip(uint32_t i) const {
    const uint8_t* p = base + size_t(i) * layout.stride;
    TVector3 pos{ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8)};
    const TMatrix& m = worldViewProj;
    TClipVertex r;
    r.x = double(pos.x) * m.m[0][0] + double(pos.y) * m.m[1][0] + double(pos.z) * m.m[2][0] +
          m.m[3][0];
    r.y = double(pos.x) * m.m[0][1] + double(pos.y) * m.m[1][1] + double(pos.z) * m.m[2][1] +
          m.m[3][1];
    r.z = double(pos.x) * m.m[0][2] + double(pos.y) * m.m[1][2] + double(pos.z) * m.m[2][2] +
          m.m[3][2];
    r.w = double(pos.x) * m.m[0][3] + double(pos.y) * m.m[1][3] + double(pos.z) * m.m[2][3] +
          m.m[3][3];
    if (layout.diffuse >= 0) Unpack(ReadU32(p + layout.diffuse), r.diffuse);
    if (layout.specular >= 0) Unpack(ReadU32(p + layout.specular), r.specular);
    if (layout.tex >= 0) r.u = ReadFloat(p + layout.tex), r.v = ReadFloat(p + layout.tex + 4);
    if (lighting) {
      TVector3 normal{};
      if (layout.normal >= 0)
        normal = {ReadFloat(p + layout.normal), ReadFloat(p + layout.normal + 4),
                  ReadFloat(p + layout.normal + 8)};
      Light(TransformPoint(pos, worldView), TransformDirection(normal, worldView), r.diffuse,
            r.specular);
    }
    return r;
  }

  TRasterVertex Project(const TClipVertex& c) const {
    const TViewport& vp = dev.mViewport;
    TRasterVertex r;
    double rhw = 1.0 / c.w;
    r.x = float(vp.x + (1.0 + c.x * rhw) * vp.width * 0.5);
    r.y = float(vp.y + (1.0 - c.y * rhw) * vp.height * 0.5);
    r.z = float(vp.minZ + c.z * rhw * (vp.maxZ - vp.minZ));
    r.rhw = float(rhw);
    r.diffuse = Pack(c.diffuse);
    r.specular = Pack(c.specular);
    r.u = c.u, r.v = c.v;
    return r;
  }
};

std::shared_ptr<TDevice3d> TDevice3d::Create(TSurfacePtr target, HR* result) {
  auto fail = [&](HR hr) {
    if (result) *result = hr;
    return std::shared_ptr<TDevice3d>();
  };
  if (HR hr = CheckFault(TCall::kCreateDevice)) return fail(hr);
  if (!target || !(target->Desc().caps & kCaps3dDevice) || !Is32BitRgb(target->Format()))
    return fail(kErrInvalidArg);
  std::shared_ptr<TDevice3d> d(new TDevice3d());
  d->mTarget = std::move(target);
  d->mViewport = TViewport{0, 0, uint32_t(d->mTarget->Width()), uint32_t(d->mTarget->Height())};
  // The device's power-on state.
  auto& rs = d->mRs;
  rs[kRsZEnable] = d->mTarget->GetAttachedSurface(kCapsZBuffer) ? 1 : 0;
  rs[kRsZWriteEnable] = 1;
  rs[kRsZFunc] = kCmpLessEqual;
  rs[kRsShadeMode] = kShadeGouraud;
  rs[kRsSrcBlend] = kBlendOne;
  rs[kRsDestBlend] = kBlendZero;
  rs[kRsCullMode] = kCullCcw;
  rs[kRsAlphaFunc] = kCmpAlways;
  rs[kRsTextureFactor] = 0xFFFFFFFF;
  rs[kRsClipping] = 1;
  rs[kRsLighting] = 1;
  rs[kRsColorVertex] = 1;
  rs[kRsDiffuseMaterialSource] = kMcsColor1;
  rs[kRsSpecularMaterialSource] = kMcsColor2;
  rs[kRsAmbientMaterialSource] = kMcsMaterial;
  rs[kRsEmissiveMaterialSource] = kMcsMaterial;
  for (auto& stage : d->mTss) {
    stage[kTssColorOp] = kTopDisable;
    stage[kTssColorArg1] = kTaTexture;
    stage[kTssColorArg2] = kTaCurrent;
    stage[kTssAlphaOp] = kTopDisable;
    stage[kTssAlphaArg1] = kTaTexture;
    stage[kTssAlphaArg2] = kTaCurrent;
    stage[kTssAddressU] = stage[kTssAddressV] = kTaddressWrap;
    stage[kTssMagFilter] = kTfgPoint;
    stage[kTssMinFilter] = kTfnPoint;
    stage[kTssMipFilter] = kTfpNone;
  }
  d->mTss[0][kTssColorOp] = kTopModulate;
  d->mTss[0][kTssAlphaOp] = kTopSelectArg1;
  if (result) *result = kOk;
  return d;
}

TDeviceDesc TDevice3d::Caps() {
  TDeviceDesc d;
  d.devCaps = kDevCapsHwRasterization | kDevCapsHwTransformAndLight;
  d.shadeCaps = kShadeCapsColorGouraudRgb | kShadeCapsSpecularGouraudRgb;
  d.textureCaps = 0;
  d.renderBitDepth = kBitDepth16 | kBitDepth32;
  d.zBufferBitDepth = kBitDepth16 | kBitDepth24 | kBitDepth32;
  d.maxTextureWidth = d.maxTextureHeight = kMaxTexture;
  d.maxTextureAspectRatio = kMaxTexture;
  d.guid[0] = 0x54565344;  // "TVSD": the one device of this kind
  return d;
}

HR TDevice3d::GetCaps(TDeviceDesc* out) const {
  if (!out) return kErrPointer;
  *out = Caps();
  return kOk;
}

HR TDevice3d::BeginScene() {
  if (HR hr = CheckFault(TCall::kBeginScene)) return hr;
  if (mTarget->IsLost()) return kErrSurfaceLost;
  ++mSceneDepth;
  return kOk;
}

HR TDevice3d::EndScene() {
  if (HR hr = CheckFault(TCall::kEndScene)) return hr;
  if (mSceneDepth == 0) return kErrSceneEndFailed;
  --mSceneDepth;
  return kOk;
}

HR TDevice3d::Clear(uint32_t count, const TRect* rects, uint32_t flags, uint32_t color, float z) {
  if (HR hr = CheckFault(TCall::kClear)) return hr;
  if (count && !rects) return kErrInvalidArg;
  if (mTarget->IsLost()) return kErrSurfaceLost;
  TRect vp{int32_t(mViewport.x), int32_t(mViewport.y), int32_t(mViewport.x + mViewport.width),
           int32_t(mViewport.y + mViewport.height)};
  TSurfacePtr depth = mTarget->GetAttachedSurface(kCapsZBuffer);
  uint32_t depthValue = 0;
  if (depth) {
    double v = std::clamp(double(z), 0.0, 1.0) * double(depth->Format().rMask);
    depthValue = uint32_t(v + 0.5);
  }
  for (uint32_t i = 0; i < std::max<uint32_t>(count, 1); ++i) {
    TRect r = Intersect(count ? rects[i] : vp, vp);
    if (r.IsEmpty()) continue;
    if (flags & kClearTarget) mTarget->Fill(r, color);
    if ((flags & kClearZBuffer) && depth && !depth->IsLost()) depth->Fill(r, depthValue);
  }
  return kOk;
}

HR TDevice3d::SetRenderTarget(TSurfacePtr target, uint32_t /*flags*/) {
  if (HR hr = CheckFault(TCall::kSetRenderTarget)) return hr;
  if (!target || !(target->Desc().caps & kCaps3dDevice)) return kErrInvalidArg;
  if (target->Format().bitCount == 16) return kErrCurrentlyNotAvail;
  if (!Is32BitRgb(target->Format())) return kErrInvalidArg;
  if (target->IsLost()) return kErrSurfaceLost;
  mTarget = std::move(target);
  mViewport = TViewport{0, 0, uint32_t(mTarget->Width()), uint32_t(mTarget->Height())};
  return kOk;
}

HR TDevice3d::SetViewport(const TViewport& vp) {
  if (HR hr = CheckFault(TCall::kSetViewport)) return hr;
  if (uint64_t(vp.x) + vp.width > uint64_t(mTarget->Width()) ||
      uint64_t(vp.y) + vp.height > uint64_t(mTarget->Height()) || !(vp.minZ >= 0.0f) ||
      !(vp.maxZ <= 1.0f) || !(vp.minZ <= vp.maxZ))
    return kErrInvalidArg;
  mViewport = vp;
  return kOk;
}

HR TDevice3d::GetViewport(TViewport* out) const {
  if (!out) return kErrPointer;
  *out = mViewport;
  return kOk;
}

HR TDevice3d::SetRenderState(uint32_t state, uint32_t value) {
  if (HR hr = CheckFault(TCall::kSetRenderState)) return hr;
  if (state >= kRsCount) return kErrInvalidArg;
  mRs[state] = value;
  return kOk;
}

HR TDevice3d::GetRenderState(uint32_t state, uint32_t* out) const {
  if (state >= kRsCount || !out) return kErrInvalidArg;
  *out = mRs[state];
  return kOk;
}

HR TDevice3d::SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value) {
  if (HR hr = CheckFault(TCall::kSetTextureStageState)) return hr;
  if (stage >= mTss.size() || state >= kTssCount) return kErrInvalidArg;
  if ((state == kTssColorOp || state == kTssAlphaOp) &&
      (value < kTopDisable || value > kTopModulate))
    return kErrInvalidArg;
  mTss[stage][state] = value;
  return kOk;
}

HR TDevice3d::GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* out) const {
  if (stage >= mTss.size() || state >= kTssCount || !out) return kErrInvalidArg;
  *out = mTss[stage][state];
  return kOk;
}

HR TDevice3d::SetTexture(uint32_t stage, TSurfacePtr texture) {
  if (HR hr = CheckFault(TCall::kSetTexture)) return hr;
  if (stage >= mTss.size()) return kErrInvalidArg;
  if (texture && IsDepth(texture->Format())) return kErrInvalidArg;
  if (stage == 0) mTexture = std::move(texture);
  return kOk;
}

HR TDevice3d::SetTransform(uint32_t which, const TMatrix& m) {
  if (HR hr = CheckFault(TCall::kSetTransform)) return hr;
  switch (which) {
    case kTransformWorld:
      mWorld = m;
      return kOk;
    case kTransformView:
      mView = m;
      return kOk;
    case kTransformProjection:
      mProjection = m;
      return kOk;
    default:
      return kErrInvalidArg;
  }
}

HR TDevice3d::GetTransform(uint32_t which, TMatrix* out) const {
  if (!out) return kErrPointer;
  switch (which) {
    case kTransformWorld:
      *out = mWorld;
      return kOk;
    case kTransformView:
      *out = mView;
      return kOk;
    case kTransformProjection:
      *out = mProjection;
      return kOk;
    default:
      return kErrInvalidArg;
  }
}

HR TDevice3d::SetMaterial(const TMaterial& m) {
  if (HR hr = CheckFault(TCall::kSetMaterial)) return hr;
  mMaterial = m;
  return kOk;
}

HR TDevice3d::GetMaterial(TMaterial* out) const {
  if (!out) return kErrPointer;
  *out = mMaterial;
  return kOk;
}

HR TDevice3d::SetLight(uint32_t index, const TLight& light) {
  if (HR hr = CheckFault(TCall::kSetLight)) return hr;
  if (index >= kMaxLights ||
      (light.type != kLightPoint && light.type != kLightSpot && light.type != kLightDirectional))
    return kErrInvalidArg;
  mLights[index] = light;
  return kOk;
}

HR TDevice3d::GetLight(uint32_t index, TLight* out) const {
  auto it = mLights.find(index);
  if (!out || it == mLights.end()) return kErrInvalidArg;
  *out = it->second;
  return kOk;
}

HR TDevice3d::LightEnable(uint32_t index, bool on) {
  if (HR hr = CheckFault(TCall::kLightEnable)) return hr;
  if (index >= kMaxLights) return kErrInvalidArg;
  // Enabling a slot never set gives it the default light, as the device always did.
  if (on && !mLights.count(index)) {
    TLight l;
    l.diffuse = {1, 1, 1, 0};
    l.direction = {0, 0, 1};
    mLights[index] = l;
  }
  mLightOn[index] = on;
  return kOk;
}

HR TDevice3d::BuildRasterState(TRasterState* st, bool textured) {
  if (mTarget->IsLost() || (textured && mTexture && mTexture->IsLost())) return kErrSurfaceLost;
  st->target = reinterpret_cast<uint32_t*>(mTarget->Bits());
  st->targetPitch = mTarget->Pitch() / 4;
  st->scissor = Intersect(
      TRect{int32_t(mViewport.x), int32_t(mViewport.y), int32_t(mViewport.x + mViewport.width),
            int32_t(mViewport.y + mViewport.height)},
      TRect{0, 0, mTarget->Width(), mTarget->Height()});
  TSurfacePtr depth = mTarget->GetAttachedSurface(kCapsZBuffer);
  if (depth && !depth->IsLost()) {
    st->depth = depth->Bits();
    st->depthPitch = depth->Pitch();
    st->depthBytes = BytesPerPixel(depth->Format());
    st->depthMax = depth->Format().rMask;
    // A draw that may write depth ends what the depth buffer is known to hold.
    if (mRs[kRsZEnable] && mRs[kRsZWriteEnable]) depth->NoteWritten(st->scissor);
  }
  st->zEnable = mRs[kRsZEnable] != 0;
  st->zWrite = mRs[kRsZWriteEnable] != 0;
  st->zFunc = mRs[kRsZFunc];
  for (TSurface* level = textured ? mTexture.get() : nullptr;
       level && st->levelCount < TRasterState::kMaxLevels;) {
    TRasterTexture& t = st->levels[st->levelCount++];
    t.texels = level->SampleArgb(&t.pitch);
    t.width = level->Width(), t.height = level->Height();
    TSurfacePtr next = level->GetAttachedSurface(kCapsMipMap);
    level = next.get();
  }
  const auto& t = mTss[0];
  st->magFilter = t[kTssMagFilter], st->minFilter = t[kTssMinFilter];
  st->mipFilter = t[kTssMipFilter];
  st->addressU = t[kTssAddressU], st->addressV = t[kTssAddressV];
  st->colorOp = t[kTssColorOp], st->colorArg1 = t[kTssColorArg1], st->colorArg2 = t[kTssColorArg2];
  st->alphaOp = t[kTssAlphaOp], st->alphaArg1 = t[kTssAlphaArg1], st->alphaArg2 = t[kTssAlphaArg2];
  st->textureFactor = mRs[kRsTextureFactor];
  st->specularEnable = mRs[kRsSpecularEnable] != 0;
  st->alphaTest = mRs[kRsAlphaTestEnable] != 0;
  st->alphaRef = mRs[kRsAlphaRef], st->alphaFunc = mRs[kRsAlphaFunc];
  st->blend = mRs[kRsAlphaBlendEnable] != 0;
  st->srcBlend = mRs[kRsSrcBlend], st->destBlend = mRs[kRsDestBlend];
  st->shadeMode = mRs[kRsShadeMode], st->cullMode = mRs[kRsCullMode];
  return kOk;
}

HR TDevice3d::DrawPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count,
                            uint32_t /*flags*/) {
  if (HR hr = CheckFault(TCall::kDrawPrimitive)) return hr;
  return Draw(type, fvf, vertices, count, nullptr, count);
}

HR TDevice3d::DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices,
                                   uint32_t count, const uint16_t* indices, uint32_t indexCount,
                                   uint32_t /*flags*/) {
  if (HR hr = CheckFault(TCall::kDrawIndexedPrimitive)) return hr;
  if (indexCount && !indices) return kErrInvalidArg;
  for (uint32_t i = 0; i < indexCount; ++i)
    if (indices[i] >= count) return kErrInvalidArg;
  return Draw(type, fvf, vertices, count, indices, indexCount);
}

HR TDevice3d::DrawCoverage(const TRasterCoverageGlyph* glyphs, uint32_t count) {
  if (HR hr = CheckFault(TCall::kDrawCoverage)) return hr;
  if (count && !glyphs) return kErrInvalidArg;
  for (uint32_t k = 0; k < count; ++k)
    if (glyphs[k].rowCount && (!glyphs[k].rows || !glyphs[k].coverage)) return kErrInvalidArg;
  if (mSceneDepth == 0) return kErrFail;
  TRasterState st;
  if (HR hr = BuildRasterState(&st, false)) return hr;
  if (count == 0 || st.scissor.IsEmpty()) return kOk;
  RasterCoverage(st, glyphs, count);
  mTarget->NoteWritten(st.scissor);
  return kOk;
}

HR TDevice3d::Draw(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count,
                   const uint16_t* indices, uint32_t n) {
  TFvfLayout layout;
  if (!ParseFvf(fvf, &layout) || type < kPtLineList || type > kPtTriangleFan ||
      (count && !vertices))
    return kErrInvalidArg;
  if (mSceneDepth == 0) return kErrFail;
  TRasterState st;
  if (HR hr = BuildRasterState(&st)) return hr;
  if (n == 0 || st.scissor.IsEmpty()) return kOk;

  TVertexPipeline vp(*this, layout, vertices);
  int planes = mRs[kRsClipping] ? kAllPlanes : kAlwaysPlanes;
  auto index = [&](uint32_t k) -> uint32_t { return indices ? indices[k] : k; };
  auto triangle = [&](uint32_t a, uint32_t b, uint32_t c) {
    if (layout.screen) {
      RasterTriangle(st, vp.Screen(a), vp.Screen(b), vp.Screen(c));
      return;
    }
    TClipPolygon poly;
    poly.v[0] = vp.Clip(a), poly.v[1] = vp.Clip(b), poly.v[2] = vp.Clip(c), poly.n = 3;
    ClipPolygon(&poly, planes);
    for (int k = 2; k < poly.n; ++k)
      RasterTriangle(st, vp.Project(poly.v[0]), vp.Project(poly.v[k - 1]), vp.Project(poly.v[k]));
  };
  auto line = [&](uint32_t a, uint32_t b) {
    if (layout.screen) {
      RasterLine(st, vp.Screen(a), vp.Screen(b));
      return;
    }
    TClipVertex ca = vp.Clip(a), cb = vp.Clip(b);
    if (ClipSegment(&ca, &cb, planes)) RasterLine(st, vp.Project(ca), vp.Project(cb));
  };
  switch (type) {
    case kPtLineList:
      for (uint32_t k = 0; k + 1 < n; k += 2) line(index(k), index(k + 1));
      break;
    case kPtLineStrip:
      for (uint32_t k = 0; k + 1 < n; ++k) line(index(k), index(k + 1));
      break;
    case kPtTriangleList:
      for (uint32_t k = 0; k + 2 < n; k += 3) triangle(index(k), index(k + 1), index(k + 2));
      break;
    case kPtTriangleStrip:
      // Every second triangle is turned round so that all keep the strip's winding.
      for (uint32_t k = 0; k + 2 < n; ++k)
        if (k % 2 == 0)
          triangle(index(k), index(k + 1), index(k + 2));
        else
          triangle(index(k + 1), index(k), index(k + 2));
      break;
    case kPtTriangleFan:
      // Each triangle starts at its first outer vertex, whose colours flat shading takes.
      for (uint32_t k = 1; k + 1 < n; ++k) triangle(index(k), index(k + 1), index(0));
      break;
  }
  mTarget->NoteWritten(st.scissor);
  return kOk;
}

}  // namespace sd
