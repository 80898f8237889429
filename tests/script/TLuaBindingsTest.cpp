// Bound globals and their owners: a global an object set is given back, when the object goes,
// to what it held before (past owners already gone), unless someone else set it meanwhile; a
// call through a closure kept from a gone owner logs and does nothing; a state closed before
// the owner is left alone; registration tables bind every row.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/script/TScript.h"

namespace {

// An object that binds "ToLevel" (answering its tag) and "Tag".
class TOwner {
 public:
  TOwner(lua_State* L, const char* tag) : mTag(tag) {
    mBindings.Bind(L, "ToLevel", this, &TOwner::ToLevel);
  }
  void BindAgain(lua_State* L) { mBindings.Bind(L, "ToLevel", this, &TOwner::ToLevel); }
  TString ToLevel() { return mTag; }

 private:
  TString mTag;
  TLuaBindings mBindings;
};

// What ToLevel() answers now: its text, "nil" when the global is nil.
std::string CallToLevel(TScript& script) {
  script.DoLuaString("answer = ToLevel and ToLevel() or 'nil'");
  return script.GetGlobalString("answer").c_str();
}

// Steps, by words: "+A" makes owner A, "-A" destroys it, "again A" has A bind once more,
// "=x" has the script set ToLevel to its own function answering x, "?x" expects ToLevel()
// to answer x.
struct RestoreCase {
  const char* name;
  const char* steps;
};

constexpr RestoreCase kRestoreCases[] = {
    {"one owner", "=menu +A ?A -A ?menu"},
    {"over nothing", "+A ?A -A ?nil"},
    {"nested owners", "=menu +A +B ?B -B ?A -A ?menu"},
    {"owner closing out of order", "=menu +A +B -A ?B -B ?menu"},
    {"three, the middle first", "=menu +A +B +C -B ?C -C ?A -A ?menu"},
    {"rebound meanwhile is left alone", "=menu +A =map -A ?map"},
    {"rebound, then another owner", "=menu +A =map +B -A ?B -B ?map"},
    {"one owner binding twice", "=menu +A again A ?A -A ?menu"},
    {"after the restore, the name binds again", "=menu +A -A +B ?B -B ?menu"},
};

TEST(LuaBindings, AGlobalGoesBackToWhatItHeldWhenItsOwnerGoes) {
  for (const RestoreCase& c : kRestoreCases) {
    SCOPED_TRACE(c.name);
    TScript script;
    lua_State* L = script.GetState();
    std::map<std::string, std::unique_ptr<TOwner>> owners;
    std::istringstream words(c.steps);
    for (std::string word; words >> word;) {
      const std::string rest = word.substr(1);
      if (word == "again") {
        words >> word;
        owners.at(word)->BindAgain(L);
      } else if (word[0] == '+') {
        owners[rest] = std::make_unique<TOwner>(L, rest.c_str());
      } else if (word[0] == '-') {
        owners.erase(rest);
      } else if (word[0] == '=') {
        script.DoLuaString(("ToLevel = function() return '" + rest + "' end").c_str());
      } else {
        EXPECT_EQ(CallToLevel(script), rest) << "at " << word;
      }
    }
  }
}

TEST(LuaBindings, AKeptClosureOfAGoneOwnerLogsAndDoesNothing) {
  TTempDir dir;
  SetLogDirectory(dir.Path().c_str());
  TScript script;
  auto owner = std::make_unique<TOwner>(script.GetState(), "map");
  script.DoLuaString("kept = ToLevel");
  owner.reset();
  script.DoLuaString("result = kept() after = 'ran'");
  EXPECT_STREQ(script.GetGlobalString("result").c_str(), "");
  EXPECT_STREQ(script.GetGlobalString("after").c_str(), "ran");
  EXPECT_NE(ReadWholeFile(GetLogPath().c_str()).find("whose object is gone"), std::string::npos);
}

TEST(LuaBindings, AnOwnerOutlivingItsStateRestoresNothing) {
  auto script = std::make_unique<TScript>();
  TOwner owner(script->GetState(), "A");
  EXPECT_EQ(CallToLevel(*script), "A");
  script.reset();  // the owner goes after the state: nothing to touch, nothing freed twice
}

TEST(LuaBindings, AnOwnerBoundFromACoroutineRestoresThroughTheMainThread) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString("ToLevel = function() return 'menu' end");
  lua_State* thread = lua_newthread(L);
  auto owner = std::make_unique<TOwner>(thread, "A");
  lua_pop(L, 1);
  lua_setgcthreshold(L, 0);  // the thread is collected
  EXPECT_EQ(CallToLevel(script), "A");
  owner.reset();
  EXPECT_EQ(CallToLevel(script), "menu");
}

// Registration tables: free functions and members of a class and of its base.
int gCalls = 0;
void CountCall() {
  gCalls++;
}
struct TBase {
  int BaseValue() { return 7; }
};
class TTabled : public TBase {
 public:
  explicit TTabled(lua_State* L) {
    static constexpr TLuaMemberReg<TTabled> kFunctions[] = {
        {"Own", BindMember<&TTabled::Own>},
        {"FromBase", BindMember<&TBase::BaseValue>},
    };
    mBindings.Bind(L, this, kFunctions);
  }

 private:
  int Own() { return 3; }
  TLuaBindings mBindings;
};

TEST(LuaBindings, RegistrationTablesBindEveryRow) {
  static constexpr TLuaFunctionReg kFunctions[] = {{"CountCall", BindFree<&CountCall>}};
  TScript script;
  BindFunctions(script.GetState(), kFunctions);
  auto object = std::make_unique<TTabled>(script.GetState());
  gCalls = 0;
  script.DoLuaString("CountCall() sum = Own() + FromBase()");
  EXPECT_EQ(gCalls, 1);
  EXPECT_EQ(script.GetGlobalNumber("sum"), 10);
  object.reset();
  script.DoLuaString("gone = Own == nil and FromBase == nil and CountCall ~= nil and 'yes'");
  EXPECT_STREQ(script.GetGlobalString("gone").c_str(), "yes");
}

}  // namespace
