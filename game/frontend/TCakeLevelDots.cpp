// The venue map's level dots.
#include "game/frontend/TCakeLevelDots.h"

#include <algorithm>

#include "game/frontend/FrontendParts.h"
#include "tvlib/render/TTexture.h"

namespace {

size_t DotIndex(int venue, int level) {
  return static_cast<size_t>(kVenueLevels * (venue - 1) + (level - 1));
}

bool IsDot(int venue, int level) {
  return venue >= 1 && venue <= kVenueCount && level >= 1 && level <= kVenueLevels;
}

}  // namespace

TCakeLevelDots::TCakeLevelDots(int venueCount, int lastLevel)
    : mVenueCount(std::clamp(venueCount, 0, kVenueCount)), mLastLevel(lastLevel) {
  SetName("leveldots");
  SetSize(kSize, kSize);
  mLocked = TTexture::Get("images/metamap/level_locked", 0);
  mOpen = TTexture::Get("images/metamap/level_open", 0);
  mOpenExpert = TTexture::Get("images/metamap/level_open_expert", 0);
  mSelectedRing = TTexture::Get("images/metamap/level_selected", 0);
  // The next level to play, never past the last one.
  mSelected = NextLevel(venueCount, lastLevel);
  if (mSelected.venue > kVenueCount) mSelected = TLevelRef{kVenueCount, kVenueLevels};
}

TCakeLevelDots::~TCakeLevelDots() = default;

TWindow* TCakeLevelDots::Create() {
  return new TCakeLevelDots(1, 0);
}

TWindowClassId TCakeLevelDots::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TCakeLevelDots::Create);
}

bool TCakeLevelDots::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TCakeLevelDots::SetDotPosition(int venue, int level, TVec2 position) {
  if (IsDot(venue, level)) mPositions[DotIndex(venue, level)] = position;
}

TVec2 TCakeLevelDots::GetDotPosition(int venue, int level) const {
  return IsDot(venue, level) ? mPositions[DotIndex(venue, level)] : TVec2();
}

int TCakeLevelDots::OpenDots(int v) const {
  if (v < mVenueCount - 1) return kVenueLevels;
  return std::min(mLastLevel + 1, kVenueLevels);
}

TCakeLevelDots::TLook TCakeLevelDots::GetLook(int venue, int level, int player) const {
  if (!IsDot(venue, level) || venue > mVenueCount) return TLook::kHidden;
  if (level > OpenDots(venue - 1)) return TLook::kLocked;
  const bool expert =
      ReadPlayerInt(TString::Format("Expert%d.%d", venue, level).c_str(), 0, player) != 0;
  return expert ? TLook::kOpenExpert : TLook::kOpen;
}

void TCakeLevelDots::Draw() {
  const TWindowDrawing drawing(this);
  if (!drawing.IsDrawing()) return;
  const int player = ReadPlayerInt("curuser", -1, kGlobalPrefs);
  auto draw = [&drawing](const std::shared_ptr<TTexture>& image, TVec2 at) {
    if (!image) return;
    const TVec2 position = drawing.At(at);
    image->DrawRotated(&position, 1.0f, 1.0f, 0.0f, nullptr, 0);
  };
  for (int venue = 1; venue <= mVenueCount; ++venue) {
    for (int level = 1; level <= kVenueLevels; ++level) {
      const TLook look = GetLook(venue, level, player);
      const std::shared_ptr<TTexture>& image = look == TLook::kOpenExpert ? mOpenExpert
                                               : look == TLook::kOpen     ? mOpen
                                                                          : mLocked;
      draw(image, GetDotPosition(venue, level));
    }
  }
  if (HasSelection()) draw(mSelectedRing, GetDotPosition(mSelected.venue, mSelected.level));
}

// Each venue's open dots and the one after them; that one, past a venue's tenth dot, is
// the first dot of the next venue. Nothing past the last venue's tenth dot is tested.
bool TCakeLevelDots::SelectAt(TVec2 point) {
  constexpr float kRadiusSquared = static_cast<float>(kClickRadius * kClickRadius);
  for (int v = 0; v < mVenueCount; ++v) {
    const int last = v < mVenueCount - 1 ? kVenueLevels : std::min(mLastLevel, kVenueLevels);
    for (int j = 0; j <= last; ++j) {
      const int index = kVenueLevels * v + j;
      if (index >= kDotCount) break;
      const TVec2 dot = mPositions[static_cast<size_t>(index)];
      const float dx = point.x - dot.x, dy = point.y - dot.y;
      if (dx * dx + dy * dy >= kRadiusSquared) continue;
      mSelected = j + 1 > kVenueLevels ? TLevelRef{v + 2, 1} : TLevelRef{v + 1, j + 1};
      mSelectionChanged = true;
      Invalidate();
      return true;
    }
  }
  return false;
}

bool TCakeLevelDots::OnMouseDown(TPoint* point) {
  if (point) SelectAt(TVec2(static_cast<float>(point->x), static_cast<float>(point->y)));
  return true;
}

bool TCakeLevelDots::TakeSelectionChanged() {
  const bool changed = mSelectionChanged;
  mSelectionChanged = false;
  return changed;
}
