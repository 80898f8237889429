// The drawing record of a sprite: its 2-D transform, registration point, tint, alpha, source
// rectangle, flags and blend mode, and the rule that composes it with the parent's record
// while a sprite tree is drawn. Plain value, copied freely; UI thread only.
#pragma once

#include <cstdint>

#include "tvlib/core/TMat3.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TVec.h"

// Record flags: the two mirror bits are the texture's own (kDrawMirrorX 1, kDrawMirrorY 2).
inline constexpr uint32_t kSpecMirrorX = 1;
inline constexpr uint32_t kSpecMirrorY = 2;
inline constexpr uint32_t kSpecSourceRect = 4;    // draw the source rectangle only
inline constexpr uint32_t kSpecRegistration = 8;  // place the image by its origin, not centred
inline constexpr int32_t kBlendInherit = -1;

struct TDrawColor {
  float r = 1, g = 1, b = 1, a = 1;
};

struct TDrawSpec {
  TMat3 transform;
  TVec2 origin;
  TDrawColor colour;
  float alpha = 1.0f;
  TRect sourceRect;
  uint32_t flags = 0;
  int32_t blend = kBlendInherit;

  // Identity transform, scaled uniformly when scale is not 1, then moved to position.
  explicit TDrawSpec(TVec2 position = TVec2(), float alpha = 1.0f, float scale = 1.0f,
                     uint32_t flags = 0);

  // This record under `parent`: transforms multiplied (this one first), alphas multiplied,
  // mirror bits toggled by the parent's, blend taken from the parent when not set here;
  // origin, colour, source rectangle and the other flags stay this record's own.
  TDrawSpec Combine(const TDrawSpec& parent) const;

  TVec2 GetPosition() const { return TVec2(transform.m[2][0], transform.m[2][1]); }
  void SetPosition(TVec2 position) {
    transform.m[2][0] = position.x;
    transform.m[2][1] = position.y;
  }
  // Scales the linear part by s, leaving the translation where it is.
  void ScaleInPlace(float s);
};
