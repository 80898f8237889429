// A particle system run by an effect script. Each system has a script state of its own, in
// which the particle library is loaded first and then the effect (a file under "fx/" or a
// text of script source). The script sets the pool, the textures and the operators: init
// operators fill each new particle's fields, do operators queued during an update run over
// every live particle in the next Process and are deleted after it.
//
// Script globals: SetNumParticles, _SetTexture, CreateParticles, _Init<Field> and _Do<Field>
// (an operator type name and its argument table), _Do, Process, SetDone, ResetDone,
// _SetBlendMode, RandomRange, RandomFloat; the library adds the friendly forms (Spawn,
// InitColor, DoScale, Gravity, NewParticleGenerator, NewTimeout ...). UI thread only.
#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "tvlib/media/TParticleSystem.h"
#include "tvlib/media/TProcessValue.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/script/TScript.h"

class TScriptCode;

class TLuaParticleSystem : public TParticleSystem {
 public:
  // Runs the effect in the given state (null: a new one), which the system then owns.
  explicit TLuaParticleSystem(lua_State* L = nullptr);
  ~TLuaParticleSystem() override;

  // A name with ".lua" is an effect file found along the effect search path; any other
  // text is script source. Then runs "Init();" and clears the done flag. A script its limits
  // stop (TScriptLimits.h) leaves the system done for good, and Load false.
  bool Load(const TString& name) override;
  // Runs the script's Update(ms), then Process(ms).
  void Update(int ms) override;

  void SetAlpha(float alpha);
  float GetAlpha() const { return mAlpha; }
  bool IsDone() const { return mDone; }
  TScript& GetScript() { return mScript; }

  // Creates up to n particles from the free list, each filled by the init operators.
  void CreateParticles(int n);
  // Runs the do list over every live particle, scales their alphas by the system alpha and
  // empties the do list.
  void Process(int ms);

 private:
  // The init slots, in the order a new particle's fields are filled.
  enum InitSlot {
    kInitAge,
    kInitUp,
    kInitVelocity,
    kInitPosition,
    kInitFrame,
    kInitScale,
    kInitExtra1,
    kInitColour,
    kInitSpecular,
    kInitSlots
  };

  void RegisterNatives();
  // True, leaving the system done for good, when the last run was stopped by its limits.
  bool StoppedByLimits();
  // Makes an operator of the named type from the argument table at stack index 2, or
  // reports the unknown name and answers null.
  std::unique_ptr<TProcessValue> MakeOperator(lua_State* L);
  int SetInit(lua_State* L, InitSlot slot);
  int QueueDo(lua_State* L, int fieldOffset);
  template <InitSlot Slot>
  int ScriptInit(lua_State* L) {
    return SetInit(L, Slot);
  }
  template <int FieldOffset>
  int ScriptDo(lua_State* L) {
    return QueueDo(L, FieldOffset);
  }
  void ReportUnknownType(const TString& name);

  // Natives.
  void ScriptSetNumParticles(int n) { SetNumParticles(n); }
  void ScriptSetTexture(TString name, bool add);
  void ScriptCreateParticles(int n) { CreateParticles(n); }
  void ScriptProcess(int ms) { Process(ms); }
  void ScriptSetDone() { mDone = true; }
  void ScriptResetDone() { mDone = false; }
  void ScriptSetBlendMode(int mode, int layer) { SetBlendMode(mode, layer); }
  int ScriptRandomRange(int lo, int hi);
  float ScriptRandomFloat();

  TScript mScript;
  TLuaBindings mBindings;
  std::shared_ptr<TScriptCode> mCode;  // the loaded effect file
  TString mFolder;                     // the loaded effect file's folder, ending in "/"
  std::array<std::unique_ptr<TProcessValue>, kInitSlots> mInit;
  std::vector<std::pair<std::unique_ptr<TProcessValue>, int>> mDoList;
  float mAlpha = 1.0f;
  bool mDone = false;
  bool mStopped = false;
};
