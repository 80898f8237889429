// Matrix helpers of the software rendering device.
#include "tvlib/platform/render/TDeviceMath.h"

#include <cmath>

namespace sd {

namespace {
TVector3 Sub(const TVector3& a, const TVector3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float Dot(const TVector3& a, const TVector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
TVector3 Cross(const TVector3& a, const TVector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
TVector3 Normalise(const TVector3& v) {
  float len = std::sqrt(Dot(v, v));
  if (len == 0.0f) return v;
  return {v.x / len, v.y / len, v.z / len};
}
}  // namespace

TMatrix Multiply(const TMatrix& a, const TMatrix& b) {
  TMatrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
      r.m[i][j] = s;
    }
  return r;
}

TMatrix MatrixLookAtLH(const TVector3& eye, const TVector3& at, const TVector3& up) {
  TVector3 z = Normalise(Sub(at, eye));
  TVector3 x = Normalise(Cross(up, z));
  TVector3 y = Cross(z, x);
  TMatrix r;
  r.m[0][0] = x.x, r.m[0][1] = y.x, r.m[0][2] = z.x;
  r.m[1][0] = x.y, r.m[1][1] = y.y, r.m[1][2] = z.y;
  r.m[2][0] = x.z, r.m[2][1] = y.z, r.m[2][2] = z.z;
  r.m[3][0] = -Dot(x, eye), r.m[3][1] = -Dot(y, eye), r.m[3][2] = -Dot(z, eye);
  r.m[3][3] = 1.0f;
  return r;
}

TMatrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
  float yScale = 1.0f / std::tan(fovY / 2.0f);
  TMatrix r;
  r.m[0][0] = yScale / aspect;
  r.m[1][1] = yScale;
  r.m[2][2] = zFar / (zFar - zNear);
  r.m[2][3] = 1.0f;
  r.m[3][2] = -zNear * zFar / (zFar - zNear);
  return r;
}

TMatrix MatrixOrthoLH(float w, float h, float zNear, float zFar) {
  TMatrix r;
  r.m[0][0] = 2.0f / w;
  r.m[1][1] = 2.0f / h;
  r.m[2][2] = 1.0f / (zFar - zNear);
  r.m[3][2] = zNear / (zNear - zFar);
  r.m[3][3] = 1.0f;
  return r;
}

TMatrix MatrixOrthoOffCenterLH(float left, float right, float bottom, float top, float zNear,
                               float zFar) {
  TMatrix r;
  r.m[0][0] = 2.0f / (right - left);
  r.m[1][1] = 2.0f / (top - bottom);
  r.m[2][2] = 1.0f / (zFar - zNear);
  r.m[3][0] = (left + right) / (left - right);
  r.m[3][1] = (top + bottom) / (bottom - top);
  r.m[3][2] = zNear / (zNear - zFar);
  r.m[3][3] = 1.0f;
  return r;
}

TVector3 Vec3BaryCentric(const TVector3& a, const TVector3& b, const TVector3& c, float f,
                         float g) {
  return {a.x + f * (b.x - a.x) + g * (c.x - a.x), a.y + f * (b.y - a.y) + g * (c.y - a.y),
          a.z + f * (b.z - a.z) + g * (c.z - a.z)};
}

}  // namespace sd
