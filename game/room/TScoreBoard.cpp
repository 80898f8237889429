// The score board: its box and the score's text.
#include "game/room/TScoreBoard.h"

#include "game/room/TWidgetText.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"

void TScoreBoard::Setup() {
  SetupText("0", 80, 25, TTextBlock::kAlignCenter | TTextBlock::kAlignMiddle, kWidgetFont, 25,
            kWidgetInk);
  mLabel = kLabel;
}

void TScoreBoard::SetScore(int score) {
  const TString number = TString::Format("%d", score);
  TStringTable* table =
      TPlatform::GetInstance() ? TPlatform::GetInstance()->GetStringTable() : nullptr;
  SetText(table && mLabel.Length() > 0 ? table->GetString(mLabel, number) : number);
}
