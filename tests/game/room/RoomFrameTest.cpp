// A whole frame of a small reception room drawn from the game's packed art on the headless
// display: two guest tables with their chairs, the dish bin, the cake table, the guest book,
// the menu card and the speaker, compared with a committed reference image. The frame is
// kept as small_room.png in the test's build folder for looking at.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/room/TCakeTable.h"
#include "game/room/TDishBin.h"
#include "game/room/TFestraTable.h"
#include "game/room/TGuestBook.h"
#include "game/room/TSMenu.h"
#include "game/room/TServedItems.h"
#include "game/room/TSpeaker.h"
#include "tests/render/DisplayFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The window the room is drawn in.
struct TRoomView : TWindow {
  std::shared_ptr<TSprite> room;
  void Draw() override {
    TPlatform::GetInstance()->Begin2d();
    room->Draw(TDrawSpec(), -1);
    TPlatform::GetInstance()->End2d();
  }
};

struct TServedAppetizer : TServedItems {
  bool WasServed(int kind) const override { return kind == 1; }
};

class RoomFrameTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    SetProgramFolder(TV_GAME_DIR);  // the packed art and fonts players get
    Mount();
    MakeHandler();
    screen = new TScreen;
    const float cream[4] = {0.93f, 0.89f, 0.82f, 1.0f};
    screen->SetFill(true, cream);
    data->windowManager->SetRootWindow(screen);
    platform->InitDisplay(kWidth, kHeight, false);  // with the text rasteriser
    TvSrand(1);
    TFestraStateAnim::ResetJitter();
  }
  void TearDown() override {
    // The room's animations run on the platform's task list: they go while it is there.
    if (view) view->room.reset();
    DisplayTest::TearDown();
  }
  void Tick() {
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    data->windowManager->HandleEvent(&tick);
  }
  // The room: every prop of the room's first part, placed as a level would.
  std::shared_ptr<TSprite> BuildRoom() {
    auto room = TSprite::Create(0);
    auto first = TFestraTable::Create(508);
    first->Setup("images/table/table4", 4, 90, 300, "images/table/chair");
    first->SetMarkImage("images/table/mark_red");
    first->SetObjectType(kObjectGuestTable);
    first->SetMarkCount(1);
    auto second = TFestraTable::Create(508);
    second->Setup("images/table/table6", 6, 330, 430, "images/table/chair");
    second->SetMarkImage("images/table/mark_blue");
    second->SetOccupied(2, true);
    auto bin = TDishBin::Create(5);
    bin->SetImage("assets/images/table/dishbin");
    bin->PlaceAt(30, 520, kAnchorLeftMiddle);
    auto cake = TCakeTable::Create(5);
    cake->SetCakeImages("assets/images/Festra Panning/cake7",
                        "assets/images/Festra Panning/cake7_tipped");
    cake->PlaceAt(430, 150, kStoredAnchor);
    auto book = TGuestBook::Create(10000);
    book->Setup(4);
    book->ShowGuest(&guest);
    book->PlaceAt(590, 460, kStoredAnchor);
    auto menu = TSMenu::Create(6);
    menu->SetImages("assets/images/food/menu.png", "assets/images/food/item_app1",
                    "assets/images/food/item_dinner1", "assets/images/food/item_cake");
    menu->PlaceAt(40, 40, kStoredAnchor);
    auto speaker = TSpeaker::Create(10511);
    speaker->AddState("assets/images/speaker_idle.xml");
    speaker->LoopState(0);
    speaker->PlaceAt(740, 330, kStoredAnchor);
    for (const std::shared_ptr<TSprite>& prop :
         std::vector<std::shared_ptr<TSprite>>{first, second, bin, cake, book, menu, speaker}) {
      room->AddChild(prop);
    }
    return room;
  }

  // The frame shown, 0xRRGGBB.
  uint32_t Shown(int x, int y) { return presenter->Pixel(x, y); }

  TScreen* screen = nullptr;
  TRoomView* view = nullptr;
  TServedAppetizer guest;
};

TEST_F(RoomFrameTest, ASmallRoomDrawsTheReferenceFrame) {
  view = new TRoomView;
  view->room = BuildRoom();
  view->SetPosition(0, 0);
  view->SetSize(kWidth, kHeight);
  screen->AddChild(view, true);
  Tick();
  ASSERT_EQ(presenter->ShowCount(), 1);
  const TFramePixel shown = [this](int x, int y) { return Shown(x, y); };
  ASSERT_TRUE(WriteFramePng("small_room.png", kWidth, kHeight, shown));
  EXPECT_FALSE(Logged("is missing")) << Log();

  const char* reference = TV_TEST_DATA "/room/small_room.png";
  // Rounding in the text rasteriser may differ between optimisation levels by a step.
  const int differing = CountDifferingPixels(reference, kWidth, kHeight, 2, shown);
  EXPECT_EQ(differing, 0) << "pixels differ from " << reference
                          << "; see small_room.png in the test folder";
}

}  // namespace
