// The particle operators effect scripts name, and the registry of their type names.
//
// Value operators write the field at the offset they are given (vector, float, colour or
// integer); task operators judge the whole particle. Random draws come from the shared
// particle generator. Durations and ages are milliseconds.
#pragma once

#include <vector>

#include "tvlib/media/TProcessValue.h"

// --- Vector field ----------------------------------------------------------------------
class TVecConstant : public TProcessVec {
  TV_PROCESS_CLASS(TVecConstant, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TVec3 mValue;
};

class TVecRange : public TProcessVec {
  TV_PROCESS_CLASS(TVecRange, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TVec3 mLow, mSpan;
};

// A random point on a circle around a centre.
class TVecRadius : public TProcessVec {
  TV_PROCESS_CLASS(TVecRadius, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  float mRadius = 0;
  TVec3 mCentre;
};

// The reversed direction of travel in the plane, scaled per axis.
class TVecNormalizeVelocity : public TProcessVec {
  TV_PROCESS_CLASS(TVecNormalizeVelocity, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TVec3 mScale;
};

// Turns the field's (x, y) at a rate of turns per second set by extra1, then normalises it.
class TVecRotate : public TProcessVec {
  TV_PROCESS_CLASS(TVecRotate, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  float mBase = 0, mSpan = 0;
};

// The up vector swung by a cosine of the particle's age around a base.
class TVecOscillate : public TProcessVec {
  TV_PROCESS_CLASS(TVecOscillate, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TVec3 mBase, mAmplitude;
  int mPeriod = 1;
};

// Adds a rate per second (gravity on the velocity).
class TVecAdd : public TProcessVec {
  TV_PROCESS_CLASS(TVecAdd, TProcessVec)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TVec3 mRate;
};

// --- Float field -----------------------------------------------------------------------
class TFloatConstant : public TProcessFloat {
  TV_PROCESS_CLASS(TFloatConstant, TProcessFloat)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  float mValue = 0;
};

class TFloatRange : public TProcessFloat {
  TV_PROCESS_CLASS(TFloatRange, TProcessFloat)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  float mLow = 0, mSpan = 0;
};

// Key values over the particle's age, interpolated linearly.
class TFloatScale : public TProcessFloat {
  TV_PROCESS_CLASS(TFloatScale, TProcessFloat)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  std::vector<float> mValues;
  std::vector<int> mDurations;
};

// --- Integer field ---------------------------------------------------------------------
class TIntConstant : public TProcessInt {
  TV_PROCESS_CLASS(TIntConstant, TProcessInt)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  int mValue = 0;
};

// Adds the elapsed time (the age counter).
class TIntAge : public TProcessInt {
  TV_PROCESS_CLASS(TIntAge, TProcessInt)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
};

class TIntRange : public TProcessInt {
  TV_PROCESS_CLASS(TIntRange, TProcessInt)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  int mLow = 0, mHigh = 0;
};

// --- Colour field ----------------------------------------------------------------------
class TColorConstant : public TProcessColor {
  TV_PROCESS_CLASS(TColorConstant, TProcessColor)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TColor32 mValue;
};

class TColorRange : public TProcessColor {
  TV_PROCESS_CLASS(TColorRange, TProcessColor)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  TColor32 mLow, mHigh;
};

class TColorSelect : public TProcessColor {
  TV_PROCESS_CLASS(TColorSelect, TProcessColor)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  std::vector<TColor32> mColours;
};

// Key colours over the particle's age, each channel interpolated linearly.
class TColorFade : public TProcessColor {
  TV_PROCESS_CLASS(TColorFade, TProcessColor)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  std::vector<TColor32> mValues;
  std::vector<int> mDurations;
};

// --- Whole particle --------------------------------------------------------------------
// Moves the particle by its velocity.
class TMove : public TProcessTask {
  TV_PROCESS_CLASS(TMove, TProcessTask)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
};

// Kills a particle below a line.
class TClipY : public TProcessTask {
  TV_PROCESS_CLASS(TClipY, TProcessTask)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  int mLimit = 0;
};

// Kills a particle older than its life.
class TExpire : public TProcessTask {
  TV_PROCESS_CLASS(TExpire, TProcessTask)
  void Init(const TLuaTable& args) override;
  bool Apply(TParticle& p, int field, int ms) override;
  int mLimit = 0;
};

// --- Registry --------------------------------------------------------------------------
using TProcessFactory = TProcessValue* (*)();

struct TProcessType {
  const char* name;
  TProcessFactory create;
};

// The operator types scripts can name, in registration order.
const std::vector<TProcessType>& GetProcessTypes();
