// 3x3 float matrix for the 2-D affine transforms of sprites and animations.
//
// Row-major (m00 m01 m02 / m10 m11 m12 / m20 m21 m22). Points are row vectors multiplied
// on the left, so the translation sits in the third row:
//   x' = x*m00 + y*m10 + m20,  y' = x*m01 + y*m11 + m21.
// a * b applies a first, then b. A positive rotation angle turns +x towards +y, which is
// clockwise on the screen (its y axis points down).
#pragma once

#include "tvlib/core/TVec.h"

struct TMat3 {
  float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};  // identity

  TMat3() = default;
  TMat3(float m00, float m01, float m02, float m10, float m11, float m12, float m20, float m21,
        float m22)
      : m{{m00, m01, m02}, {m10, m11, m12}, {m20, m21, m22}} {}

  static TMat3 Rotation(float radians);

  // this = this * other. The product goes through a temporary, so `other` may be this.
  TMat3& operator*=(const TMat3& other);
  // The scale is applied after the existing transform: this = this * diag(sx, sy, 1).
  TMat3& Scale(float sx, float sy);
  TMat3& Scale(float s) { return Scale(s, s); }
  // The rotation is applied before the existing transform: this = Rotation(angle) * this.
  TMat3& Rotate(float radians);
};

TMat3 operator*(const TMat3& a, const TMat3& b);
// The point v transformed by the matrix.
TVec2 operator*(TVec2 v, const TMat3& m);
