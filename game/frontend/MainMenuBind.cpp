// The main menu's script functions, globals of the window script bound to the menu while it
// lives (when it goes, each is set back to what it held before).
#include "game/frontend/FrontendParts.h"
#include "game/frontend/TMainMenu.h"

namespace {

constexpr TLuaMemberReg<TMainMenu> kMainMenuFunctions[] = {
    {"SetWelcomeName", BindMember<&TMainMenu::SetWelcomeName>},
    {"GetUser", BindMember<&TMainMenu::GetUser>},
    {"GetCurrentUser", BindMember<&TMainMenu::GetCurrentUser>},
    {"IsFirstTime", BindMember<&TMainMenu::IsFirstTime>},
    {"SetComicOff", BindMember<&TMainMenu::SetComicOff>},
    {"GetLevelStatus", BindMember<&TMainMenu::GetLevelStatus>},
    {"GetBestScore", BindMember<&TMainMenu::GetBestScore>},
    {"GetCurrentVenue", BindMember<&TMainMenu::GetCurrentVenue>},
    {"GetCurrentLevel", BindMember<&TMainMenu::GetCurrentLevel>},
    {"HideMainMenu", BindMember<&TMainMenu::HideMainMenu>},
    {"ToLevel", BindMember<&TMainMenu::ToLevel>},
    {"RestartLevel", BindMember<&TMainMenu::RestartLevel>},
};

}  // namespace

void TMainMenu::BindScriptFunctions() {
  if (lua_State* L = FrontendBindingState("TMainMenu")) mBindings.Bind(L, this, kMainMenuFunctions);
}
