// The matrix helpers the display code takes from the device's utility library: multiplication,
// left-handed look-at, perspective and orthographic projections, and the barycentric point.
// They produce the standard left-handed matrices of the device's conventions (row vectors, depth
// 0..1 after projection).
#pragma once

#include "tvlib/platform/render/TDeviceTypes.h"

namespace sd {

TMatrix Multiply(const TMatrix& a, const TMatrix& b);  // a then b: v (a b)

// View matrix looking from eye at `at`, `up` giving the vertical.
TMatrix MatrixLookAtLH(const TVector3& eye, const TVector3& at, const TVector3& up);
// Perspective projection: vertical field of view (radians), aspect = width / height.
TMatrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Orthographic projection of a w x h volume centred on the axis.
TMatrix MatrixOrthoLH(float w, float h, float zNear, float zFar);
// Orthographic projection of the box left..right, bottom..top.
TMatrix MatrixOrthoOffCenterLH(float left, float right, float bottom, float top, float zNear,
                               float zFar);
// a + f (b - a) + g (c - a).
TVector3 Vec3BaryCentric(const TVector3& a, const TVector3& b, const TVector3& c, float f, float g);

}  // namespace sd
