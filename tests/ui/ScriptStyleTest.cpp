// The style rules and the colour and font readers: a key found in the table, in the default
// style and its parents, never along the table's own parents; colours and fonts with their
// missing parts; the stack left as it was.
#include <gtest/gtest.h>

#include <memory>

#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScript.h"
#include "tvlib/ui/ScriptStyle.h"

TEST(ScriptStyle, KeysFollowTheDefaultStyleAndItsParents) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "gCurrentDefaultStyle = { font = 'sans', size = 12, parent = { color = { 1, 0.5, 0, 1 } } }"
      " style = { size = 20, parent = { only = 'parent' } }");
  lua_pushstring(L, "style");
  lua_gettable(L, LUA_GLOBALSINDEX);
  EXPECT_EQ(GetStyleNumber(script, "size", 0), 20);
  EXPECT_STREQ(GetStyleString(script, "font", "").c_str(), "sans");
  const TLuaColor c = GetStyleColor(script, "color", TLuaColor{});
  EXPECT_EQ(c.g, 0.5f);
  EXPECT_EQ(c.a, 1.0f);
  EXPECT_STREQ(GetStyleString(script, "only", "absent").c_str(),
               "absent");  // own parent not followed
  EXPECT_TRUE(GetStyleBool(script, "missing", true));
  EXPECT_NE(std::unique_ptr<TLuaTable>(GetStyleTable(script, "parent")), nullptr);
  EXPECT_EQ(std::unique_ptr<TLuaTable>(GetStyleTable(script, "size")), nullptr);  // not a table
  EXPECT_EQ(lua_gettop(L), 1);
}

TEST(ScriptStyle, ACycleOfParentsEndsTheLookup) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString("a = {} b = { parent = a } a.parent = b gCurrentDefaultStyle = a");
  lua_newtable(L);
  EXPECT_EQ(GetStyleNumber(script, "size", 7), 7);
  EXPECT_EQ(lua_gettop(L), 1);
}

TEST(ScriptStyle, FontsAndColoursWithTheirMissingParts) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString("font = { 'serif', 22.7, { 0, 0, 1, 0.5 } } bare = {}");
  lua_pushstring(L, "font");
  lua_gettable(L, LUA_GLOBALSINDEX);
  const TFontSpec font = PopFontSpec(script);
  EXPECT_STREQ(font.face.c_str(), "serif");
  EXPECT_EQ(font.height, 22);
  EXPECT_EQ(font.color.b, 1.0f);
  EXPECT_EQ(font.color.a, 0.5f);
  lua_pushstring(L, "bare");
  lua_gettable(L, LUA_GLOBALSINDEX);
  const TFontSpec bare = PopFontSpec(script);
  EXPECT_STREQ(bare.face.c_str(), "");
  EXPECT_EQ(bare.height, 0);
  EXPECT_EQ(TFontSpec().height, 16);
  lua_pushnumber(L, 3);  // not a table: all 0
  EXPECT_EQ(PopColor(script).r, 0.0f);
  EXPECT_EQ(lua_gettop(L), 0);
}
