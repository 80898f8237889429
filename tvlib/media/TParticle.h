// The particle record and the offsets by which operators name its fields.
//
// Operators address a field by its byte offset in the record, so the order and types of the
// fields are part of the effect-script interface: position, velocity, colour, specular, age,
// frame, scale, up, extra1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "tvlib/core/TColor32.h"
#include "tvlib/core/TVec.h"

struct TParticle {
  TVec3 position;   // screen pixels; z is carried, not drawn
  TVec3 velocity;   // pixels per second
  TColor32 colour;  // the quad's diffuse colour; its alpha follows the system alpha
  TColor32 specular;
  int32_t age;    // milliseconds
  int32_t frame;  // the texture layer the particle is drawn with
  float scale;    // factor on the particle size; 1 when created
  TVec3 up;       // orientation: the quad's axes come from up.x and up.y
  float extra1;   // free for operators (the rotation speed factor)
};
static_assert(std::is_standard_layout_v<TParticle>);

// Field offsets, as operators and the particle system pass them.
enum TParticleField : int {
  kFieldPosition = offsetof(TParticle, position),
  kFieldVelocity = offsetof(TParticle, velocity),
  kFieldColour = offsetof(TParticle, colour),
  kFieldSpecular = offsetof(TParticle, specular),
  kFieldAge = offsetof(TParticle, age),
  kFieldFrame = offsetof(TParticle, frame),
  kFieldScale = offsetof(TParticle, scale),
  kFieldUp = offsetof(TParticle, up),
  kFieldExtra1 = offsetof(TParticle, extra1),
};

// The field of type T at `offset` in the record. Offsets come only from TParticleField.
template <class T>
T& ParticleField(TParticle& p, int offset) {
  return *reinterpret_cast<T*>(reinterpret_cast<unsigned char*>(&p) + offset);
}
