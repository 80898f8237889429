// A script table describing a window, read through the style rules: a key missing from the
// table is looked up in "gCurrentDefaultStyle" and along its "parent" links. Handed by the
// window script's create functions to window factories. UI thread only; lives no longer than
// the create call that made it.
#pragma once

#include "tvlib/script/TLuaTable.h"

class TScript;

class TWindowStyle {
 public:
  // Anchors the table at `index` of the script's stack.
  TWindowStyle(TScript* script, int index);
  virtual ~TWindowStyle() = default;

  // The number under `key` by the style rules, or `def`; the stack is left as it was.
  double GetNumber(const char* key, double def) const;

 private:
  TScript* mScript;
  TLuaTable mTable;
};
