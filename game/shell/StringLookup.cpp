// The string table's texts for the game's screens.
#include "game/shell/StringLookup.h"

#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"

TString LookUpString(const TString& label, const TString& argument) {
  TPlatform* platform = TPlatform::GetInstance();
  TStringTable* table = platform ? platform->GetStringTable() : nullptr;
  return table ? table->GetString(label, argument) : TString();
}
