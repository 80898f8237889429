// A server walking once around a guest table on the headless display, drawn frame by frame
// and written as PNG files ("frames/server_walk/frame_NNN.png" beside the test program) for
// looking at; the test checks that the server's picture follows it round the table.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/room/RoomArt.h"
#include "game/room/TFestraSprite.h"
#include "game/room/TFestraWaitress.h"
#include "tests/game/room/RoomFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/render/TDx3dDisplayHandler.h"

namespace {

using TW = TFestraWaitress;

class WaitressFramesTest : public RoomTest {
 protected:
  // A one-colour animation of two 30 x 60 frames standing on its registration point.
  void PutFigure(const std::string& name, uint32_t rgba) {
    PutSheet(name + "_sheet.png", 60, 60, rgba);
    const std::string leaf = name.substr(name.rfind('/') + 1) + "_sheet.png";
    PutFile(name + ".xml", "<sequence><img name=\"" + leaf +
                               "\"/><framelist>"
                               "<frame x=\"0\" w=\"30\" h=\"60\" regx=\"15\" regy=\"59\"/>"
                               "<frame x=\"30\" w=\"30\" h=\"60\" regx=\"15\" regy=\"59\"/>"
                               "</framelist></sequence>");
  }
};

TEST_F(WaitressFramesTest, AServerWalksAroundATable) {
  // Idle grey-blue, walking west red, south green, north blue, east yellow.
  const char* const suffixes[TW::kLookStates] = {
      "idle",   "idle1",  "idle2",  "west0", "west1", "west2", "south0", "south1", "south2",
      "north0", "north1", "north2", "east0", "east1", "east2", "amb1",   "1amb1",  "2amb1"};
  const uint32_t colours[] = {0x6080A0FF, 0xE04040FF, 0x40C040FF,
                              0x4060E0FF, 0xE0D040FF, 0x6080A0FF};
  for (int state = 0; state < TW::kLookStates; ++state) {
    PutFigure(std::string("images/character/Red/waitress_red_") + suffixes[state],
              colours[state / 3]);
  }
  // The floor in four tiles, each small enough to keep its size as a texture.
  PutSheet("images/floor.png", 400, 300, 0x302820FF);
  PutSheet("images/table.png", 160, 80, 0xC0B090FF);
  std::vector<std::shared_ptr<TFestraSprite>> floor;
  for (int tile = 0; tile < 4; ++tile) {
    floor.push_back(TFestraSprite::Create(0));
    floor.back()->SetTexture(GetRoomTexture("assets/images/floor"));
    floor.back()->PlaceAt(tile % 2 * 400, tile / 2 * 300, kAnchorTopLeft);
  }
  auto table = TFestraSprite::Create(0);
  table->SetTexture(GetRoomTexture("assets/images/table"));
  table->PlaceAt(320, 260, kAnchorTopLeft);

  auto server = TW::Create(700);
  server->SetLook(0);
  server->SetRole(TW::kServer);
  server->SetObstacles({TRect{320, 260, 480, 340}});
  server->SetStartPosition(300, 400);
  server->SetSpeed(150.0f);
  server->PlayActionLooped(TW::kActionIdle);

  const std::filesystem::path out = std::filesystem::current_path() / "frames/server_walk";
  std::filesystem::remove_all(out);
  std::filesystem::create_directories(out);
  const TPoint corners[] = {{300, 220}, {500, 220}, {500, 400}, {300, 400}};
  int frame = 0;
  for (const TPoint corner : corners) {
    server->WalkTo(corner.x, corner.y);
    for (int tick = 0; tick < 200 && !server->GetPath().empty(); ++tick) {
      Step(40);
      server->Update(40);
      if (tick % 8 != 0) continue;
      ASSERT_TRUE(handler->BeginDraw(false));
      platform->Begin2d();
      for (const auto& tile : floor) tile->Draw(TDrawSpec(), -1);
      table->Draw(TDrawSpec(), -1);
      server->Draw(TDrawSpec(), -1);
      platform->End2d();
      handler->EndDraw(false);
      // The figure stands on its feet: the pixel just above them has its walking colour.
      const TPoint at = server->GetPosition();
      EXPECT_NE(BackPixel(at.x, at.y - 10) & 0xFFFFFF, 0x302820u) << "frame " << frame;
      char name[32];
      std::snprintf(name, sizeof name, "frame_%03d.png", frame++);
      ASSERT_TRUE(WriteFramePng((out / name).string(), 800, 600,
                                [this](int x, int y) { return BackPixel(x, y); }));
    }
    EXPECT_EQ(server->GetPosition().x, corner.x);
    EXPECT_EQ(server->GetPosition().y, corner.y);
  }
  EXPECT_GT(frame, 10);
}

}  // namespace
