// A whole frame of a small reception room drawn from the game's packed art on the headless
// display: two guest tables with their chairs, the dish bin, the cake table, the guest book,
// the menu card and the speaker, compared with a committed reference image. The frame is
// kept as small_room.png in the test's build folder for looking at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "game/room/TCakeTable.h"
#include "game/room/TDishBin.h"
#include "game/room/TFestraTable.h"
#include "game/room/TGuestBook.h"
#include "game/room/TSMenu.h"
#include "game/room/TServedItems.h"
#include "game/room/TSpeaker.h"
#include "tests/render/DisplayFixture.h"
#include "tests/render/TestImages.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/render/TImageLoader.h"
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

  // The frame shown, as an opaque RGB picture.
  bool WriteOpaquePng(const std::string& path) {
    TPngSpec spec;
    spec.width = kWidth;
    spec.height = kHeight;
    spec.colourType = PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t p = presenter->Pixel(x, y);
        spec.bytes.insert(
            spec.bytes.end(),
            {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)});
      }
    }
    return WritePng(path, spec);
  }

  TScreen* screen = nullptr;
  TRoomView* view = nullptr;
  TServedAppetizer guest;
};

// Channels of two 0xRRGGBB pixels differ by at most `tolerance`.
bool Close(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
        tolerance)
      return false;
  }
  return true;
}

TEST_F(RoomFrameTest, ASmallRoomDrawsTheReferenceFrame) {
  view = new TRoomView;
  view->room = BuildRoom();
  view->SetPosition(0, 0);
  view->SetSize(kWidth, kHeight);
  screen->AddChild(view, true);
  Tick();
  ASSERT_EQ(presenter->ShowCount(), 1);
  ASSERT_TRUE(WriteOpaquePng("small_room.png"));
  EXPECT_FALSE(Logged("is missing")) << Log();

  const char* reference = TV_TEST_DATA "/room/small_room.png";
  std::ifstream file(reference, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
  size_t at = 0;
  TDecodedImage expected;
  ASSERT_TRUE(
      DecodePng(MemoryByteSource(bytes.data(), bytes.size(), &at), false, nullptr, &expected))
      << reference;
  ASSERT_EQ(expected.width, kWidth);
  ASSERT_EQ(expected.height, kHeight);
  // Rounding in the text rasteriser may differ between optimisation levels by a step.
  int differing = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* p = &expected.pixels[static_cast<size_t>((y * expected.side + x) * 4)];
      const uint32_t rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      differing += !Close(rgb, presenter->Pixel(x, y) & 0xFFFFFFu, 2);
    }
  }
  EXPECT_EQ(differing, 0) << "pixels differ from " << reference
                          << "; see small_room.png in the test folder";
}

}  // namespace
