// The animated sprite's script functions, globals of its own animation script:
// SetCurrentFrame, WaitLuaNextFrame, Die, Pause, IsPlaying, Load, GetScript, SetAlpha and
// Random.
#include "tvlib/media/TAnimatedSprite.h"

void TAnimatedSprite::RegisterNatives(lua_State* L) {
  using S = TAnimatedSprite;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"SetCurrentFrame", BindMember<&S::SetCurrentFrame>},
      {"WaitLuaNextFrame", BindMember<&S::WaitNextFrame>},
      {"Die", BindMember<&S::Die>},
      {"Pause", BindMember<&S::Pause>},
      {"IsPlaying", BindMember<&S::IsPlaying>},
      {"Load", BindMember<&S::Load>},
      {"GetScript", BindMember<&S::GetScriptText>},
      {"SetAlpha", BindMember<&S::SetAlpha>},
      {"Random", BindMember<&S::Random>},
  };
  mBindings.Bind(L, this, kFunctions);
}
