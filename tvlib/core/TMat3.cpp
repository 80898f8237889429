// The 2-D affine matrix operations.
#include "tvlib/core/TMat3.h"

TMat3 operator*(const TMat3& a, const TMat3& b) {
  TMat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

TVec2 operator*(TVec2 v, const TMat3& m) {
  return {v.x * m.m[0][0] + v.y * m.m[1][0] + m.m[2][0],
          v.x * m.m[0][1] + v.y * m.m[1][1] + m.m[2][1]};
}

TMat3 TMat3::Rotation(float radians) {
  float c = std::cos(radians), s = std::sin(radians);
  return {c, s, 0, -s, c, 0, 0, 0, 1};
}

TMat3& TMat3::operator*=(const TMat3& other) {
  return *this = *this * other;
}

TMat3& TMat3::Scale(float sx, float sy) {
  return *this *= TMat3(sx, 0, 0, 0, sy, 0, 0, 0, 1);
}

TMat3& TMat3::Rotate(float radians) {
  return *this = Rotation(radians) * *this;
}
