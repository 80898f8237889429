// The planning record: for each of the three rows of the planning selection, the row's
// category, the value of the option picked (its kind within the category) and whether it is
// one the couple wished for. The selection dialog stores it in the global node of the
// preferences store and sets "selectionDone" to 1 once its reveal has ended; the level,
// waiting for that, reads the record, applies it to its room and sets the flag back to 0.
// A later reader gets whatever the last dialog stored.
#pragma once

#include <array>
#include <cstdint>

class TPrefs;

// The categories of a row, as the selection scripts name them in `SelectionType`.
enum TPlanningCategory : int32_t {
  kPlanningAppetizer = 0,
  kPlanningMeal = 1,
  kPlanningCake = 2,
  kPlanningFlowers = 3,
  kPlanningHoneymoon = 4,
  kPlanningColor = 5,
};

inline constexpr int kPlanningRows = 3;
// Points for each pick the couple wished for.
inline constexpr int kPointsPerCorrectPick = 100;

// The global integer that hands the record over: 1 from the end of the reveal until the
// level has taken the record, 0 otherwise.
inline constexpr char kSelectionDoneKey[] = "selectionDone";
// The record's three rows, each three integers.
inline constexpr char kPlanningCategoryKey[] = "category";
inline constexpr char kPlanningSelectionKey[] = "selection";
inline constexpr char kPlanningCorrectKey[] = "correct";

struct TPlanningRecord {
  std::array<int32_t, kPlanningRows> category{};
  std::array<int32_t, kPlanningRows> selection{};
  std::array<int32_t, kPlanningRows> correct{};  // not 0: a pick the couple wished for
};

// Stores the three rows in the global node, saved at once.
void StorePlanningRecord(TPrefs& prefs, const TPlanningRecord& record);
// Reads the stored rows into `record`; a row that is missing or too long keeps its values.
void LoadPlanningRecord(TPrefs& prefs, TPlanningRecord* record);
// The rows whose correct value is not 0.
int CountCorrectPicks(const TPlanningRecord& record);
