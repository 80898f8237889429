// The more-games panel: a window whose layout script gives it description texts
// ("descrip1".."descrip8"), link buttons ("xsellbutton1".."xsellbutton8"), two centred texts,
// a site link and logos; SetupXSell fills up to seven entries from "xsell/xsell.xml", hides
// the rest and centres the buttons and logos on their given positions, and LaunchGameLink
// opens the site link (0) or an entry's link (1 to 7). Entries beyond the seventh and link
// indices outside 0 to 7 are ignored. The program ships no such document: the panel then
// shows no entries. Both script functions are bound by the newest panel. UI thread only.
#pragma once

#include <array>
#include <cstddef>

#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TXSellWindow : public TWindow {
 public:
  // The number of entries the panel holds (entry 0 is the site link).
  static constexpr int kEntries = 7;

  TXSellWindow();

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Script function "SetupXSell".
  void SetupXSell();
  // Fills the panel from the document's bytes, as SetupXSell does from the file.
  void ReadXSellDocument(const char* bytes, size_t size);
  // Script function "LaunchGameLink" (index).
  void LaunchGameLink(int index);

 private:
  // Binds the panel's script functions (TXSellWindowBind.cpp).
  void BindScriptFunctions(lua_State* L);

  std::array<TString, kEntries + 1> mLinks;
  TLuaBindings mBindings;
};
