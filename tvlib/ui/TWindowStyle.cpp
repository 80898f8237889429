// Style reads of a window's script table.
#include "tvlib/ui/TWindowStyle.h"

#include "tvlib/script/TScript.h"
#include "tvlib/ui/ScriptStyle.h"

namespace {

lua_State* PushCopy(TScript* script, int index) {
  lua_State* L = script->GetState();
  lua_pushvalue(L, index);
  return L;
}

}  // namespace

TWindowStyle::TWindowStyle(TScript* script, int index)
    : mScript(script), mTable(PushCopy(script, index)) {}

double TWindowStyle::GetNumber(const char* key, double def) const {
  mTable.Push();
  const double value = GetStyleNumber(*mScript, key, def);
  lua_pop(mScript->GetState(), 1);
  return value;
}
