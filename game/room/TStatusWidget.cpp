// The status panel: its layout, building, awards and goal text.
#include "game/room/TStatusWidget.h"

#include "game/room/RoomArt.h"
#include "game/room/TLevelDisplay.h"
#include "game/room/TScoreBoard.h"
#include "game/room/TScoreMeter.h"
#include "game/room/TWidgetText.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/ui/ScriptStyle.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

TStatusWidget::TStatusWidget(int layer)
    : TFestraSprite(layer),
      mMeter(TScoreMeter::Create(1)),
      mLevelDisplay(TLevelDisplay::Create(1)),
      mScoreBoard(TScoreBoard::Create(1)),
      mGoalText(TFestraText::Create(1)) {
  AddChild(mMeter);
  AddChild(mLevelDisplay);
  AddChild(mScoreBoard);
  AddChild(mGoalText);
}

TStatusWidget::~TStatusWidget() = default;

void TStatusWidget::LoadLayout() {
  TWindowManager* manager = TWindowManager::Get();
  TWindowScript* script = manager ? manager->GetWindowScript() : nullptr;
  const std::unique_ptr<TLuaTable> style(script ? GetStyleTable(*script, kStyle) : nullptr);
  if (!style) return;
  const std::pair<const char*, int*> keys[] = {
      {"bgX", &mBgX},       {"bgY", &mBgY},       {"meterX", &mMeterX}, {"meterY", &mMeterY},
      {"levelX", &mLevelX}, {"levelY", &mLevelY}, {"scoreX", &mScoreX}, {"scoreY", &mScoreY},
      {"goalX", &mGoalX},   {"goalY", &mGoalY}};
  for (const auto& [key, value] : keys) {
    *value = TruncateToInt(static_cast<float>(style->GetNumber(key, 0)));
  }
}

void TStatusWidget::Build(int map, int level) {
  LoadLayout();
  SetTexture(GetRoomTexture(kBackground));
  PlaceAt(mBgX, mBgY, kStoredAnchor);
  mMeter->Setup(1);
  mMeter->PlaceAt(mMeterX, mMeterY, kStoredAnchor);
  mLevelDisplay->Setup();
  mLevelDisplay->SetLevel(map, level);
  mLevelDisplay->PlaceAt(mLevelX, mLevelY, kStoredAnchor);
  mScoreBoard->Setup();
  mScoreBoard->SetScore(0);
  mScoreBoard->PlaceAt(mScoreX, mScoreY, kStoredAnchor);
  mGoalText->SetupText(TString(), 120, 25, TTextBlock::kAlignLeft | TTextBlock::kAlignMiddle,
                       kWidgetFont, 22, kWidgetInk);
  mGoalText->PlaceAt(mGoalX, mGoalY, kStoredAnchor);
}

void TStatusWidget::AddScore(int points) {
  mScore += points;
  if (mScore < 0) mScore = 0;
  mMeter->AddScore(points);
  mScoreBoard->SetScore(mScore);
}

void TStatusWidget::SetGoal(int goal) {
  mGoal = goal;
  mMeter->SetPassScore(goal);
  RefreshGoalText(goal);
}

void TStatusWidget::SetGoalStage(int expertGoal) {
  mExpertGoal = expertGoal;
  RefreshGoalText(expertGoal);
}

// The label and the number are joined here: no text of the string table is ever used as a
// format.
void TStatusWidget::RefreshGoalText(int value) {
  TStringTable* table =
      TPlatform::GetInstance() ? TPlatform::GetInstance()->GetStringTable() : nullptr;
  if (!table) return;
  TString text = table->GetString(mScore < mGoal ? "goal" : "expertgoal");
  text += TString::Format("%d", value);
  mGoalText->SetText(text);
}
