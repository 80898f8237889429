// The level display: its box and text.
#include "game/room/TLevelDisplay.h"

#include "game/room/TWidgetText.h"

void TLevelDisplay::Setup() {
  SetupText("Level: ", 76, 18, TTextBlock::kAlignCenter | TTextBlock::kAlignMiddle, kWidgetFont, 18,
            kWidgetInk);
}

void TLevelDisplay::SetLevel(int map, int level) {
  SetText(TString::Format("Level: %d.%d", map, level));
}
