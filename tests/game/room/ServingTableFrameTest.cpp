// Whole frames of the room's widgets through the real display handler on the headless
// presenter, with the game's own art and texts: the serving table full at each upgrade level,
// and the status panel after an award, against a committed reference image.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/room/TItemTable.h"
#include "game/room/TStatusWidget.h"
#include "tests/game/room/RoomFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/core/TStringTable.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;

class ServingTableFrameTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    platform->InitDisplay(kWidth, kHeight, false);  // the display and the text rasteriser
    for (const char* file :
         {"images/table/servingtable_large.png", "images/table/servingtable_extend.png",
          "images/food/item_app1.png", "images/food/item_dinner1.png", "images/food/item_cake.png",
          "images/UI/ui_bg.png", "images/checkmark.xml", "images/checkmark_sheet.png"}) {
      CopyAsset(file);
    }
    for (int i = 0; i < 14; ++i) {
      char name[64];
      snprintf(name, sizeof name, "images/UI/UI_Flute/ui_flute_%02d", i);
      CopyAsset(std::string(name) + ".xml");
      CopyAsset(std::string(name) + "_sheet.png");
    }
    Mount();
    std::ifstream strings(TV_SOURCE_ASSETS "/strings.xml", std::ios::binary);
    const std::string workbook((std::istreambuf_iterator<char>(strings)), {});
    platform->GetStringTable()->LoadBuffer(workbook.data(), workbook.size());
  }
  void CopyAsset(const std::string& name) {
    const std::filesystem::path to = dir / ("assets/" + name);
    std::filesystem::create_directories(to.parent_path());
    std::filesystem::copy_file(std::string(TV_SOURCE_ASSETS "/") + name, to,
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::shared_ptr<TItemTable> FullTable(int upgrade, int x, int y) {
    auto table = TItemTable::Create(10);
    table->SetFoodImage(0, "assets/images/food/item_app1");
    table->SetFoodImage(3, "assets/images/food/item_dinner1");
    table->SetFoodImage(6, "assets/images/food/item_cake");
    table->PlaceAt(x, y, kStoredAnchor);
    table->SetUpgradeLevel(upgrade);
    for (int kind = 1; kind <= 3; ++kind) table->CreateItems(3, kind);
    return table;
  }
  // The frame: a floor with the sprites drawn over it.
  void DrawFrame(const std::vector<std::shared_ptr<TSprite>>& sprites) {
    ASSERT_TRUE(platform->BeginFrame(false));
    ASSERT_TRUE(platform->Begin2d());
    platform->FillRect(0, 0, kWidth, kHeight, TColor32(0xFF8FA08Au), nullptr);
    for (const auto& sprite : sprites) sprite->Draw(TDrawSpec(), -1);
    platform->End2d();
    platform->EndFrame(false);
  }
};

TEST_F(ServingTableFrameTest, FullServingTablesAndTheStatusPanelDrawTheReferenceFrame) {
  RunWindowScript(
      "StatusWidget = { bgX = 340, bgY = 290, meterX = 30, meterY = 69, levelX = 66, "
      "levelY = 9, scoreX = 64, scoreY = 34, goalX = 152, goalY = 22 }");
  auto panel = TStatusWidget::Create(600);
  panel->Build(2, 5);
  panel->SetGoal(1500);
  panel->AddScore(1000);

  DrawFrame({FullTable(0, 10, 10), FullTable(1, 330, 10), FullTable(2, 10, 200), panel});
  const std::string reference = TV_TEST_DATA "/game/room_tables_and_panel.png";
  const int differing = CountDifferingPixels(reference, kWidth, kHeight, 2, BackBuffer());
  if (differing != 0) {
    WriteFramePng("room_tables_and_panel.actual.png", kWidth, kHeight, BackBuffer());
    FAIL() << differing << " pixels differ from " << reference
           << "; see room_tables_and_panel.actual.png in the test folder";
  }
}

}  // namespace
