// The level window (window type "GameWindow"): it plays one level. A level script builds it
// inside its dialog; the level then reads the script's globals in ten loading steps, one per
// 20 ms tick, into a room of room objects it owns (tables, guests, servers, the heroine, the
// head table, the serving table, props and panels), shows its introduction and runs the
// reception on its tick until the level is won or lost. The room hears from the room objects
// through TRoomLevel.
//
// States: 10 loading, 6 introduction, 17 waiting for the planning choice, 2 serving, 5
// closing (10 s, then won or lost), 3 won, 4 lost, 13 paused and 15 the endless upgrade
// choice. One tick's elapsed time is at most 200 ms: a longer gap, the first tick and a
// clock that stepped back count 0.
//
// The file split: TGameLevel.cpp (construction, teardown, the room's calls), GameLevelStates.cpp
// (the tick, the states, pause), GameLevelBind.cpp (the script functions), GameLevelLoad.cpp
// (the loading steps), GameLevelTables.cpp (the readers of the script's tables and the level's
// assets), GameLevelRoom.cpp (the waiting line and room utilities) and GameLevelDraw.cpp
// (drawing and the depth order). UI thread only.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <vector>

#include "game/fx/TSpecialEffectList.h"
#include "game/level/LevelSettings.h"
#include "game/level/TLevelDialog.h"
#include "game/level/TVelkaEventList.h"
#include "game/level/WaitingLine.h"
#include "game/room/TFestraSprite.h"
#include "game/room/TRoomLevel.h"
#include "game/shell/TMetricsReporter.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/core/TRect.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TWindow.h"

class TCakeTable;
class TDishBin;
class TFestraAnimSprite;
class TFestraObject;
class TFestraSprite;
class TFestraStateAnim;
class TFestraTable;
class TFestraWaitress;
class THintBox;
class TItemTable;
class TLoadingBox;
class TLuaTable;
class TMovingParticle;
class TGuestBook;
class TScoreTable;
class TScript;
class TSMenu;
class TSound;
class TSpeaker;
class TSprite;
class TStatusWidget;
class TUpdateGameLevelTask;

class TGameLevel : public TWindow, public TRoomLevel {
 public:
  // Level states.
  static constexpr int kServing = 2;
  static constexpr int kWon = 3;
  static constexpr int kLost = 4;
  static constexpr int kClosing = 5;
  static constexpr int kIntro = 6;
  static constexpr int kLoading = 10;
  static constexpr int kPaused = 13;
  static constexpr int kUpgradeChoice = 15;
  static constexpr int kPlanningChoice = 17;

  static constexpr int kTickMs = 20;
  static constexpr int kMaxTickMs = 200;
  static constexpr int kClosingMs = 10000;
  static constexpr int kLastLoadStep = 9;
  static constexpr int kCharRows = 10;
  static constexpr int kCharNames = 13;
  static constexpr int kMaxNames = 10;
  static constexpr int kChampagneGlasses = 3;
  static constexpr int kDanceSlots = 12;
  static constexpr int kBoostMeterFullMs = 60000;

  // The setting that seeds the level's random generator; without it the clock does.
  static constexpr const char* kSeedSetting = "randseed";
  static constexpr const char* kPauseMenuScript = "assets/scripts/pausemenu.lua";
  static constexpr const char* kPauseButton = "pause";

  // The nine base points of the scoring; upgrades raise them.
  struct TPoints {
    int seating = 30, appetizer = 20, dinner = 20, cake = 20, gift = 10;
    int reseat = 100, song = 200, drink = 200, dance = 20;
  };
  // The level's sound effects, loaded in this order.
  struct TSounds {
    std::shared_ptr<TSound> bonus, deliver, seat, problem, dialogClick, gift, sob, endOfLevel,
        pickupFood, servePickup, pickupGuest, readyToSeat, refuse, buttonClick, lostPoints,
        planningBonus, gameClick, gameClick2;
  };
  // An order of the kitchen: the food code (2 appetizer, 3 dinner, 4 cake) and its delay.
  struct TKitchenOrder {
    int food = 0;
    int delay = 0;
  };
  // The endless reception's settings.
  struct TEndlessSettings {
    std::array<int, 10> typePercent{};
    std::array<std::array<int, 2>, 11> attributeRanges{};
    int passScore = 0;
    int creationDelay = 60000;
    int speedIncrease = 10000;
    int minGuests = 1;
    int maxGuests = 4;
    int creationTimer = 0;
  };

  static TWindow* Create();
  TGameLevel();
  ~TGameLevel() override;
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // The window's operations.
  void PostCreate() override {}
  void Draw() override;
  bool OnMessage(TMessage* message) override;
  bool OnMouseUp(TPoint* point) override;
  // Opens the pause menu unless the level is paused already; always true.
  bool RequestPause() override;
  // p, P and Esc pause or resume.
  bool OnKeyDown(int key, uint32_t modifiers) override;

  // What the room's objects call.
  int OnObjectClicked(TSprite* object, int code) override;
  int AddEvent(int code, int x, int y, int balloonX, int balloonY, int popupX,
               int popupY) override {
    return mVelkaEvents.AddEvent(code, x, y, balloonX, balloonY, popupX, popupY);
  }
  void RemoveEvent(int code) override { mVelkaEvents.RemoveEvent(code); }
  void RemoveMatchingEvent(int code, int key) override {
    mVelkaEvents.RemoveMatchingEvent(code, key);
  }
  void ShowDesireIcon(int /*desire*/, TFestraGuest* /*guest*/) override {}
  // The level's reaction to a guest's new desire: nothing for 17, 18 and -1; the request
  // time and icon of a tissue or coffee request (8, 9); a guest that wants to sit (0) is
  // counted, shown and queued for the waiting line. The scoring of the other desires is not
  // built yet: they are logged.
  void HandleGuestDesire(int desire, TFestraGuest* guest) override;
  void AwardSeatingMatch(TFestraGuest* guest) override;
  void ResetSeatingCombo() override { mSeatingCombo = 0; }
  std::shared_ptr<TFestraGuest> FindChair(const TFestraTable* table, int seat) override {
    return GuestAtSeat(table, seat);
  }
  int RateSeatingMatch(const TFestraGuest* guest, const TFestraGuest* other) override;
  bool AllowsSeatChanges() override { return mAllowsSeatChanges; }
  void AddMetricsCount(const char* key, int value) override;
  int StartSobbing() override;
  void StopSobbing(int handle) override;
  // Loads the effect file into the front effect list at the point (or where it says).
  int StartEffect(const TString& file, const TVec2* at) override;
  bool CanServerPickUp(int /*itemType*/) override { return true; }
  bool IsLoading() const override { return mState == kLoading; }
  bool IsWaitressPaused() override { return false; }
  void PlayClickSound() override;

  // The tick (run by the level's task every 20 ms) and the states.
  void Tick();
  void LoadLevelStep();
  void TogglePause();
  void PauseAnims(bool pause);
  // Finds the window of the name anywhere under the level's parent and hides or shows it.
  void HideParentChild(const TString& name);
  void ShowParentChild(const TString& name);
  // Records the level with the metrics recorder: won (3), lost (4) or left (any other).
  void RecordLevelMetrics(int endState);

  // The script functions (GameLevelBind.cpp).
  void PauseAction(int action);
  void DoPause() { TogglePause(); }
  void DumpMetricsData() { RecordLevelMetrics(0); }
  int CurrentVenue() { return mVenue; }
  int CurrentLevel() { return mLevel; }
  void HidePlanningButtons();
  void RevealPlanningButtons();

  // The waiting line and room utilities (GameLevelRoom.cpp).
  void AddToWaitingLine(const std::shared_ptr<TFestraGuest>& guest);
  void RemoveFromWaitingLine(const TFestraGuest* guest);
  // Every guest without a table and not dancing joins the line, the last of the list in
  // front.
  void FillWaitingLine();
  std::shared_ptr<TFestraGuest> GuestAtSeat(const TFestraTable* table, int seat) const;
  void SetChairImages(const TString& image);
  // Adds a guest to the level: the room, the guest list and the depth order.
  void AddGuest(const std::shared_ptr<TFestraGuest>& guest);
  // Sorts the depth order and gives the room objects the layers 508, 558, ... when the order
  // changed or when forced.
  void SortByDepth(bool force);

  // The loading steps' readers (GameLevelTables.cpp).
  void LoadTables(const TLuaTable* tables);
  void LoadVelkaEvents(const TLuaTable* gameObject);
  void LoadCharacterImages();
  void LoadEndlessSettings();
  void LoadMusic();
  void ChooseCouple();
  void LoadSounds();
  void BuildIntroBubble();
  void OrderFromKitchen(int food);
  bool HasUpgrade(int id) const;
  // The planning choices' picture names.
  static void AppetizerImages(int k, TString names[3]);
  static void DinnerImages(int k, TString names[3]);
  static TString FlowerImageName(int k);
  static void CakeImageNames(int k, TString* cake, TString* tipped);

  // What tests and the later parts of the level read.
  int GetState() const { return mState; }
  int GetSavedState() const { return mSavedState; }
  int GetLoadStep() const { return mLoadStep; }
  int GetPlayTime() const { return mPlayTime; }
  int GetLastDt() const { return mLastDt; }
  int GetVenue() const { return mVenue; }
  int GetLevel() const { return mLevel; }
  bool IsEndless() const { return mEndless; }
  uint32_t GetSeed() const { return mSeed; }
  int Random() { return mRandom.Next(); }
  int GetClosingTimer() const { return mClosingTimer; }
  const TLevelSettings& GetSettings() const { return mSettings; }
  const TBasicSettings& GetSpeeds() const { return mSpeeds; }
  const TPoints& GetPoints() const { return mPoints; }
  const TSounds& GetSounds() const { return mSounds; }
  const TEndlessSettings& GetEndlessSettings() const { return mEndlessSettings; }
  const TString& GetMusicName() const { return mMusicName; }
  const TString& GetCharImage(int row, int column) const { return mCharImages[row][column]; }
  const std::array<int, 4>& GetCharClickArea(int row) const { return mCharClickAreas[row]; }
  const std::vector<TString>& GetHeadIcons() const { return mHeadIcons; }
  const std::vector<TString>& GetHighlightImages() const { return mGuestHighlightImages; }
  const std::deque<int>& GetReseatTimes() const { return mReseatTimes; }
  const std::vector<TRect>& GetObstacles() const { return mObstacles; }
  const std::vector<TKitchenOrder>& GetKitchenOrders() const { return mKitchenOrders; }
  const std::vector<std::shared_ptr<TFestraTable>>& GetTables() const { return mTables; }
  const std::vector<std::shared_ptr<TFestraGuest>>& GetGuests() const { return mGuests; }
  const std::vector<std::shared_ptr<TFestraWaitress>>& GetWaitresses() const { return mWaitresses; }
  const std::vector<std::shared_ptr<TFestraSprite>>& GetChampagneGlasses() const {
    return mChampagneGlasses;
  }
  const std::vector<std::shared_ptr<TSprite>>& GetDepthObjects() const { return mDepthObjects; }
  const TWaitingLine& GetWaitingLine() const { return mWaitingLine; }
  const std::shared_ptr<TFestraSprite>& GetSceneRoot() const { return mSceneRoot; }
  const std::shared_ptr<TLoadingBox>& GetLoadingBox() const { return mLoadingBox; }
  const std::shared_ptr<TScoreTable>& GetHeadTable() const { return mHeadTable; }
  const std::shared_ptr<TStatusWidget>& GetStatusWidget() const { return mStatusWidget; }
  const std::shared_ptr<TItemTable>& GetServingTable() const { return mServingTable; }
  const std::shared_ptr<TFestraWaitress>& GetPlanner() const { return mPlanner; }
  const std::shared_ptr<THintBox>& GetIntroBubble() const { return mIntroBubble; }
  const std::shared_ptr<TFestraAnimSprite>& GetBoostMeter() const { return mBoostMeter; }
  TLevelDialog& GetLevelDialog() { return mLevelDialog; }
  TSpecialEffectList& GetEffects() { return mEffects; }
  TSpecialEffectList& GetBackEffects() { return mBackEffects; }
  TVelkaEventList& GetVelkaEvents() { return mVelkaEvents; }
  int GetSeatingCombo() const { return mSeatingCombo; }
  void SetAllowsSeatChanges(bool allow) { mAllowsSeatChanges = allow; }
  int GetGuestsTotal() const { return mGuestsTotal; }
  void SetGuestsTotal(int total) { mGuestsTotal = total; }
  void SetGuestsDone(int done) { mGuestsDone = done; }

 private:
  friend class TUpdateGameLevelTask;

  // Construction and teardown (TGameLevel.cpp).
  void CreateRoom();
  void Start();
  void Teardown();
  // Adds a room object to the scene, owned by the level, and to the lists asked for.
  template <class T>
  std::shared_ptr<T> Place(std::shared_ptr<T> sprite, bool animated, bool depth);
  void TakeFocus();

  // States (GameLevelStates.cpp).
  void StepLoading();
  void ServingTick(int dt);
  void UpdateClosing(int dt);
  void UpdateIntro();
  void UpdateBoostMeter(int dt);
  void UpdateMovingParticles(int dt);
  void WaitForPlanning();
  // The planning hand-over: takes the planning record and starts serving.
  void StartServing();
  void Resume();
  void OpenPlanning();
  int GetScore() const;
  int GetGoal() const { return mGoal; }

  // The script functions' registration (GameLevelBind.cpp).
  void BindScriptFunctions();

  // The loading steps (GameLevelLoad.cpp).
  void LoadStart();
  void LoadSpeeds(TScript* script);
  void LoadLevelNumbers(TScript* script);
  void LoadTimings();
  void LoadPanels(TScript* script);
  void BuildDialogTexts();
  void PlaceRoomProps();
  void LoadRoomTables(TScript* script);
  void PlaceCharacters(TScript* script);
  void PlaceCharacterProps();
  void AddServer(int look);

  // The waiting guest's spot.
  void PlaceInLine(TFestraGuest* guest, TWaitingLine::TSpot spot);

  // Construction order matters: the bindings go last, before the members they reach.
  int mState = 0;
  int mSavedState = 0;
  int mEndState = kLost;
  uint32_t mLastTickTime = 0;
  int mPlayTime = 0;
  int mLastDt = 0;
  bool mEndless = false;
  int mVenue = 0;
  int mLevel = 1;
  int mPlayer = -1;
  int mClosingTimer = 0;
  int mLoadStep = 0;
  int mServingClock = 0;
  uint32_t mLevelStartTime = 0;
  uint32_t mSeed = 0;
  TRandom mRandom;
  int mGoal = 0;
  int mExpertGoal = 0;

  TLevelSettings mSettings;
  TBasicSettings mSpeeds;
  float mCurrentServerSpeed = 0;
  float mCurrentPlannerSpeed = 0;
  TPoints mPoints;
  TSounds mSounds;
  TEndlessSettings mEndlessSettings;
  std::array<int, 10> mUpgradeFlags{};
  int mNumServers = 1;
  int mServersMade = 0;
  int mNumMoodBoosts = 0;
  bool mUseWineTable = false;
  bool mHasZiaWinText = false;
  int mPlannerIdleTimer = 0;
  int mGuestsTotal = 0;
  int mGuestsDone = 0;
  int mSeatingCombo = 0;
  bool mAllowsSeatChanges = false;
  bool mBubbleHold = false;
  bool mPlanningRewardPending = false;
  int mBoostFill = 0;
  int mBoostBlink = 0;
  int mBoostFrame = 0;
  TString mMusicName;
  TString mChairImage;
  std::array<std::array<TString, kCharNames>, kCharRows> mCharImages;
  std::array<std::array<int, 4>, kCharRows> mCharClickAreas{};
  std::vector<TString> mHeadIcons;
  std::vector<TString> mGuestHighlightImages;
  std::deque<int> mReseatTimes;
  std::vector<TRect> mObstacles;
  std::vector<TKitchenOrder> mKitchenOrders;
  TWaitingLine mWaitingLine;

  TVelkaEventList mVelkaEvents;
  TSpecialEffectList mEffects;
  TSpecialEffectList mBackEffects;
  TMetricsReporter mLevelMetrics;
  TLevelDialog mLevelDialog;
  TWindow* mPreviousFocus = nullptr;
  TUpdateGameLevelTask* mUpdateTask = nullptr;  // owned by the modal window's task list

  std::shared_ptr<TFestraSprite> mSceneRoot;
  std::shared_ptr<TFestraSprite> mDanceFloor;
  std::shared_ptr<TFestraSprite> mLovePotion;
  std::shared_ptr<TFestraSprite> mHintPointer;
  std::array<std::shared_ptr<TFestraSprite>, 2> mChairIcons;
  std::shared_ptr<TFestraObject> mLovePotionIcon;
  std::shared_ptr<TScoreTable> mHeadTable;
  std::shared_ptr<TDishBin> mMusicTable;
  std::shared_ptr<TItemTable> mServingTable;
  std::shared_ptr<TSMenu> mMenu;
  std::shared_ptr<TGuestBook> mGuestBook;
  std::shared_ptr<THintBox> mHintBox;
  std::shared_ptr<TStatusWidget> mStatusWidget;
  std::shared_ptr<TLoadingBox> mLoadingBox;
  std::array<std::shared_ptr<TFestraStateAnim>, 2> mHeartBursts;
  std::shared_ptr<TCakeTable> mCakeTable;
  std::shared_ptr<TFestraStateAnim> mChef;
  std::shared_ptr<TDishBin> mDishBin;
  std::shared_ptr<TDishBin> mWineTable;
  std::shared_ptr<TDishBin> mChampagneTable;
  std::vector<std::shared_ptr<TFestraSprite>> mChampagneGlasses;
  std::shared_ptr<TFestraWaitress> mPlanner;
  std::shared_ptr<TFestraWaitress> mCurrentServer;
  std::shared_ptr<TSpeaker> mSpeaker;
  std::shared_ptr<TFestraStateAnim> mSpeakerWire;
  std::shared_ptr<TFestraStateAnim> mBand;
  std::shared_ptr<TFestraAnimSprite> mBoostMeter;
  std::shared_ptr<THintBox> mIntroBubble;
  std::shared_ptr<TFestraSprite> mIntroImage;
  std::shared_ptr<TSound> mLevelMusic;
  std::shared_ptr<TSound> mSobbingSound;
  std::shared_ptr<TFestraGuest> mHeldGuest;
  std::vector<std::shared_ptr<TFestraTable>> mTables;
  std::vector<std::shared_ptr<TFestraGuest>> mGuests;
  std::vector<std::weak_ptr<TFestraGuest>> mNewArrivals;
  std::vector<std::shared_ptr<TFestraWaitress>> mWaitresses;
  std::vector<std::shared_ptr<TMovingParticle>> mMovingParticles;
  std::vector<std::shared_ptr<TSprite>> mAnimSprites;
  std::vector<std::shared_ptr<TSprite>> mDepthObjects;
  std::array<std::weak_ptr<TFestraGuest>, kDanceSlots> mDanceSlots;
  int mDanceCount = 0;

  TLuaBindings mBindings;
};

template <class T>
std::shared_ptr<T> TGameLevel::Place(std::shared_ptr<T> sprite, bool animated, bool depth) {
  sprite->SetOwner(this);
  mSceneRoot->AddChild(sprite);
  if (animated) mAnimSprites.push_back(sprite);
  if (depth) mDepthObjects.push_back(sprite);
  return sprite;
}
