// The device states the engine's 2-D drawing sets before it draws (texture modulated by the vertex
// colour, linear filtering, clamped addressing, source-alpha blending, alpha test dropping alpha 0,
// no depth, no culling, no clipping), shared by the render tests and benchmarks.
#pragma once

#include "tvlib/platform/render/TDevice3d.h"

namespace sd::test {

inline void SetEngine2dStates(TDevice3d& d) {
  d.SetTextureStageState(0, kTssColorArg1, kTaTexture);
  d.SetTextureStageState(0, kTssColorArg2, kTaCurrent);
  d.SetTextureStageState(0, kTssColorOp, kTopModulate);
  d.SetTextureStageState(0, kTssAlphaArg1, kTaTexture);
  d.SetTextureStageState(0, kTssAlphaArg2, kTaDiffuse);
  d.SetTextureStageState(0, kTssAlphaOp, kTopModulate);
  d.SetTextureStageState(0, kTssMagFilter, kTfgLinear);
  d.SetTextureStageState(0, kTssMinFilter, kTfnLinear);
  d.SetTextureStageState(0, kTssAddressU, kTaddressClamp);
  d.SetTextureStageState(0, kTssAddressV, kTaddressClamp);
  d.SetRenderState(kRsSrcBlend, kBlendSrcAlpha);
  d.SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);
  d.SetRenderState(kRsAlphaBlendEnable, 1);
  d.SetRenderState(kRsZEnable, 0);
  d.SetRenderState(kRsCullMode, kCullNone);
  d.SetRenderState(kRsZWriteEnable, 0);
  d.SetRenderState(kRsClipping, 0);
  d.SetRenderState(kRsLighting, 0);
  d.SetRenderState(kRsAlphaTestEnable, 1);
  d.SetRenderState(kRsAlphaRef, 1);
  d.SetRenderState(kRsAlphaFunc, kCmpGreaterEqual);
}

}  // namespace sd::test
