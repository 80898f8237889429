// Reading the window styles and fonts of the window script: a key looked up in a script table
// by the style rules (the table, then "gCurrentDefaultStyle" and its "parent" chain), colours
// as { r, g, b, a } and fonts as { face, height, { r, g, b, a } }. UI thread only.
#pragma once

#include "tvlib/core/TString.h"

class TLuaTable;
class TScript;

struct TLuaColor {
  float r = 0, g = 0, b = 0, a = 0;
};

// A font as scripts give it: { face, height, { r, g, b, a } }.
struct TFontSpec {
  TString face = "";
  int height = 16;
  TLuaColor color;
};

// Values on the stack top, popped.
// Fields 1 to 4 of the table as red, green, blue, alpha (missing: 0).
TLuaColor PopColor(TScript& script);
// The table as a font (missing face "", height 0, colour 0, 0, 0, 0).
TFontSpec PopFontSpec(TScript& script);

// Style lookup in the table on the top (globals when the top is not a table): the style,
// then (with useDefault) the global "gCurrentDefaultStyle" and its "parent" chain, or
// (without) the style's "parent" chain. Found: the value is pushed and true returned. A
// chain of parents is followed at most 100 links (a cycle ends there).
bool FindStyleValue(TScript& script, const char* key, bool useDefault);

// Style reads on the style table the caller pushed; the stack top is restored.
TLuaTable* GetStyleTable(TScript& script, const char* key);
TString GetStyleString(TScript& script, const char* key, const TString& def);
double GetStyleNumber(TScript& script, const char* key, double def);
TLuaColor GetStyleColor(TScript& script, const char* key, const TLuaColor& def);
bool GetStyleBool(TScript& script, const char* key, bool def);
