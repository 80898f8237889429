// The venue map: venues, dots, eyes, the selection's texts and the start of levels.
#include "game/frontend/TMetaMap.h"

#include <cmath>

#include "game/frontend/FrontendParts.h"
#include "game/frontend/ShownChildren.h"
#include "game/frontend/TCakeLevelDots.h"
#include "game/room/TFestraStateAnim.h"
#include "game/shell/MenuMusic.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/core/TTask.h"
#include "tvlib/media/TDrawSpec.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// The map's update, owned by the map's modal window; it ends when the map has gone.
class TUpdateMetamapTask : public TAnimTask {
 public:
  TUpdateMetamapTask(TMetaMap* map, std::weak_ptr<bool> alive)
      : mMap(map), mAlive(std::move(alive)) {
    SetPeriod(TMetaMap::kUpdatePeriodMs, true, true, false);
  }
  bool Animate() override { return !mAlive.expired() && mMap->Update(); }

 private:
  TMetaMap* mMap;
  std::weak_ptr<bool> mAlive;
};

// A marker's coordinate by its key, moved from the marker's corner to its dot; 0 when the
// marker has no such entry.
float MarkerCoordinate(const TLuaTable& marker, const char* key) {
  const double value = marker.GetNumber(key, NAN);
  return std::isnan(value) ? 0.0f : static_cast<float>(value) + TMetaMap::kMarkerToDot;
}

}  // namespace

TMetaMap::TMetaMap() {
  BindScriptFunctions();
  TWindowManager* manager = TWindowManager::Get();
  if (TModalWindow* holder = manager ? manager->GetTopModal() : nullptr) {
    holder->AddTask(new TUpdateMetamapTask(this, mAlive));
  } else {
    DebugLog("TMetaMap: no modal window for its update");
  }
}

TMetaMap::~TMetaMap() = default;

TWindow* TMetaMap::Create() {
  return new TMetaMap;
}

TWindowClassId TMetaMap::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TMetaMap::Create);
}

bool TMetaMap::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

TImage* TMetaMap::GetVenueImage(int venue) const {
  if (venue < 2 || venue > kVenueCount) return nullptr;
  return mVenueImages[static_cast<size_t>(venue - 2)];
}

void TMetaMap::PostCreate() {
  if (TWindowManager* manager = TWindowManager::Get()) manager->SetFocus(this);
  SwitchToMenuMusic();
  mEyes = std::make_shared<TFestraStateAnim>();
  mEyes->AddState(kEyesAnimation);
  mEyes->SetFrameDelay(kEyesFrameDelay);
  mEyes->SetPosition(static_cast<float>(kEyesX), static_cast<float>(kEyesY), -1);
  mPlayer = FrontendPlayer();
  WritePlayerInt("inPauseMenu", 0, mPlayer);
  WritePlayerInt("totalScore", 0, mPlayer);
  ReadLayout();
  BuildVenues();
  GatherLevelButtons();
  ReadDotPositions();
  ShowEndlessButtons();
}

void TMetaMap::ReadLayout() {
  mCurrentVenue = ReadPlayerInt("lastMap", 1, mPlayer);
  mLastLevel = ReadPlayerInt("lastLevel", 0, mPlayer);
  TWindowScript* script = FrontendScript();
  if (!script) return;
  std::unique_ptr<TLuaTable> config(script->GetGlobalTable("config"));
  if (config) {
    mEndless = config->GetString("gameMode", "") == TString("arcade");
    mAlbum = config->GetString("album", "") == TString("yes");
  }
  if (script->GetGlobalString("showAll") == TString("yes")) {
    mCurrentVenue = kVenueCount;
    mLastLevel = kVenueLevels;
  }
}

// Venue N shows once the player has reached it: the venue before it finished. Each picture
// goes below the pictures before it and below the layout's own windows; the dots go above
// every picture.
void TMetaMap::BuildVenues() {
  TImage* front = nullptr;
  for (int venue = 2; venue <= kVenueCount; ++venue) {
    const bool reached =
        mCurrentVenue > venue - 1 || (mCurrentVenue == venue - 1 && mLastLevel == kVenueLevels);
    if (!reached) continue;
    auto* image = new TImage;
    image->SetName(TString::Format("metamap_venue%d", venue));
    image->SetTexture(
        TTexture::Get(TString::Format("assets/images/metamap/metamap_venue%d", venue), 0), 1.0f);
    image->SetPosition(0, 0);
    AddChild(image, true);
    image->Reorder(kReorderToBack);
    mVenueImages[static_cast<size_t>(venue - 2)] = image;
    if (!front) front = image;
  }
  mDots = new TCakeLevelDots(mCurrentVenue, mLastLevel);
  mDots->SetPosition(0, 0);
  AddChild(mDots, true);
  if (front) {
    mDots->MoveBefore(front);
  } else {
    mDots->Reorder(kReorderToBack);
  }
}

// Level buttons made anywhere in the layout become the map's own children, where they
// stay on the screen where the layout put them, above the venues and the dots.
void TMetaMap::GatherLevelButtons() {
  for (int venue = 1; venue <= kVenueCount; ++venue) {
    for (int level = 1; level <= kVenueLevels; ++level) {
      TWindow* button = FindChild(TString::Format("button%d.%d", venue, level), -1);
      if (!button || button == this || button->GetParent() == this) continue;
      const TRect screen = button->GetScreenRect();
      TPoint corner{screen.left, screen.top};
      ScreenToLocal(&corner);
      button->GetParent()->RemoveChild(button);
      button->SetPosition(corner.x, corner.y);
      AddChild(button, true);
    }
  }
}

void TMetaMap::ReadDotPositions() {
  TWindowScript* script = FrontendScript();
  if (!mDots || !script) return;
  for (int venue = 1; venue <= kVenueCount; ++venue) {
    for (int level = 1; level <= kVenueLevels; ++level) {
      const TString name = TString::Format("levelMarker%d_%d", venue, level);
      std::unique_ptr<TLuaTable> marker(script->GetGlobalTable(name.c_str()));
      if (!marker) continue;
      mDots->SetDotPosition(venue, level,
                            TVec2(MarkerCoordinate(*marker, "x"), MarkerCoordinate(*marker, "y")));
    }
  }
}

void TMetaMap::ShowEndlessButtons() {
  if (!mEndless) return;
  for (int venue = 1; venue <= kVenueCount; ++venue) {
    SetChildShown(this, TString::Format("button%d", venue), venue <= mCurrentVenue);
  }
}

void TMetaMap::Draw() {
  if (!mEyes || !mEyes->IsVisible()) return;
  const TWindowDrawing drawing(this);
  if (drawing.IsDrawing()) mEyes->Draw(TDrawSpec(drawing.At(TVec2())), -1);
}

bool TMetaMap::Update() {
  if (TModalWindow* holder = FindModalAncestor(); holder && !holder->IsVisible()) {
    holder->AddFlags(kWindowVisible);
    holder->Invalidate();
  }
  if (mRestartPending && mPendingRestart.venue != -1 && mPendingRestart.level != -1) {
    mRestartPending = false;
    Launch(mPendingRestart.venue, mPendingRestart.level);
  }
  BlinkEyes();
  WriteSelectionTexts();
  Invalidate();
  return true;
}

void TMetaMap::BlinkEyes() {
  if (!mEyes) return;
  if (mEyes->IsAnimationDone()) mEyes->SetVisible(false);
  if (TvRand() % kBlinkChance + 1 == 1) {
    mEyes->SetVisible(true);
    mEyes->PlayState(0, 1);
  }
}

void TMetaMap::WriteSelectionTexts() {
  if (!mDots || !mDots->TakeSelectionChanged()) return;
  const bool selected = mDots->HasSelection();
  SetChildShown(this, "current_level", selected);
  SetChildShown(this, "best_score", selected);
  if (!selected) return;
  const int venue = mDots->GetSelectedVenue(), level = mDots->GetSelectedLevel();
  if (TText* current = FindText(this, "current_level")) {
    current->SetText(TString::Format("%s: %d %s: %d", FrontendString("current_venue").c_str(),
                                     venue, FrontendString("current_level").c_str(), level));
  }
  if (TText* best = FindText(this, "best_score")) {
    const TString key = TString::Format("Score%d.%d", venue, level);
    best->SetText(TString::Format("%s: %d", FrontendString("best_score").c_str(),
                                  ReadPlayerInt(key.c_str(), 0, mPlayer)));
  }
}

void TMetaMap::ToLevel(int venue, int level) {
  Launch(venue, level);
}

void TMetaMap::RestartLevel(int level, int venue) {
  mPendingRestart = TLevelRef{venue, level};
  mRestartPending = true;
}

void TMetaMap::PlayButton() {
  if (mDots && mDots->HasSelection()) Launch(mDots->GetSelectedVenue(), mDots->GetSelectedLevel());
}

// The map's screen hides while the level runs above it; only its visible flag changes.
void TMetaMap::Launch(int venue, int level) {
  const TString script = FindLevelScript(mEndless, venue, level);
  if (script.Length() == 0) return;
  if (TModalWindow* holder = FindModalAncestor()) {
    holder->Invalidate();
    holder->ClearFlags(kWindowVisible);
  }
  mPendingRestart = TLevelRef{-1, -1};
  OpenLevelScript(script, mEndless, venue);
}

bool TMetaMap::OnKeyDown(int key, uint32_t /*modifiers*/) {
  TGameSettings* settings = TGameSettings::Get();
  if (!settings || !settings->IsCheatMode()) return false;
  if (key == 'r' || key == 'R') {
    Reopen(ReadPlayerInt("lastMap", 1, mPlayer), 0);
  } else if (key == 'w' || key == 'W') {
    Reopen(ReadPlayerInt("lastMap", 1, mPlayer), kVenueLevels);
  } else if (key >= '1' && key <= '0' + kVenueCount) {
    Reopen(key - '0', kVenueLevels - 1);
  }
  return true;
}

void TMetaMap::Reopen(int lastMap, int lastLevel) {
  WritePlayerInt("lastMap", lastMap, mPlayer);
  WritePlayerInt("lastLevel", lastLevel, mPlayer);
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->PopModal();
    manager->PushDialog(kAlbumScript, TString(), TString(), kAlbumScript);
  }
}
