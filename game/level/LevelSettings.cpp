// The keys of a level script's settings and their reading.
#include "game/level/LevelSettings.h"

#include "tvlib/script/TLuaStackGuard.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScript.h"

namespace {

// Booleans read as numbers: their default is the member's own.
constexpr TIntSettingKey kIntKeys[] = {
    {"reqSitSameGuest", &TLevelSettings::reqSitSameGuest},
    {"negativeReq", &TLevelSettings::negativeReq},
    {"map", &TLevelSettings::map},
    {"level", &TLevelSettings::level},
    {"requestAppearTime", &TLevelSettings::requestAppearTime},
    {"specialAppearTime", &TLevelSettings::specialAppearTime},
    {"totalTime", &TLevelSettings::totalTime},
    {"matchGameDelay", &TLevelSettings::matchGameDelay},
    {"matchGameLength", &TLevelSettings::matchGameLength},
    {"cakeTipChance", &TLevelSettings::cakeTipChance},
    {"cakeTipDelay", &TLevelSettings::cakeTipDelay},
    {"speakerChance", &TLevelSettings::speakerChance},
    {"seatingDifficultyLevel", &TLevelSettings::seatingDifficultyLevel},
    {"patienceBonusTime", &TLevelSettings::patienceBonusTime},
    {"patiencePenaltyTime", &TLevelSettings::patiencePenaltyTime},
    {"musicRequestTime", &TLevelSettings::musicRequestTime},
    {"drinkRequestTime", &TLevelSettings::drinkRequestTime},
    {"matchRequestTime", &TLevelSettings::matchRequestTime},
    {"coffeeRequestTime", &TLevelSettings::coffeeRequestTime},
    {"tissueRequestTime", &TLevelSettings::tissueRequestTime},
    {"lastRequest", &TLevelSettings::lastRequest},
    {"guestLeaveAllow", &TLevelSettings::guestLeaveAllow},
    {"guestRequestTablePercent", &TLevelSettings::guestRequestTablePercent},
    {"highScore", &TLevelSettings::highScore},
    {"passScore", &TLevelSettings::passScore},
    {"maxCoupleHappiness", &TLevelSettings::maxCoupleHappiness},
    {"waitressMaxQueue", &TLevelSettings::waitressMaxQueue},
};

constexpr TStringSettingKey kStringKeys[] = {
    {"mode", &TLevelSettings::mode},
    {"slowMusic", &TLevelSettings::slowMusic},
    {"introBG", &TLevelSettings::introBG},
    {"chair_image", &TLevelSettings::chairImage},
};

constexpr const char* kServerSpeedKeys[] = {"waitressSpeed1", "waitressSpeed2", "waitressSpeed3"};
constexpr const char* kPlannerSpeedKeys[] = {"velkaSpeed1", "velkaSpeed2", "velkaSpeed3"};

}  // namespace

std::span<const TIntSettingKey> IntSettingKeys() {
  return kIntKeys;
}

std::span<const TStringSettingKey> StringSettingKeys() {
  return kStringKeys;
}

TLevelSettings ReadLevelSettings(const TLuaTable* table) {
  TLevelSettings settings;
  if (!table) return settings;
  for (const TIntSettingKey& key : kIntKeys) {
    settings.*key.member =
        static_cast<int>(table->GetNumber(key.key, static_cast<double>(settings.*key.member)));
  }
  for (const TStringSettingKey& key : kStringKeys) {
    settings.*key.member = table->GetString(key.key, settings.*key.member);
  }
  const TLuaTable* tutorial = table->GetTable("tutorial");
  settings.tutorial = tutorial != nullptr;
  delete tutorial;
  settings.reqSitRandomGuest = static_cast<int>(table->GetNumber("reqSitRandomGuest", 0)) == 1;
  settings.blaster = static_cast<int>(table->GetNumber("blaster", 0)) != 0;
  settings.needMatchBeforeDance = table->GetString("needMatchBeforeDance", "yes") != "no";
  return settings;
}

TBasicSettings ReadBasicSettings(const TLuaTable* table) {
  TBasicSettings speeds;
  if (!table) return speeds;
  for (size_t i = 0; i < speeds.serverSpeed.size(); ++i) {
    speeds.serverSpeed[i] = static_cast<float>(table->GetNumber(kServerSpeedKeys[i], 0));
    speeds.plannerSpeed[i] = static_cast<float>(table->GetNumber(kPlannerSpeedKeys[i], 0));
  }
  return speeds;
}

double GlobalNumberOr(TScript* script, const char* name, double def) {
  if (!script) return def;
  lua_State* L = script->GetState();
  TLuaStackGuard guard(L);
  lua_pushstring(L, name);
  lua_gettable(L, LUA_GLOBALSINDEX);
  return lua_isnil(L, -1) ? def : lua_tonumber(L, -1);
}
