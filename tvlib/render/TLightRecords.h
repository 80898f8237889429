// The material and light records callers hand to the display handler's 3-D operations.
//
// Plain data in the order the callers fill it; colours are red, green, blue, alpha in 0..1.
#pragma once

struct TMaterial {
  float diffuse[4] = {};
  float ambient[4] = {};
  float specular[4] = {};
  float emissive[4] = {};
  float power = 0;
};

// Light types as callers number them.
inline constexpr int kLightTypeDirectional = 0;
inline constexpr int kLightTypePoint = 1;
inline constexpr int kLightTypeSpot = 2;

struct TLight {
  int type = kLightTypeDirectional;
  float diffuse[4] = {};
  float specular[4] = {};
  float ambient[4] = {};
  float position[3] = {};
  float direction[3] = {};
  float range = 0;
  float attenuation[3] = {};
  float theta = 0;
  float phi = 0;
};
