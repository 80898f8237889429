// The window script's functions, globals of its state: creating windows from tables, labels,
// bitmaps and positions, commands, the message wait and the posting of messages, modal
// windows, focus, the clipboard, strings, movies and the timer.
#include "tvlib/script/NumberConversion.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

// "CreateNamedMessage" (name, type): a new message of the script's.
int CreateNamedMessage(lua_State* L) {
  TMessage::PushMessage(L, new TMessage(tvs::NumberToInt(lua_tonumber(L, 2)), LuaToString(L, 1)));
  return 1;
}

}  // namespace

void TWindowScript::BindNatives() {
  lua_State* L = GetState();
  using S = TWindowScript;
  static constexpr TLuaMemberReg<S> kFunctions[] = {
      {"CreateButton", BindMember<&S::CreateButton>},
      {"PostCreate", BindMember<&S::PostCreate>},
      {"GetLabel", BindMember<&S::GetLabel>},
      {"SetLabel", BindMember<&S::SetLabel>},
      {"_SetBitmap", BindMember<&S::SetBitmap>},
      {"SetPosition", BindMember<&S::SetPosition>},
      {"SetCommand", BindMember<&S::SetCommand>},
      {"CreateBitmap", BindMember<&S::CreateBitmap>},
      {"CreateWindow", BindMember<&S::CreateWindowFromTable>},
      {"CreateText", BindMember<&S::CreateText>},
      {"CreateTextEdit", BindMember<&S::CreateTextEdit>},
      {"GetTimer", BindMember<&S::GetTimer>},
      {"DoSelectLayer", BindMember<&S::DoSelectLayer>},
      {"PopWindow", BindMember<&S::PopWindow>},
      {"RealSetFocus", BindMember<&S::RealSetFocus>},
      {"StringToClipboard", BindMember<&S::StringToClipboard>},
      {"UpdateWindow", BindMember<&S::UpdateWindow>},
      {"PushModal", BindMember<&S::PushModal>},
      {"ClearModalChildren", BindMember<&S::ClearModalChildren>},
      {"DoPopModal", BindMember<&S::DoPopModal>},
      {"HandleGetMessage", BindMember<&S::HandleGetMessage>},
      {"GenericCreate", BindMember<&S::GenericCreate>},
      {"CreateCloseMessage", BindMember<&S::CreateCloseMessage>},
      {"PostMessage", BindMember<&S::PostMessage>},
      {"PostMessageToParent", BindMember<&S::PostMessageToParent>},
      {"_GetString", BindMember<&S::GetString>},
      {"StartMovie", BindMember<&S::StartMovie>},
      {"IsMoviePlaying", BindMember<&S::IsMoviePlaying>},
      {"StopMovie", BindMember<&S::StopMovie>},
      {"ImageLoaded", BindMember<&S::ImageLoaded>},
      {"DestroyWindow", BindMember<&S::DestroyWindow>},
  };
  static constexpr TLuaFunctionReg kFreeFunctions[] = {
      {"CreateNamedMessage", BindFree<&CreateNamedMessage>},
  };
  mBindings.Bind(L, this, kFunctions);
  BindFunctions(L, kFreeFunctions);
}
