// The level's loading steps: one step a tick reads the level script's globals and builds the
// room, from the level's numbers and settings to the props, the tables and the characters.
#include <memory>

#include "game/level/LevelAssets.h"
#include "game/level/TGameLevel.h"
#include "game/level/UpgradeRules.h"
#include "game/room/TCakeTable.h"
#include "game/room/TDishBin.h"
#include "game/room/TFestraAnimSprite.h"
#include "game/room/TFestraStateAnim.h"
#include "game/room/TFestraTable.h"
#include "game/room/TFestraWaitress.h"
#include "game/room/TGuestBook.h"
#include "game/room/THintBox.h"
#include "game/room/TItemTable.h"
#include "game/room/TSMenu.h"
#include "game/room/TScoreTable.h"
#include "game/room/TSpeaker.h"
#include "game/room/TStatusWidget.h"
#include "game/shell/MenuMusic.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TSound.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

constexpr int kHeartBurstLayer = 10508;
constexpr int kCakeTableLayer = 5;
constexpr int kStatusLayer = 1;
constexpr int kChefLayer = 3;
constexpr int kDishBinLayer = 4;
constexpr int kChampagneTableLayer = 7;
constexpr int kGlassLayer = 8;
constexpr int kPlannerLayer = 10509;
constexpr int kSpeakerWireLayer = 10510;
constexpr int kSpeakerLayer = 10511;
constexpr int kBandLayer = 10513;
constexpr int kBoostMeterLayer = 10513;
constexpr int kServingTableCode = 1304;
constexpr int kServerLayer = 10509;
// The heroine's states, in the order her actions are mapped to them.
constexpr const char* kPlannerStates[] = {
    "assets/images/character/Velka/velka_idle.xml",
    "assets/images/character/Velka/velka_west.xml",
    "assets/images/character/Velka/velka_south.xml",
    "assets/images/character/Velka/velka_north.xml",
    "assets/images/character/Velka/velka_east.xml",
    "assets/images/character/Velka/velka_amb1.xml",
    "assets/images/character/Velka/velka_amb1.xml",
    "assets/images/character/Velka/velka_amb1.xml",
    "assets/images/character/Velka/velka_fix.xml",
    "assets/images/character/Velka/velka_happy.xml",
};

using TTable = std::unique_ptr<TLuaTable>;

TScript* WindowScript() {
  TWindowManager* manager = TWindowManager::Get();
  return manager ? manager->GetWindowScript() : nullptr;
}

TTable GlobalTable(TScript* script, const char* name) {
  return TTable(script ? script->GetGlobalTable(name) : nullptr);
}

TString Label(const TString& label) {
  TPlatform* platform = TPlatform::GetInstance();
  return platform ? platform->GetStringTable()->GetString(label) : TString("#####");
}

TPrefs* Prefs() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetPrefs() : nullptr;
}

// Entries 1, 2, ... of a global array of names up to the first missing or empty one, at most
// `limit`.
std::vector<TString> ReadNames(TScript* script, const char* name, int limit) {
  std::vector<TString> names;
  TTable table = GlobalTable(script, name);
  for (int i = 1; table && i <= limit; ++i) {
    const TString entry = table->GetStringAt(i, TString());
    if (entry.Length() == 0) break;
    names.push_back(entry);
  }
  return names;
}

}  // namespace

void TGameLevel::LoadLevelStep() {
  TScript* script = WindowScript();
  switch (mLoadStep) {
    case 0:
      LoadStart();
      break;
    case 1:
      LoadCharacterImages();
      break;
    case 2:
      LoadSpeeds(script);
      break;
    case 3:
      LoadLevelNumbers(script);
      break;
    case 4:
      LoadTimings();
      break;
    case 5:
      LoadPanels(script);
      break;
    case 6:
      PlaceRoomProps();
      break;
    case 7:
      LoadRoomTables(script);
      break;
    case 8:
      PlaceCharacters(script);
      break;
    default:
      break;
  }
  mLoadStep = mLoadStep < kLastLoadStep ? mLoadStep + 1 : kLastLoadStep + 1;
}

void TGameLevel::LoadStart() {
  TakeFocus();
  mSeatingCombo = 0;
  mServersMade = 0;
  mNumServers = 1;
  mGuestsTotal = 0;
  mGuestsDone = 0;
  mPlanningRewardPending = false;
}

void TGameLevel::LoadSpeeds(TScript* script) {
  TTable basic = GlobalTable(script, "basicSetting");
  mSpeeds = ReadBasicSettings(basic.get());
  mCurrentServerSpeed = mSpeeds.serverSpeed[0];
  mCurrentPlannerSpeed = mSpeeds.plannerSpeed[0];
}

// The level's numbers, mode and settings; the per-venue fallback of the request-table percent.
void TGameLevel::LoadLevelNumbers(TScript* script) {
  TTable table = GlobalTable(script, "levelSetting");
  if (!table)
    DebugLog("TGameLevel: the level script has no levelSetting; every setting keeps its default");
  mSettings = ReadLevelSettings(table.get());
  if (TGameSettings* settings = TGameSettings::Get()) mPlayer = settings->GetCurrentUserIndex();
  mVenue = mSettings.map;
  mLevel = mSettings.level;
  mEndless = mSettings.IsEndless();
  if (mSettings.guestRequestTablePercent < 0) {
    TTable percents = GlobalTable(script, "guestRequestTablePercent");
    mSettings.guestRequestTablePercent =
        percents ? static_cast<int>(percents->GetNumberAt(mVenue, 0)) : 0;
  }
  mLevelMetrics.LoadScript(mEndless ? "scripts/arcadelevelcomplete_metrics.lua"
                                    : "scripts/storylevelcomplete_metrics.lua");
  mLevelMetrics.SetInt("LevelNumber", mEndless ? mVenue : mVenue * 10 + mLevel - 10);
  mLevelMetrics.Commit();
  LoadSounds();
}

void TGameLevel::LoadTimings() {
  LoadMusic();
  for (auto& burst : mHeartBursts) {
    burst = TFestraStateAnim::Create(kHeartBurstLayer);
    burst->AddState(ResolveAssetName("images/heartburst", TAssetKind::kAnimation));
    burst->SetVisible(false);
    Place(burst, false, false);
  }
  mCakeTable = TCakeTable::Create(kCakeTableLayer);
  mCakeTable->SetOwner(this);
  mDepthObjects.push_back(mCakeTable);
  mCakeTable->SetTipOver(mSettings.cakeTipDelay, mSettings.cakeTipChance, this);
  mPoints = TPoints();
  TPrefs* prefs = Prefs();
  if (mEndless) {
    mUpgradeFlags.fill(0);
    LoadEndlessSettings();
    if (prefs) {
      prefs->SetInt("endless", 1, mPlayer, true);
      StoreUpgradeSlots(*prefs, kArcadeUpgradeFlagKey, mUpgradeFlags, mPlayer);
    }
  } else if (prefs) {
    prefs->SetInt("endless", 0, mPlayer, true);
    mUpgradeFlags = LoadUpgradeSlots(*prefs, StoryUpgradeKey(mVenue), mPlayer);
  }
}

void TGameLevel::LoadPanels(TScript* script) {
  if (mStatusWidget && mStatusWidget->GetParent())
    mStatusWidget->GetParent()->RemoveChild(mStatusWidget.get());
  mStatusWidget = Place(TStatusWidget::Create(kStatusLayer), false, false);
  mStatusWidget->Build(mVenue, mLevel);
  mStatusWidget->SetGoalStage(mSettings.highScore);
  mStatusWidget->SetGoal(mSettings.passScore);

  Place(mHeadTable, false, false);
  mHeadTable->Setup(ResolveAssetName("assets/images/table/headtable1", TAssetKind::kPicture));
  mExpertGoal = mSettings.highScore;
  mHeadTable->SetMaxHappiness(static_cast<float>(mSettings.maxCoupleHappiness));
  if (!mEndless) mGoal += mSettings.passScore;
  mHeadTable->PlaceAt(340, 180, kAnchorBottomCentre);
  TRect bounds = mHeadTable->GetBounds(-1);
  bounds.top -= 2 * (bounds.bottom - bounds.top) / 3;
  mObstacles.push_back(bounds);

  ChooseCouple();
  BuildDialogTexts();
  Place(mDanceFloor, false, false);
  mDanceFloor->PlaceAt(600, 365, kAnchorTopLeft);
  mHeadIcons = ReadNames(script, "headIcon", kMaxNames);
  mGuestHighlightImages = ReadNames(script, "guestHighlightImages", kMaxNames);
}

void TGameLevel::BuildDialogTexts() {
  TLevelDialogSetup setup;
  const int v = mVenue, l = mLevel;
  if (mEndless) {
    setup.texts[1] = Label(TString::Format("arcadeWinText%d", v));
    setup.texts[2] = Label(TString::Format("arcadeLoseText%d", v));
    setup.texts[3] = Label(TString::Format("arcadeNoteText%d", v));
    setup.texts[4] = Label(TString::Format("arcadeWinTextZia%d", v));
  } else {
    const TString heading = v == 0 && l == 0
                                ? TString("\n")
                                : Label("current_level") + TString::Format(" %d.%d\n", v, l);
    setup.texts[0] = heading + Label(TString::Format("introText%d.%d", v, l));
    setup.texts[1] = Label(TString::Format("winText%d.%d", v, l));
    setup.texts[2] = Label(TString::Format("loseText%d.%d", v, l));
    setup.texts[4] = Label(TString::Format("winTextZia%d.%d", v, l));
    setup.background = mSettings.introBG.Length() > 0
                           ? ResolveAssetName(mSettings.introBG, TAssetKind::kPicture)
                           : TString();
  }
  mHasZiaWinText = setup.texts[4].Compare(TString("#####")) > 0;
  setup.endless = mEndless;
  mLevelDialog.Setup(setup);
  mLevelDialog.SetPosition(0, 0);
}

void TGameLevel::PlaceRoomProps() {
  StopMenuMusic();
  if (mLevelMusic) mLevelMusic->Play(true);
  if (!mEndless) {
    mLevelDialog.SetScores(0, mGoal, mExpertGoal);
    mLevelDialog.Show(TLevelDialog::kIntro);
  }
  mChairIcons[0]->SetTexture(GetLevelTexture("assets/images/chair1Icon"));
  mChairIcons[1]->SetTexture(GetLevelTexture("assets/images/chair2Icon"));
  mHintBox->SetVisible(false);

  Place(mMenu, false, false)->PlaceAt(700, 10, kAnchorTopLeft);
  mChef = Place(TFestraStateAnim::Create(kChefLayer), false, false);
  mChef->AddState(
      ResolveAssetName("assets/images/character/chef_normal.xml", TAssetKind::kAnimation));
  const TString spin =
      ResolveAssetName("assets/images/character/chef_spin.xml", TAssetKind::kAnimation);
  mChef->AddState(spin);
  mChef->AddState(spin);
  mChef->SetFrameDelay(100);
  mChef->PlayState(0, 1);
  mChef->PlaceAt(705, 125, kStoredAnchor);

  Place(mServingTable, true, false);
  mServingTable->SetObjectType(kServingTableCode);
  mServingTable->SetUpgradeLevel((HasUpgrade(10) ? 1 : 0) + (HasUpgrade(9) ? 1 : 0));
  mServingTable->PlaceAt(800 - mServingTable->GetWidth(), 30, kStoredAnchor);
  for (int slot = 0; slot < mServingTable->GetSlotCount(); ++slot)
    OrderFromKitchen(mServingTable->GetSlotKind(slot) + 1);

  mDishBin = Place(TDishBin::Create(kDishBinLayer), true, false);
  mDishBin->SetImage(ResolveAssetName("assets/images/table/dishbin", TAssetKind::kPicture));
  mDishBin->SetObjectType(kObjectDishBin);
  mDishBin->PlaceAt(788 - mDishBin->GetWidth(), 350, kStoredAnchor);
  mUseWineTable = GlobalNumberOr(WindowScript(), "useWineTable", 0) > 0;
  if (mUseWineTable) {
    mWineTable = Place(TDishBin::Create(kDishBinLayer), true, false);
    mWineTable->SetImage(ResolveAssetName("assets/images/table/winetable", TAssetKind::kPicture));
    mWineTable->SetObjectType(kObjectWineTable);
    mWineTable->PlaceAt(800 - mWineTable->GetWidth(), 250, kStoredAnchor);
  }
  Place(mCakeTable, false, false)->PlaceAt(475, 115, kStoredAnchor);
}

void TGameLevel::LoadRoomTables(TScript* script) {
  mChairImage = mSettings.chairImage;
  if (HasUpgrade(5) || HasUpgrade(19)) mChairImage = "images/table/chair06";
  if (mChairImage.Length() > 0) mChairImage = ResolveAssetName(mChairImage, TAssetKind::kPicture);
  mWaitingLine.Clear();
  TTable gameObject = GlobalTable(script, "gameObject");
  TTable tables(gameObject ? gameObject->GetTable("availableTables") : nullptr);
  if (mEndless) {
    mGoal += mEndlessSettings.passScore;
    mStatusWidget->SetGoal(mGoal);
    if (tables) LoadTables(tables.get());
    if (TWindow* upgrade = FindChild("upgrade", -1); upgrade && upgrade->GetParent() == this)
      RemoveChild(upgrade);
    return;
  }
  if (!gameObject) return;
  if (tables) LoadTables(tables.get());
  // The guests of "guestList" join with the guests' arrival rules, which are not built yet.
  TTable reseats(gameObject->GetTable("reseatingList"));
  for (int i = 1; reseats; ++i) {
    const int time = static_cast<int>(reseats->GetNumberAt(i, -1000));
    if (time == -1000) break;
    mReseatTimes.push_back(time);
  }
}

void TGameLevel::PlaceCharacters(TScript* script) {
  TTable gameObject = GlobalTable(script, "gameObject");
  LoadVelkaEvents(gameObject.get());
  TRect serving = mServingTable->GetBounds(-1);
  serving.left += 20;
  serving.bottom += 20;
  mObstacles.push_back(serving);

  mPlanner = Place(TFestraWaitress::Create(kPlannerLayer), true, true);
  for (const char* state : kPlannerStates)
    mPlanner->AddState(ResolveAssetName(state, TAssetKind::kAnimation));
  mPlanner->SetRole(TFestraWaitress::kPlanner);
  mPlanner->SetObstacles(mObstacles);
  mPlanner->SetSpeed(mCurrentPlannerSpeed);
  mPlanner->SetQueueLimit(mSettings.waitressMaxQueue);
  mPlanner->SetMarkerImage(
      ResolveAssetName("assets/images/character/selectCircle", TAssetKind::kPicture));
  mPlanner->SetFrameDelay(50);
  mWaitresses.push_back(mPlanner);
  mPlanner->PlayAction(TFestraWaitress::kActionIdle, 1);
  mPlanner->SetStartPosition(116, 535);

  BuildIntroBubble();

  mNumMoodBoosts = static_cast<int>(GlobalNumberOr(script, "numMoodBoosts", 0));
  mChampagneTable = Place(TDishBin::Create(kChampagneTableLayer), true, false);
  mChampagneTable->SetObjectType(kObjectHeroine);
  const int top = mNumMoodBoosts > 0 ? 437 : 412;
  mChampagneTable->SetImage(ResolveAssetName(
      mNumMoodBoosts > 0 ? "assets/images/table/champagnetable" : "assets/images/table/VelkasTable",
      TAssetKind::kPicture));
  mChampagneTable->PlaceAt(8, top, kStoredAnchor);
  mObstacles.push_back(
      TRect{8, top, 8 + mChampagneTable->GetWidth(), 437 + mChampagneTable->GetHeight()});
  for (int i = 0; i < kChampagneGlasses; ++i) {
    auto glass = Place(TFestraSprite::Create(kGlassLayer), true, false);
    glass->SetTexture(GetLevelTexture("assets/images/food/champagneglass"));
    glass->PlaceAt(28 + 15 * i, 407 + 8 * i, kStoredAnchor);
    glass->SetVisible(i < mNumMoodBoosts);
    mChampagneGlasses.push_back(glass);
  }

  if (static_cast<int>(GlobalNumberOr(script, "useZiaAsServer", 0)) == 1) {
    AddServer(2);
    if (TPrefs* prefs = Prefs()) prefs->SetInt("played_as_zia", 1, mPlayer, true);
  }
  mNumServers = static_cast<int>(GlobalNumberOr(script, "numServers", 1));
  for (int i = 0; i < mNumServers; ++i) AddServer(i % 2);
  mCurrentServer = mWaitresses.front();
  PlaceCharacterProps();
  mLevelStartTime = TPlatform::GetTime();
  SortByDepth(false);
}

void TGameLevel::PlaceCharacterProps() {
  mSpeaker = Place(TSpeaker::Create(kSpeakerLayer), true, true);
  mSpeaker->AddState(ResolveAssetName("assets/images/speaker_idle.xml", TAssetKind::kAnimation));
  mSpeaker->SetFrameDelay(100);
  mSpeaker->PlaceAt(780, 490, kStoredAnchor);
  mSpeaker->LoopState(0);
  mSpeakerWire = Place(TFestraStateAnim::Create(kSpeakerWireLayer), true, true);
  mSpeakerWire->AddState(ResolveAssetName("assets/images/speakerwire.xml", TAssetKind::kAnimation));
  mSpeakerWire->SetFrameDelay(50);
  mSpeakerWire->PlaceAt(900, 600, kStoredAnchor);
  mSpeakerWire->PlayState(0, 1);

  Place(mMusicTable, true, true);
  mMusicTable->SetImage(ResolveAssetName("assets/images/table/musictable", TAssetKind::kPicture));
  mMusicTable->PlaceAt(814, 603, kAnchorBottomRight);
  mMusicTable->SetObjectType(kObjectMusicTable);
  const bool band = HasUpgrade(11) || HasUpgrade(12);
  mBand = Place(TFestraStateAnim::Create(kBandLayer), true, true);
  mBand->AddState(ResolveAssetName(
      band ? "assets/images/band.xml" : "assets/images/character/dj.xml", TAssetKind::kAnimation));
  mMusicTable->SetVisible(!band);
  mBand->SetFrameDelay(100);
  mBand->LoopState(0);
  mBand->PlaceAt(805, 605, kStoredAnchor);

  mLovePotion->SetTexture(GetLevelTexture("assets/images/lovepotion"));
  mHeldGuest.reset();
  Place(mGuestBook, false, false);
  mGuestBook->Setup(mSettings.lastRequest);
  mGuestBook->PlaceAt(0, 440, kAnchorTopLeft);
  Place(mLovePotionIcon, false, false);
  mLovePotionIcon->SetTexture(GetLevelTexture("assets/images/lovepotionIcon"));
  mLovePotionIcon->SetObjectType(1850);
  mLovePotionIcon->PlaceAt(280, 600 - mLovePotionIcon->GetHeight(), kAnchorTopLeft);
  Place(mHintPointer, false, false);
  mHintPointer->SetTexture(GetLevelTexture("assets/images/orangeArrow"));
  mHintPointer->SetVisible(false);

  if (mSettings.blaster) {
    mBoostMeter = Place(TFestraAnimSprite::Create(kBoostMeterLayer), false, true);
    mBoostMeter->Load(ResolveAssetName("assets/images/boostmeter", TAssetKind::kAnimation), "", "");
    mBoostMeter->SetCurrentFrame(0);
    mBoostMeter->PlaceAt(140, 470, kAnchorTopLeft);
    mBoostFill = 0;
  }
  if (mSettings.tutorial) {
    mHintBox->SetText(Label("tutorialIntro"));
    mHintBox->PlaceAt(165, 305, kAnchorTopLeft);
    mHintBox->SetVisible(true);
  }
}

void TGameLevel::AddServer(int look) {
  if (mServersMade >= mNumServers) return;
  const int index = mServersMade++;
  auto server = Place(TFestraWaitress::Create(kServerLayer), true, true);
  server->SetLook(look);
  server->SetRole(TFestraWaitress::kServer);
  server->SetObstacles(mObstacles);
  server->SetSpeed(mCurrentServerSpeed);
  server->SetQueueLimit(mSettings.waitressMaxQueue);
  server->SetStartPosition(630 + 50 * index, 270);
  mWaitresses.push_back(server);
}
