// The waiting line's grid.
#include "game/level/WaitingLine.h"

TPoint TWaitingLine::SpotPoint(int rank, int place) {
  const int x = 32 + 40 * place + (rank == kFrontRank - 1 ? 20 : 0);
  const int y = rank >= kFirstShownRank ? 78 * rank - 612 : kParkedY;
  return TPoint{x, y};
}

TWaitingLine::TSpot TWaitingLine::Add(TFestraGuest* guest) {
  int firstTaken = kRanks * kPlaces;
  for (int i = 0; i < kRanks * kPlaces; ++i) {
    if (mGrid[i / kPlaces][i % kPlaces]) {
      firstTaken = i;
      break;
    }
  }
  if (firstTaken == 0) return TSpot{};
  const int i = firstTaken - 1;
  mGrid[i / kPlaces][i % kPlaces] = guest;
  return TSpot{i / kPlaces, i % kPlaces};
}

std::vector<TFestraGuest*> TWaitingLine::Remove(const TFestraGuest* guest) {
  for (auto& rank : mGrid) {
    for (auto& place : rank) {
      if (place == guest) place = nullptr;
    }
  }
  std::vector<TFestraGuest*> moved;
  const int first = FirstOccupiedRank();
  if (first < 0) return moved;
  for (int rank = kFrontRank; rank > first; --rank) {
    if (!IsRankEmpty(rank)) continue;
    mGrid[rank] = mGrid[rank - 1];
    mGrid[rank - 1].fill(nullptr);
    for (TFestraGuest* g : mGrid[rank]) {
      if (g) moved.push_back(g);
    }
  }
  return moved;
}

bool TWaitingLine::Contains(const TFestraGuest* guest) const {
  return Find(guest).rank >= 0;
}

TWaitingLine::TSpot TWaitingLine::Find(const TFestraGuest* guest) const {
  for (int rank = 0; rank < kRanks; ++rank) {
    for (int place = 0; place < kPlaces; ++place) {
      if (guest && mGrid[rank][place] == guest) return TSpot{rank, place};
    }
  }
  return TSpot{};
}

TFestraGuest* TWaitingLine::At(int rank, int place) const {
  if (rank < 0 || rank >= kRanks || place < 0 || place >= kPlaces) return nullptr;
  return mGrid[rank][place];
}

int TWaitingLine::FirstOccupiedRank() const {
  for (int rank = 0; rank < kRanks; ++rank) {
    if (!IsRankEmpty(rank)) return rank;
  }
  return -1;
}

void TWaitingLine::Clear() {
  for (auto& rank : mGrid) rank.fill(nullptr);
}

bool TWaitingLine::IsRankEmpty(int rank) const {
  for (TFestraGuest* g : mGrid[rank]) {
    if (g) return false;
  }
  return true;
}
