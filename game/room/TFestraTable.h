// A guest table: a clickable room object with its picture, the identifier the level script
// gives it, a row of chairs drawn as its children (behind it), per-chair occupied flags and a
// count of seated guests, a mark picture and two service counters that seated guests
// consult.
//
// A table has 1 to 16 chairs; Setup clamps any other count with a log line. Chairs are
// spaced (table width - 22) / chairs - 1 apart from x 22, standing with their bottom at y 4.
// Occupied flags and the seated count change together through SetOccupied, which the
// guests' seat operations call. UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/room/TFestraObject.h"

class TFestraChair;

class TFestraTable : public TFestraObject {
  TV_SPRITE_CLASS(TFestraTable, TFestraObject)

 public:
  static constexpr int kMaxChairs = 16;
  static constexpr int kChairsLeft = 22;

  explicit TFestraTable(int layer = 0);
  ~TFestraTable() override;

  // The table's picture at (x, y) by its stored anchor, and `chairs` new chairs.
  void Setup(const TString& tableImage, int chairs, float x, float y, const TString& chairImage);
  // The mark picture, centred at (table width / 2, 58).
  void SetMarkImage(const TString& image);
  // Every chair gets the picture.
  void SetChairImage(const TString& image);
  // Null for an index outside the chairs.
  std::shared_ptr<TFestraChair> GetChair(int seat) const;
  // 1 for the first and the last seat, else 2; occupancy is not looked at.
  int CountNeighbours(int seat) const;
  // How many of the seats beside `seat` exist and are free.
  int CountFreeNeighbours(int seat) const;
  // Sets a seat's flag and keeps the seated count; false for a seat outside the chairs.
  bool SetOccupied(int seat, bool occupied);
  bool IsOccupied(int seat) const;

  int GetChairCount() const { return mChairCount; }
  int GetChairPitch() const { return mChairPitch; }
  int GetSeatedCount() const { return mSeatedCount; }
  void SetTableId(int id) { mTableId = id; }
  int GetTableId() const { return mTableId; }
  // The colour the seating rules match guests' table preferences against: 0 red, 1 blue.
  void SetColorId(int color) { mColorId = color; }
  int GetColorId() const { return mColorId; }
  const TString& GetMarkImage() const { return mMarkImage; }
  const std::shared_ptr<TFestraSprite>& GetMark() const { return mMark; }
  // The service counters: the coffee and the tissue requests of the table's guests, which
  // the level counts.
  static constexpr int kCoffeeRequests = 0;
  static constexpr int kTissueRequests = 1;
  int GetServiceCounter(int i) const { return mServiceCounters[i]; }
  void SetServiceCounter(int i, int value) { mServiceCounters[i] = value; }

 private:
  void RemoveChairs();
  void CreateChairs(const TString& chairImage);

  std::array<uint8_t, kMaxChairs> mOccupied{};
  int mChairCount = 0;
  int mChairPitch = 0;
  TString mMarkImage;
  int mTableId = -1;
  int mColorId = 0;
  int mSeatedCount = 0;
  std::array<int, 2> mServiceCounters{};
  std::shared_ptr<TFestraSprite> mMark;
  std::vector<std::shared_ptr<TFestraChair>> mChairs;
};
