// The particle system's script functions, globals of its own script: the count, texture and
// blend mode, the creation of particles, the initialisers (_Init...) and operators (_Do...)
// the particle script library wraps, the processing step, the done flag and random numbers.
#include "tvlib/media/TLuaParticleSystem.h"

void TLuaParticleSystem::RegisterNatives() {
  lua_State* L = mScript.GetState();
  using S = TLuaParticleSystem;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"SetNumParticles", BindMember<&S::ScriptSetNumParticles>},
      {"_SetTexture", BindMember<&S::ScriptSetTexture>},
      {"CreateParticles", BindMember<&S::ScriptCreateParticles>},
      {"_InitAge", BindMember<&S::ScriptInit<kInitAge>>},
      {"_InitUp", BindMember<&S::ScriptInit<kInitUp>>},
      {"_InitVelocity", BindMember<&S::ScriptInit<kInitVelocity>>},
      {"_InitPosition", BindMember<&S::ScriptInit<kInitPosition>>},
      {"_InitFrame", BindMember<&S::ScriptInit<kInitFrame>>},
      {"_InitScale", BindMember<&S::ScriptInit<kInitScale>>},
      {"_InitExtra1", BindMember<&S::ScriptInit<kInitExtra1>>},
      {"_InitColor", BindMember<&S::ScriptInit<kInitColour>>},
      {"_InitSpecular", BindMember<&S::ScriptInit<kInitSpecular>>},
      {"_Do", BindMember<&S::ScriptDo<kFieldPosition>>},
      {"_DoAge", BindMember<&S::ScriptDo<kFieldAge>>},
      {"_DoUp", BindMember<&S::ScriptDo<kFieldUp>>},
      {"_DoVelocity", BindMember<&S::ScriptDo<kFieldVelocity>>},
      {"_DoPosition", BindMember<&S::ScriptDo<kFieldPosition>>},
      {"_DoFrame", BindMember<&S::ScriptDo<kFieldFrame>>},
      {"_DoScale", BindMember<&S::ScriptDo<kFieldScale>>},
      {"_DoColor", BindMember<&S::ScriptDo<kFieldColour>>},
      {"_DoSpecular", BindMember<&S::ScriptDo<kFieldSpecular>>},
      {"Process", BindMember<&S::ScriptProcess>},
      {"SetDone", BindMember<&S::ScriptSetDone>},
      {"ResetDone", BindMember<&S::ScriptResetDone>},
      {"_SetBlendMode", BindMember<&S::ScriptSetBlendMode>},
      {"RandomRange", BindMember<&S::ScriptRandomRange>},
      {"RandomFloat", BindMember<&S::ScriptRandomFloat>},
  };
  mBindings.Bind(L, this, kFunctions);
}
