// The readers of a level script's tables (guest tables, guest animations, endless settings,
// the heroine's scripted problems) and the level's own assets: music, couple, sounds, the
// heroine's talk bubble, the kitchen's orders and the planning choices' picture names.
#include <memory>

#include "game/level/LevelAssets.h"
#include "game/level/TGameLevel.h"
#include "game/level/UpgradeRules.h"
#include "game/room/TFestraTable.h"
#include "game/room/THintBox.h"
#include "game/room/TScoreTable.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TSound.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

using TTable = std::unique_ptr<TLuaTable>;

constexpr int kTableLayer = 508;
constexpr int kBubbleLayer = 10516;
constexpr float kPictureScale = 1.6666666f;
constexpr const char* kDefaultMusic = "assets/audio/music/Big Band 1.ogg";
// Written with its extension twice, as the talk bubble always named it; the name resolver
// counts a doubled extension once, so the text shows.
constexpr const char* kBubbleFont = "fonts/arial.mvec.mvec";
constexpr int kBrideA = 11, kBrideB = 12, kGroomA = 14, kGroomB = 15;

TScript* WindowScript() {
  TWindowManager* manager = TWindowManager::Get();
  return manager ? manager->GetWindowScript() : nullptr;
}

TTable GlobalTable(const char* name) {
  TScript* script = WindowScript();
  return TTable(script ? script->GetGlobalTable(name) : nullptr);
}

int TableColour(const TString& colour) {
  const char first = colour.Length() > 0 ? colour.c_str()[0] : '\0';
  return first == 'B' || first == 'b' ? 1 : 0;
}

constexpr const char* kTypePercentKeys[] = {
    "female01Percent", "female02Percent", "female03Percent", "female04Percent", "male01Percent",
    "male02Percent",   "male03Percent",   "male04Percent",   "unclePercent",    "auntPercent"};
constexpr const char* kAttributeKeys[] = {
    "tolerance",           "waitBeforeSit",        "waitBeforeAppetizer", "waitBeforeDinner",
    "waitBeforeCake",      "waitBeforeGift",       "percentRequestDrink", "percentRequestMusic",
    "percentRequestResit", "percentRequestCoffee", "percentRequestTissue"};

// The level's sound effects, in the order of TGameLevel::TSounds.
struct TSoundEntry {
  std::shared_ptr<TSound> TGameLevel::TSounds::*member;
  const char* file;
};
constexpr TSoundEntry kSoundFiles[] = {
    {&TGameLevel::TSounds::bonus, "assets/audio/sfx/bonus_points.ogg"},
    {&TGameLevel::TSounds::deliver, "assets/audio/sfx/deliver_food.ogg"},
    {&TGameLevel::TSounds::seat, "assets/audio/sfx/seat_guest.ogg"},
    {&TGameLevel::TSounds::problem, "assets/audio/sfx/velka_problem.ogg"},
    {&TGameLevel::TSounds::dialogClick, "assets/audio/sfx/dialog_click.ogg"},
    {&TGameLevel::TSounds::gift, "assets/audio/sfx/deliver_food.ogg"},
    {&TGameLevel::TSounds::sob, "assets/audio/sfx/aunt_sobs.ogg"},
    {&TGameLevel::TSounds::endOfLevel, "assets/audio/sfx/end_of_level.ogg"},
    {&TGameLevel::TSounds::pickupFood, "assets/audio/sfx/pickup_food.ogg"},
    {&TGameLevel::TSounds::servePickup, "assets/audio/sfx/pickup_food.ogg"},
    {&TGameLevel::TSounds::pickupGuest, "assets/audio/sfx/pickup_guest.ogg"},
    {&TGameLevel::TSounds::readyToSeat, "assets/audio/sfx/ready_to_be_seated.ogg"},
    {&TGameLevel::TSounds::refuse, "assets/audio/sfx/planning_wrong_choice.ogg"},
    {&TGameLevel::TSounds::buttonClick, "audio/sfx/dialog_click.ogg"},
    {&TGameLevel::TSounds::lostPoints, "audio/sfx/lost_points.ogg"},
    {&TGameLevel::TSounds::planningBonus, "audio/sfx/bonus_points.ogg"},
    {&TGameLevel::TSounds::gameClick, "audio/sfx/game_click.ogg"},
    {&TGameLevel::TSounds::gameClick2, "audio/sfx/game_click.ogg"},
};

}  // namespace

void TGameLevel::LoadTables(const TLuaTable* tables) {
  for (int i = 1; tables; ++i) {
    TTable entry(tables->GetTableAt(i));
    if (!entry) break;
    auto table = Place(TFestraTable::Create(kTableLayer), true, false);
    table->SetObjectType(kObjectGuestTable);
    table->SetTableId(static_cast<int>(entry->GetNumber("tableID", 0)));
    const TString image = entry->GetString("tableImage", TString());
    table->Setup(image.Length() ? ResolveAssetName(image, TAssetKind::kPicture) : image,
                 static_cast<int>(entry->GetNumber("numChairs", 0)),
                 static_cast<float>(static_cast<int>(entry->GetNumber("x", 0))),
                 static_cast<float>(static_cast<int>(entry->GetNumber("y", 0))), mChairImage);
    const TString mark = entry->GetString("markImage", TString());
    table->SetMarkImage(mark.Length() ? ResolveAssetName(mark, TAssetKind::kPicture) : mark);
    table->SetColorId(TableColour(entry->GetString("color", TString())));
    mTables.push_back(table);
    const int x = static_cast<int>(entry->GetNumber("x", 0));
    const int y = static_cast<int>(entry->GetNumber("y", 0));
    mObstacles.push_back(TRect{x + 10, y, x + table->GetWidth(), y + table->GetHeight()});
  }
}

void TGameLevel::LoadVelkaEvents(const TLuaTable* gameObject) {
  TTable events(gameObject ? gameObject->GetTable("velkaEvents") : nullptr);
  for (int i = 1; events; ++i) {
    TTable entry(events->GetTableAt(i));
    if (!entry) break;
    const int x = static_cast<int>(entry->GetNumber("x", 0));
    const int y = static_cast<int>(entry->GetNumber("y", 0));
    const TString path = entry->GetString("effectsPath", TString());
    mVelkaEvents.CreateEvent(kDynamicEventCode, x, y, x - 50, y - 100, x, y,
                             path.Length() ? ResolveAssetName(path, TAssetKind::kScript) : path,
                             static_cast<int>(entry->GetNumber("delay", 0)));
  }
}

void TGameLevel::LoadCharacterImages() {
  TTable images = GlobalTable("charImg");
  for (int r = 1; images && r <= kCharRows; ++r) {
    TTable row(images->GetTableAt(r));
    if (!row) break;
    for (int c = 1; c <= kCharNames; ++c) {
      const TString name = row->GetStringAt(c, TString());
      if (name.Length() == 0) break;
      mCharImages[r - 1][c - 1] = ResolveAssetName(name, TAssetKind::kAnimation);
    }
  }
  TTable areas = GlobalTable("charImgClickArea");
  for (int r = 1; areas && r <= kCharRows; ++r) {
    TTable row(areas->GetTableAt(r));
    if (!row) break;
    for (int c = 1; c <= 4; ++c) {
      const int value = static_cast<int>(row->GetNumberAt(c, -1));
      if (value == -1) break;
      mCharClickAreas[r - 1][c - 1] = value;
    }
  }
}

void TGameLevel::LoadEndlessSettings() {
  TTable extra = GlobalTable("levelSetting1");
  TTable percents(extra ? extra->GetTable("guestListPercentage") : nullptr);
  TTable attributes(extra ? extra->GetTable("guestAttributes") : nullptr);
  if (!percents || !attributes)
    DebugLog("TGameLevel: the endless settings lack guestListPercentage or guestAttributes");
  TEndlessSettings& e = mEndlessSettings;
  for (size_t i = 0; i < e.typePercent.size(); ++i)
    e.typePercent[i] = percents ? static_cast<int>(percents->GetNumber(kTypePercentKeys[i], 0)) : 0;
  for (size_t i = 0; i < e.attributeRanges.size(); ++i) {
    TTable pair(attributes ? attributes->GetTable(kAttributeKeys[i]) : nullptr);
    e.attributeRanges[i] = {pair ? static_cast<int>(pair->GetNumberAt(1, 0)) : 0,
                            pair ? static_cast<int>(pair->GetNumberAt(2, 0)) : 0};
  }
  TTable settings = GlobalTable("levelSetting");
  TTable pass(settings ? settings->GetTable("passScore") : nullptr);
  e.passScore = pass ? static_cast<int>(pass->GetNumberAt(1, 0)) : 0;
  TScript* script = WindowScript();
  e.creationDelay = static_cast<int>(GlobalNumberOr(script, "guestCreationDelay", 60000));
  e.speedIncrease = static_cast<int>(GlobalNumberOr(script, "guestCreationSpeedIncrease", 10000));
  e.minGuests = static_cast<int>(GlobalNumberOr(script, "minGuestsToCreate", 1));
  e.maxGuests = static_cast<int>(GlobalNumberOr(script, "maxGuestsToCreate", 4));
  e.creationTimer = e.creationDelay - 1000;
}

void TGameLevel::LoadMusic() {
  mMusicName = mSettings.slowMusic.Length() > 0 ? mSettings.slowMusic : TString(kDefaultMusic);
  mLevelMusic = GetLevelSound(mMusicName, false, TSoundManager::kGroupMusic);
}

void TGameLevel::ChooseCouple() {
  int bride = mRandom.Next() % 2 == 0 ? kBrideA : kBrideB;
  const int groom = mRandom.Next() % 2 == 0 ? kGroomA : kGroomB;
  if (mVenue == 1 && mLevel == 1) bride = kBrideA;
  mHeadTable->LoadBrideAnims(bride);
  mHeadTable->LoadGroomAnims(groom);
  TGameSettings* settings = TGameSettings::Get();
  if (TPrefs* prefs = settings ? settings->GetPrefs() : nullptr) {
    prefs->SetInt("FutureBride", bride, mPlayer, true);
    prefs->SetInt("FutureGroom", groom, mPlayer, true);
  }
}

void TGameLevel::LoadSounds() {
  for (const TSoundEntry& entry : kSoundFiles)
    mSounds.*entry.member = GetLevelSound(entry.file, true, TSoundManager::kGroupEffects);
}

// The heroine's talk bubble: the bubble picture, an optional picture of the level at its
// right, and the text area beside it, hidden until the level's note or the heroine speaks.
void TGameLevel::BuildIntroBubble() {
  if (mIntroBubble && mIntroBubble->GetParent())
    mIntroBubble->GetParent()->RemoveChild(mIntroBubble.get());
  mIntroBubble = THintBox::Create(kBubbleLayer);
  std::shared_ptr<TTexture> background = GetLevelTexture("assets/images/velkabubble");
  mIntroBubble->SetBackground(background);
  const int w = background ? background->GetWidth() : 0;
  const int h = background ? background->GetHeight() : 0;
  TPlatform* platform = TPlatform::GetInstance();
  const TString label = platform ? platform->GetStringTable()->GetString(
                                       TString::Format("specialIntroImage%d.%d", mVenue, mLevel))
                                 : TString("#####");
  mIntroImage = TFestraSprite::Create(0);
  mIntroImage->SetOwner(this);
  mIntroBubble->AddChild(mIntroImage);
  int pictureWidth = 0;
  if (label != "#####") {
    mIntroImage->SetTexture(GetLevelTexture(label));
    mIntroImage->SetScale(kPictureScale);
    pictureWidth = static_cast<int>(static_cast<float>(mIntroImage->GetWidth()) * kPictureScale);
    const int pictureHeight =
        static_cast<int>(static_cast<float>(mIntroImage->GetHeight()) * kPictureScale);
    mIntroImage->PlaceAt(w - pictureWidth - 10, (h - pictureHeight) / 2, kAnchorTopLeft);
    mIntroImage->SetVisible(true);
  } else {
    mIntroImage->SetVisible(false);
  }
  const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  mIntroBubble->SetStyledText(75, 18, w - 90 - pictureWidth, h - 28, 5,
                              ResolveAssetName(kBubbleFont, TAssetKind::kFont), 20, black);
  Place(mIntroBubble, false, true);
  mIntroBubble->PlaceAt(140, 580 - h, kAnchorTopLeft);
  mIntroBubble->SetVisible(false);
  mBubbleHold = false;
}

void TGameLevel::OrderFromKitchen(int food) {
  const std::vector<int> owned = StoryUpgradesToApply(mUpgradeFlags, mLevel);
  int chefUpgrades = 0;
  for (int upgrade : owned) {
    if (upgrade == 30 || upgrade == 6) ++chefUpgrades;
  }
  const int delay = chefUpgrades == 0 ? 2000 : chefUpgrades == 1 ? 1000 : 500;
  mKitchenOrders.push_back(TKitchenOrder{food, delay});
}

bool TGameLevel::HasUpgrade(int id) const {
  for (int upgrade : StoryUpgradesToApply(mUpgradeFlags, mLevel)) {
    if (upgrade == id) return true;
  }
  return false;
}

void TGameLevel::AppetizerImages(int k, TString names[3]) {
  int n = k + 1;
  if (n == 1) {
    n = 3;
  } else if (n == 3) {
    n = 1;
  }
  names[0] = TString::Format("assets/images/food/app%dfull", n);
  names[1] = TString::Format("assets/images/food/App%dEmpty", n);
  names[2] = TString::Format("assets/images/food/item_app%d", n);
}

void TGameLevel::DinnerImages(int k, TString names[3]) {
  int n = k + 1;
  if (n == 2) {
    n = 3;
  } else if (n == 3) {
    n = 2;
  }
  names[0] = TString::Format("assets/images/food/Dinner%dFull", n);
  names[1] = TString::Format("assets/images/food/Dinner%dEmpty", n);
  names[2] = TString::Format("assets/images/food/item_dinner%d", n);
}

TString TGameLevel::FlowerImageName(int k) {
  const int n = k == 0 ? 4 : k <= 3 ? k : k + 1;
  return TString::Format("assets/images/Festra Panning/small_PLANNER_Flowers0%d", n);
}

void TGameLevel::CakeImageNames(int k, TString* cake, TString* tipped) {
  static constexpr const char* kSpecialCakes[] = {"cakeRose", "cakeLace", "cakeGold"};
  TString design;
  if (k >= 0 && k <= 2) {
    design = TString::Format("cake%d", 6 - k);
  } else if (k >= 3 && k <= 5) {
    design = kSpecialCakes[k - 3];
  } else {
    design = TString::Format("cake%d", k + 1);
  }
  *cake = TString("assets/images/Festra Panning/") + design + ".xml";
  *tipped = TString("assets/images/Problems/") + design + "_tipped.xml";
}
