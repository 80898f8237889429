// The 3-D device of the software rendering device: render and texture-stage states, transforms,
// viewport, material and lights, the scene bracket, clears, and drawing of triangle lists, strips
// and fans, of line lists and strips in the vertex formats the engine uses, and of span batches.
//
// Needs: TSurface (render target, depth buffer, textures), TRaster. Made by
// TDisplay::CreateDevice on a 32-bit surface with kCaps3dDevice. Every call answers a result code
// of SdDefs.h and passes the fault hook first.
//
// Vertices: screen-space ones (kFvfXyzRhw) are drawn as given; others are transformed by world,
// view and projection, lit when kRsLighting is set (directional, point and spot lights on the
// material, colours from the material or the vertex as the material-source states say), clipped
// against a guard band (and the near and far planes while kRsClipping is set), and mapped to the
// viewport. The viewport always clips, whatever kRsClipping says. Limits: one texture stage (stage
// 1 states are stored and ignored), mip level chosen per primitive, no fog, no point primitives.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "tvlib/platform/render/SdDefs.h"
#include "tvlib/platform/render/TDeviceTypes.h"
#include "tvlib/platform/render/TRaster.h"
#include "tvlib/platform/render/TSurface.h"

namespace sd {

class TDevice3d {
 public:
  // A device drawing into `target`: kErrInvalidArg unless it is a 32-bit RGB surface made for 3-D.
  static std::shared_ptr<TDevice3d> Create(TSurfacePtr target, HR* result);

  // The capabilities every device of this kind reports (hardware rasterisation and transform,
  // 16- and 32-bit rendering, Gouraud colour and specular, textures up to 2048 x 2048).
  static TDeviceDesc Caps();
  HR GetCaps(TDeviceDesc* out) const;

  // Scene bracket. Scenes nest (a render-target switch inside a frame begins one more);
  // kErrSurfaceLost when the render target is lost; EndScene without a scene gives
  // kErrSceneEndFailed. Drawing outside a scene is refused with kErrFail.
  HR BeginScene();
  HR EndScene();

  // Clears the viewport (rects null or count 0) or the given rectangles, clipped to the viewport:
  // kClearTarget with the ARGB colour, kClearZBuffer with depth z (0..1). Clearing depth without a
  // depth buffer is not an error.
  HR Clear(uint32_t count, const TRect* rects, uint32_t flags, uint32_t color, float z);

  // Draws into another surface: kErrCurrentlyNotAvail for a 16-bit surface (the device renders only
  // 32 bits), kErrInvalidArg for one not made for 3-D. The viewport becomes the whole surface.
  HR SetRenderTarget(TSurfacePtr target, uint32_t flags = 0);
  TSurfacePtr GetRenderTarget() const { return mTarget; }

  // kErrInvalidArg when the rectangle leaves the render target; an empty one is accepted.
  HR SetViewport(const TViewport& vp);
  HR GetViewport(TViewport* out) const;

  // Unknown ids give kErrInvalidArg.
  HR SetRenderState(uint32_t state, uint32_t value);
  HR GetRenderState(uint32_t state, uint32_t* out) const;
  // Stages 0 and 1; operations other than disable, select and modulate give kErrInvalidArg.
  HR SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value);
  HR GetTextureStageState(uint32_t stage, uint32_t state, uint32_t* out) const;
  // Binds a texture to stage 0 (null unbinds: the stage then reads opaque white).
  HR SetTexture(uint32_t stage, TSurfacePtr texture);
  TSurfacePtr GetTexture(uint32_t stage) const { return stage == 0 ? mTexture : nullptr; }

  HR SetTransform(uint32_t which, const TMatrix& m);
  HR GetTransform(uint32_t which, TMatrix* out) const;
  HR SetMaterial(const TMaterial& m);
  HR GetMaterial(TMaterial* out) const;
  // Light slots 0..kMaxLights-1; a light is used only while enabled.
  static constexpr uint32_t kMaxLights = 256;
  HR SetLight(uint32_t index, const TLight& light);
  HR GetLight(uint32_t index, TLight* out) const;
  HR LightEnable(uint32_t index, bool on);

  // Draws count vertices of format fvf as primitives of `type`. A count too small for one
  // primitive draws nothing and succeeds. kErrInvalidArg for an unknown format or type, or null
  // vertices with a non-zero count; kErrSurfaceLost when the target or texture is lost.
  HR DrawPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count,
                   uint32_t flags = 0);
  // The same through 16-bit indices; every index must be below count (else kErrInvalidArg).
  HR DrawIndexedPrimitive(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count,
                          const uint16_t* indices, uint32_t indexCount, uint32_t flags = 0);
  // Draws a batch of coverage glyphs (TRaster.h) in screen space, blended as the render states
  // say; the bound texture and the depth buffer are not used. kErrInvalidArg for null glyphs
  // with a non-zero count, or a glyph with rows but without row records or coverage bytes.
  HR DrawCoverage(const TRasterCoverageGlyph* glyphs, uint32_t count);

 private:
  TDevice3d() = default;
  HR Draw(uint32_t type, uint32_t fvf, const void* vertices, uint32_t count,
          const uint16_t* indices, uint32_t indexCount);
  // Without `textured`, the bound texture is neither read nor checked.
  HR BuildRasterState(TRasterState* st, bool textured = true);

  TSurfacePtr mTarget;
  TSurfacePtr mTexture;
  TViewport mViewport;
  int mSceneDepth = 0;
  std::array<uint32_t, kRsCount> mRs{};
  std::array<std::array<uint32_t, kTssCount>, 2> mTss{};
  TMatrix mWorld = TMatrix::Identity(), mView = TMatrix::Identity(),
          mProjection = TMatrix::Identity();
  TMaterial mMaterial;
  std::map<uint32_t, TLight> mLights;
  std::map<uint32_t, bool> mLightOn;

  friend struct TVertexPipeline;
};

using TDevicePtr = std::shared_ptr<TDevice3d>;

}  // namespace sd
