// The planning record in the global node of the preferences store.
#include "game/level/PlanningRecord.h"

#include "game/level/StoredInts.h"

namespace {

constexpr int kGlobal = -1;

}  // namespace

void StorePlanningRecord(TPrefs& prefs, const TPlanningRecord& record) {
  StoreInts(prefs, kPlanningSelectionKey, record.selection.data(), kPlanningRows, kGlobal);
  StoreInts(prefs, kPlanningCategoryKey, record.category.data(), kPlanningRows, kGlobal);
  StoreInts(prefs, kPlanningCorrectKey, record.correct.data(), kPlanningRows, kGlobal);
}

void LoadPlanningRecord(TPrefs& prefs, TPlanningRecord* record) {
  LoadInts(prefs, kPlanningCategoryKey, record->category.data(), kPlanningRows, kGlobal);
  LoadInts(prefs, kPlanningSelectionKey, record->selection.data(), kPlanningRows, kGlobal);
  LoadInts(prefs, kPlanningCorrectKey, record->correct.data(), kPlanningRows, kGlobal);
}

int CountCorrectPicks(const TPlanningRecord& record) {
  int count = 0;
  for (int32_t correct : record.correct) count += correct != 0;
  return count;
}
