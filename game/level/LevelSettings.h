// What a level script sets for its level in the global tables `levelSetting` and
// `basicSetting`, each key with its default, written once as a table of keys (LevelSettings.cpp)
// that the loader reads and the tests walk. A missing key, or a key of another type, keeps its
// default. UI thread only.
#pragma once

#include <array>
#include <span>

#include "tvlib/core/TString.h"

class TLuaTable;
class TScript;

struct TLevelSettings {
  bool tutorial = false;  // "tutorial" holds a table
  bool reqSitRandomGuest = false;
  int reqSitSameGuest = 20;
  int negativeReq = 0;
  int map = 1;
  TString mode;
  int level = 1;
  TString slowMusic;
  int requestAppearTime = 500;
  int specialAppearTime = 500;
  int totalTime = 100000;
  int matchGameDelay = 9999000;
  int matchGameLength = 10000;
  int cakeTipChance = 0;
  int cakeTipDelay = 9999000;
  int speakerChance = 0;
  int seatingDifficultyLevel = 1;
  int patienceBonusTime = 5000;
  int patiencePenaltyTime = 5000;
  int musicRequestTime = 5000;
  int drinkRequestTime = 5000;
  int matchRequestTime = 5000;
  int coffeeRequestTime = 5000;
  int tissueRequestTime = 5000;
  int lastRequest = 4;
  int guestLeaveAllow = 9999;
  bool blaster = false;
  bool needMatchBeforeDance = true;  // only "no" turns it off
  int guestRequestTablePercent = -1;
  int highScore = 1000;
  int passScore = 1000;
  int maxCoupleHappiness = 500;
  TString introBG;
  int waitressMaxQueue = 100;
  TString chairImage;

  bool IsEndless() const { return mode == "endless"; }
};

// A whole-number key of `levelSetting` (truncated toward zero) and where it goes.
struct TIntSettingKey {
  const char* key;
  int TLevelSettings::*member;
};
struct TStringSettingKey {
  const char* key;
  TString TLevelSettings::*member;
};
std::span<const TIntSettingKey> IntSettingKeys();
std::span<const TStringSettingKey> StringSettingKeys();

// Every key of the table; null leaves the defaults.
TLevelSettings ReadLevelSettings(const TLuaTable* table);

// The speeds of `basicSetting`, three for the servers and three for the heroine; all 0
// without the table.
struct TBasicSettings {
  std::array<float, 3> serverSpeed{};
  std::array<float, 3> plannerSpeed{};
};
TBasicSettings ReadBasicSettings(const TLuaTable* table);

// A global number of the script, `def` when it is nil.
double GlobalNumberOr(TScript* script, const char* name, double def);
