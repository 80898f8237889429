// Records exchanged with the 3-D device: matrices, vectors, colours, viewport, material, light,
// device description and identifier. Plain data in the layouts the engine fills.
//
// Matrices are 16 floats, row-major, used with row vectors (v' = v M): the translation sits in
// the fourth row, as the engine's own matrices store it.
#pragma once

#include <cstdint>

#include "tvlib/platform/render/SdDefs.h"

namespace sd {

struct TVector3 {
  float x = 0, y = 0, z = 0;
};

struct TMatrix {
  float m[4][4] = {};
  static TMatrix Identity() {
    TMatrix r;
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0f;
    return r;
  }
};

struct TColorValue {
  float r = 0, g = 0, b = 0, a = 0;
};

// The area of the render target drawn into; it also clips every primitive.
struct TViewport {
  uint32_t x = 0, y = 0, width = 0, height = 0;
  float minZ = 0.0f, maxZ = 1.0f;
};

struct TMaterial {
  TColorValue diffuse, ambient, specular, emissive;
  float power = 0;
};

struct TLight {
  uint32_t type = kLightDirectional;  // kLightPoint, kLightSpot or kLightDirectional
  TColorValue diffuse, specular, ambient;
  TVector3 position, direction;
  float range = 0, falloff = 0;
  float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
  float theta = 0, phi = 0;  // spot cone: inner and outer angles, radians
};

// What the 3-D device can do.
struct TDeviceDesc {
  uint32_t devCaps = 0;
  uint32_t shadeCaps = 0;
  uint32_t textureCaps = 0;
  uint32_t renderBitDepth = 0;  // kBitDepth* bits
  uint32_t zBufferBitDepth = 0;
  uint32_t maxTextureWidth = 0, maxTextureHeight = 0;
  uint32_t maxTextureAspectRatio = 0;
  uint32_t guid[4] = {};
};

// Who made the display device.
struct TDeviceIdentifier {
  char driver[64] = {};
  char description[128] = {};
  uint32_t driverVersionHigh = 0, driverVersionLow = 0;
  uint32_t vendorId = 0, deviceId = 0, subSysId = 0, revision = 0;
  uint32_t guid[4] = {};
};

}  // namespace sd
