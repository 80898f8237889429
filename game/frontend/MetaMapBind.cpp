// The venue map's script functions, globals of the window script bound to the map while it
// lives. They stand in for the main menu's functions of the same names, which come back when
// the map goes.
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TMetaMap.h"

namespace {

constexpr TLuaMemberReg<TMetaMap> kMetaMapFunctions[] = {
    {"ToLevel", BindMember<&TMetaMap::ToLevel>},
    {"GetCurrentMap", BindMember<&TMetaMap::GetCurrentMap>},
    {"RestartLevel", BindMember<&TMetaMap::RestartLevel>},
    {"PlayButton", BindMember<&TMetaMap::PlayButton>},
};

}  // namespace

void TMetaMap::BindScriptFunctions() {
  if (lua_State* L = FrontendBindingState("TMetaMap")) mBindings.Bind(L, this, kMetaMapFunctions);
}
