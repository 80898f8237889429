// Plain float vectors shared by rendering, sprites, particles and the room objects.
// Copied by value; all arithmetic is 32-bit float.
#pragma once

#include <cmath>

struct TVec2 {
  float x = 0, y = 0;

  TVec2() = default;
  TVec2(float x_, float y_) : x(x_), y(y_) {}

  TVec2& operator+=(TVec2 o) {
    x += o.x;
    y += o.y;
    return *this;
  }
  TVec2& operator-=(TVec2 o) {
    x -= o.x;
    y -= o.y;
    return *this;
  }
  TVec2& operator*=(float s) {
    x *= s;
    y *= s;
    return *this;
  }
  TVec2& operator/=(float s) {
    x /= s;
    y /= s;
    return *this;
  }
  TVec2 operator-() const { return {-x, -y}; }

  float LengthSquared() const { return x * x + y * y; }
  float Length() const { return std::sqrt(LengthSquared()); }
  // Scales to length 1; the zero vector stays as it is.
  TVec2& Normalize() {
    float length = Length();
    if (length != 0) *this /= length;
    return *this;
  }
};

inline TVec2 operator+(TVec2 a, TVec2 b) {
  return a += b;
}
inline TVec2 operator-(TVec2 a, TVec2 b) {
  return a -= b;
}
inline TVec2 operator*(TVec2 v, float s) {
  return v *= s;
}
inline TVec2 operator*(float s, TVec2 v) {
  return v *= s;
}
inline float Dot(TVec2 a, TVec2 b) {
  return a.x * b.x + a.y * b.y;
}

struct TVec3 {
  float x = 0, y = 0, z = 0;

  TVec3() = default;
  TVec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
  TVec3(const TVec2& v, float z_) : x(v.x), y(v.y), z(z_) {}

  TVec3& operator+=(const TVec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  TVec3& operator-=(const TVec3& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
  }
  TVec3& operator*=(float s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  TVec3& operator/=(float s) {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }

  float LengthSquared() const { return x * x + y * y + z * z; }
  float Length() const { return std::sqrt(LengthSquared()); }
};

inline TVec3 operator-(TVec3 a, const TVec3& b) {
  return a -= b;
}
inline TVec3 operator*(TVec3 v, float s) {
  return v *= s;
}
inline TVec3 operator/(TVec3 v, float s) {
  return v /= s;
}
inline float Dot(const TVec3& a, const TVec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The row type of TMat4.
struct TVec4 {
  float x = 0, y = 0, z = 0, w = 0;

  TVec4() = default;
  TVec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
};
