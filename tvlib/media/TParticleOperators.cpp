// What each particle operator computes, and the table of operator type names.
#include "tvlib/media/TParticleOperators.h"

#include <cmath>
#include <numbers>

#include "tvlib/media/TParticleRandom.h"
#include "tvlib/script/TLuaTable.h"

using namespace ProcessArgs;
using ParticleRandom::RandomFloat;
using ParticleRandom::RandomRange;

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// Reads a key list {value, duration, value, duration, ..., value}: a missing or zero
// duration ends it, so there is always one duration fewer than values.
template <class Value, class ReadValue>
void ReadKeys(const TLuaTable& args, std::vector<Value>* values, std::vector<int>* durations,
              ReadValue read) {
  values->clear();
  durations->clear();
  for (int k = 1; Has(args, k); k += 2) {
    values->push_back(read(args, k));
    const int duration = Integer(args, k + 1);
    if (duration == 0) break;
    durations->push_back(duration);
  }
}

// Finds the key segment at `age`: false after the last key (the field is left as it is),
// else the segment index and the fraction into it.
bool WalkKeys(const std::vector<int>& durations, size_t valueCount, int age, size_t* index,
              float* fraction) {
  int t = age;
  size_t i = 0;
  while (i < durations.size() && t >= durations[i]) {
    t -= durations[i];
    ++i;
  }
  if (i + 1 >= valueCount) return false;
  *index = i;
  *fraction = static_cast<float>(t) / static_cast<float>(durations[i]);
  return true;
}

uint8_t LerpChannel(uint8_t from, uint8_t to, float f) {
  const float v =
      static_cast<float>(from) + (static_cast<float>(to) - static_cast<float>(from)) * f;
  return static_cast<uint8_t>(static_cast<int>(v) & 0xFF);
}

template <class T>
TProcessValue* Make() {
  return new T();
}

}  // namespace

// --- Vector field ----------------------------------------------------------------------
void TVecConstant::Init(const TLuaTable& args) {
  mValue = Vector(args, 1);
}
bool TVecConstant::Apply(TParticle& p, int field, int) {
  ParticleField<TVec3>(p, field) = mValue;
  return true;
}

void TVecRange::Init(const TLuaTable& args) {
  mLow = Vector(args, 1);
  mSpan = Vector(args, 2) - mLow;
}
bool TVecRange::Apply(TParticle& p, int field, int) {
  const float u1 = RandomFloat(), u2 = RandomFloat(), u3 = RandomFloat();
  ParticleField<TVec3>(p, field) = {mLow.x + u3 * mSpan.x, mLow.y + u2 * mSpan.y,
                                    mLow.z + u1 * mSpan.z};
  return true;
}

void TVecRadius::Init(const TLuaTable& args) {
  mRadius = Number(args, 1);
  mCentre = Vector(args, 2);
}
bool TVecRadius::Apply(TParticle& p, int field, int) {
  const float a = kTwoPi * RandomFloat();
  ParticleField<TVec3>(p, field) = {mCentre.x + std::cos(a) * mRadius,
                                    mCentre.y + std::sin(a) * mRadius, mCentre.z};
  return true;
}

void TVecNormalizeVelocity::Init(const TLuaTable& args) {
  mScale = Vector(args, 1);
}
bool TVecNormalizeVelocity::Apply(TParticle& p, int field, int) {
  const float length = std::sqrt(p.velocity.x * p.velocity.x + p.velocity.y * p.velocity.y);
  if (!(length > 0.0f)) return true;  // no direction to take: the field stays
  const TVec3 w(-p.velocity.x / length, -p.velocity.y / length, 0.0f);
  ParticleField<TVec3>(p, field) = {w.x * mScale.x, w.y * mScale.y, w.z * mScale.z};
  return true;
}

void TVecRotate::Init(const TLuaTable& args) {
  mBase = Number(args, 1);
  const float b = Number(args, 2);
  mSpan = b == 0.0f ? 0.0f : b - mBase;
}
bool TVecRotate::Apply(TParticle& p, int field, int ms) {
  const float speed = p.extra1 * mSpan + mBase;
  const float theta = 2.0f * speed * std::numbers::pi_v<float> * static_cast<float>(ms) / 1000.0f;
  TVec3& v = ParticleField<TVec3>(p, field);
  const float c = std::cos(theta), s = std::sin(theta);
  const float x = v.x * c + v.y * s;
  const float y = v.y * c - v.x * s;
  const float length = std::sqrt(x * x + y * y);
  if (!(length > 0.0f)) return true;  // a zero vector has no direction to keep
  v.x = x / length;
  v.y = y / length;
  return true;
}

void TVecOscillate::Init(const TLuaTable& args) {
  mBase = Vector(args, 1);
  mAmplitude = Vector(args, 2) - mBase;
  mPeriod = Integer(args, 3);
  if (mPeriod == 0) mPeriod = 1;
}
bool TVecOscillate::Apply(TParticle& p, int field, int) {
  if (mPeriod <= 1) return true;  // the phase would divide by zero: the field stays
  const float t = static_cast<float>(p.age % mPeriod) / static_cast<float>(mPeriod - 1);
  const float c = std::cos(kTwoPi * t);
  TVec3 v(p.up.x * c * mAmplitude.x, p.up.y * c * mAmplitude.y, p.up.z * c);
  v += mBase;
  ParticleField<TVec3>(p, field) = v;
  return true;
}

void TVecAdd::Init(const TLuaTable& args) {
  mRate = Vector(args, 1);
}
bool TVecAdd::Apply(TParticle& p, int field, int ms) {
  const float seconds = static_cast<float>(ms) / 1000.0f;
  ParticleField<TVec3>(p, field) += TVec3(mRate.x * seconds, mRate.y * seconds, mRate.z * seconds);
  return true;
}

// --- Float field -----------------------------------------------------------------------
void TFloatConstant::Init(const TLuaTable& args) {
  mValue = Number(args, 1);
}
bool TFloatConstant::Apply(TParticle& p, int field, int) {
  ParticleField<float>(p, field) = mValue;
  return true;
}

void TFloatRange::Init(const TLuaTable& args) {
  mLow = Number(args, 1);
  mSpan = Number(args, 2) - mLow;
}
bool TFloatRange::Apply(TParticle& p, int field, int) {
  ParticleField<float>(p, field) = mSpan * RandomFloat() + mLow;
  return true;
}

void TFloatScale::Init(const TLuaTable& args) {
  ReadKeys(args, &mValues, &mDurations, Number);
}
bool TFloatScale::Apply(TParticle& p, int field, int) {
  size_t i;
  float f;
  if (WalkKeys(mDurations, mValues.size(), p.age, &i, &f))
    ParticleField<float>(p, field) = mValues[i] + (mValues[i + 1] - mValues[i]) * f;
  return true;
}

// --- Integer field ---------------------------------------------------------------------
void TIntConstant::Init(const TLuaTable& args) {
  mValue = Integer(args, 1);
}
bool TIntConstant::Apply(TParticle& p, int field, int) {
  ParticleField<int32_t>(p, field) = mValue;
  return true;
}

void TIntAge::Init(const TLuaTable&) {}
bool TIntAge::Apply(TParticle& p, int field, int ms) {
  int32_t& age = ParticleField<int32_t>(p, field);
  age = static_cast<int32_t>(static_cast<uint32_t>(age) + static_cast<uint32_t>(ms));
  return true;
}

void TIntRange::Init(const TLuaTable& args) {
  mLow = Integer(args, 1);
  mHigh = Integer(args, 2);
}
bool TIntRange::Apply(TParticle& p, int field, int) {
  ParticleField<int32_t>(p, field) = RandomRange(mLow, mHigh);
  return true;
}

// --- Colour field ----------------------------------------------------------------------
void TColorConstant::Init(const TLuaTable& args) {
  mValue = Colour(args, 1);
}
bool TColorConstant::Apply(TParticle& p, int field, int) {
  ParticleField<TColor32>(p, field) = mValue;
  return true;
}

void TColorRange::Init(const TLuaTable& args) {
  mLow = Colour(args, 1);
  mHigh = Colour(args, 2);
}
bool TColorRange::Apply(TParticle& p, int field, int) {
  TColor32 c;
  c.SetAlpha(static_cast<uint8_t>(RandomRange(mLow.GetAlpha(), mHigh.GetAlpha())));
  c.SetRed(static_cast<uint8_t>(RandomRange(mLow.GetRed(), mHigh.GetRed())));
  c.SetGreen(static_cast<uint8_t>(RandomRange(mLow.GetGreen(), mHigh.GetGreen())));
  c.SetBlue(static_cast<uint8_t>(RandomRange(mLow.GetBlue(), mHigh.GetBlue())));
  ParticleField<TColor32>(p, field) = c;
  return true;
}

void TColorSelect::Init(const TLuaTable& args) {
  mColours.clear();
  for (int k = 1; Has(args, k); ++k) mColours.push_back(Colour(args, k));
}
bool TColorSelect::Apply(TParticle& p, int field, int) {
  if (mColours.empty()) return true;  // nothing to choose from: the field stays
  ParticleField<TColor32>(p, field) =
      mColours[RandomRange(0, static_cast<int>(mColours.size()) - 1)];
  return true;
}

void TColorFade::Init(const TLuaTable& args) {
  ReadKeys(args, &mValues, &mDurations, Colour);
}
bool TColorFade::Apply(TParticle& p, int field, int) {
  size_t i;
  float f;
  if (!WalkKeys(mDurations, mValues.size(), p.age, &i, &f)) return true;
  const TColor32 a = mValues[i], b = mValues[i + 1];
  TColor32& c = ParticleField<TColor32>(p, field);
  c.SetRed(LerpChannel(a.GetRed(), b.GetRed(), f));
  c.SetGreen(LerpChannel(a.GetGreen(), b.GetGreen(), f));
  c.SetBlue(LerpChannel(a.GetBlue(), b.GetBlue(), f));
  c.SetAlpha(LerpChannel(a.GetAlpha(), b.GetAlpha(), f));
  return true;
}

// --- Whole particle --------------------------------------------------------------------
void TMove::Init(const TLuaTable&) {}
bool TMove::Apply(TParticle& p, int, int ms) {
  const float seconds = static_cast<float>(ms) / 1000.0f;
  p.position += TVec3(p.velocity.x * seconds, p.velocity.y * seconds, p.velocity.z * seconds);
  return true;
}

void TClipY::Init(const TLuaTable& args) {
  mLimit = Integer(args, 1);
}
bool TClipY::Apply(TParticle& p, int, int) {
  return !(p.position.y > static_cast<float>(mLimit));
}

void TExpire::Init(const TLuaTable& args) {
  mLimit = Integer(args, 1);
}
bool TExpire::Apply(TParticle& p, int, int) {
  return p.age <= mLimit;
}

// --- Registry --------------------------------------------------------------------------
const std::vector<TProcessType>& GetProcessTypes() {
  static const std::vector<TProcessType> types = {
      {"vConstant", Make<TVecConstant>},
      {"vRange", Make<TVecRange>},
      {"iConstant", Make<TIntConstant>},
      {"iAge", Make<TIntAge>},
      {"iRange", Make<TIntRange>},
      {"cConstant", Make<TColorConstant>},
      {"cRange", Make<TColorRange>},
      {"cSelect", Make<TColorSelect>},
      {"cFade", Make<TColorFade>},
      {"fConstant", Make<TFloatConstant>},
      {"fRange", Make<TFloatRange>},
      {"fScale", Make<TFloatScale>},
      {"vNormalizeVelocity", Make<TVecNormalizeVelocity>},
      {"vRadius", Make<TVecRadius>},
      {"vOscillate", Make<TVecOscillate>},
      {"vAdd", Make<TVecAdd>},
      {"vRotate", Make<TVecRotate>},
      {"move", Make<TMove>},
      {"clipy", Make<TClipY>},
      {"expire", Make<TExpire>},
  };
  return types;
}
