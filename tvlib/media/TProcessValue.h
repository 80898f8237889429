// Particle operators: objects that set or change one field of a particle record, or judge a
// whole particle. An effect script names an operator type and gives its parameters as an
// argument table; the particle system uses it once per new particle (init) or on every live
// particle each update (do), where an answer of false kills the particle.
//
// Five families share the base: operators on a vector, float, colour or integer field (their
// Run passes the field offset on to Apply) and operators on the whole particle (their Run
// ignores the offset). A family's class identity lets the particle system check that an init
// slot gets an operator of the field's type.
#pragma once

#include "tvlib/media/TParticle.h"

class TLuaTable;

// A class's identity: the address of a tag private to the class.
using TProcessClassId = const void*;

class TProcessValue {
 public:
  static TProcessClassId GetClassId();
  virtual bool IsKindOf(TProcessClassId id) const { return id == GetClassId(); }
  virtual ~TProcessValue() = default;
  // The per-particle step through the family's dispatch; false kills the particle.
  virtual bool Run(TParticle& p, int fieldOffset, int ms) = 0;
  // Reads the parameters from the script's argument table.
  virtual void Init(const TLuaTable& args) = 0;
  virtual bool Apply(TParticle& p, int fieldOffset, int ms) = 0;
};

// Declares a class's identity and its IsKindOf over its base's.
#define TV_PROCESS_CLASS(Class, Base)                       \
 public:                                                    \
  static TProcessClassId GetClassId() {                     \
    static const char tag = 0;                              \
    return &tag;                                            \
  }                                                         \
  bool IsKindOf(TProcessClassId id) const override {        \
    return id == Class::GetClassId() || Base::IsKindOf(id); \
  }

class TProcessVec : public TProcessValue {
  TV_PROCESS_CLASS(TProcessVec, TProcessValue)
  bool Run(TParticle& p, int fieldOffset, int ms) override { return Apply(p, fieldOffset, ms); }
};

class TProcessFloat : public TProcessValue {
  TV_PROCESS_CLASS(TProcessFloat, TProcessValue)
  bool Run(TParticle& p, int fieldOffset, int ms) override { return Apply(p, fieldOffset, ms); }
};

class TProcessColor : public TProcessValue {
  TV_PROCESS_CLASS(TProcessColor, TProcessValue)
  bool Run(TParticle& p, int fieldOffset, int ms) override { return Apply(p, fieldOffset, ms); }
};

class TProcessInt : public TProcessValue {
  TV_PROCESS_CLASS(TProcessInt, TProcessValue)
  bool Run(TParticle& p, int fieldOffset, int ms) override { return Apply(p, fieldOffset, ms); }
};

// Operators on the whole particle: the field offset plays no part.
class TProcessTask : public TProcessValue {
  TV_PROCESS_CLASS(TProcessTask, TProcessValue)
  bool Run(TParticle& p, int /*fieldOffset*/, int ms) override { return Apply(p, 0, ms); }
};

// Parameter readers over an argument table (positions from 1; anything missing reads 0).
namespace ProcessArgs {
float Number(const TLuaTable& args, int k);
int Integer(const TLuaTable& args, int k);
TVec3 Vector(const TLuaTable& args, int k);
// Components 0..1 scaled by 255 and truncated (outside 0..1 clamped).
TColor32 Colour(const TLuaTable& args, int k);
bool Has(const TLuaTable& args, int k);
}  // namespace ProcessArgs
