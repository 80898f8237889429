// The hiscore screens over the real hiscore service and a local HTTP server speaking the
// online protocol: a local score submitted from the dialog shows in the global view, and a
// server that does not answer ends in the service's reason with "OK".
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/game/frontend/HiscoreFixture.h"
#include "tests/hiscore/FakeHiscoreServer.h"
#include "tvlib/hiscore/THttpRequest.h"
#include "tvlib/hiscore/TSimpleHttp.h"

namespace {

class HiscoreServerTest : public HiscoreTest {
 protected:
  void TearDown() override {
    HiscoreTest::TearDown();
    EXPECT_TRUE(WaitForHttpWorkers(5000));
  }
  // Ticks, letting real time pass for the HTTP worker, until `done` or about five seconds.
  template <class F>
  bool TickUntil(F done) {
    for (int i = 0; i < 500 && !done(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      Tick();
    }
    return done();
  }

  // A real service talking to the server, with short timeouts.
  void UseServer(TFakeHiscoreServer::TMode mode) {
    ASSERT_TRUE(server.Start());
    server.SetMode(mode);
    WriteWholeFile(dir / "hiscoreserver.txt", server.Url() + "\n");
    // The service reads the server's address when it is made.
    Settings().UseHiscores(
        std::make_unique<TTvHiscores>(data->settings, "festravask", "1.0.0.48", true));
    Settings().GetHiscores()->GetHttpClient()->SetTimeouts(1000, 2000);
  }

  TFakeHiscoreServer server{TGameSettings::kEncryptionKey};
};

TEST_F(HiscoreServerTest, ASubmittedScoreShowsInTheGlobalView) {
  UseServer(TFakeHiscoreServer::TMode::kStore);
  AddLocalScores({4321});
  ASSERT_NE(Open(), nullptr);
  Click("submit");
  ASSERT_NE(dynamic_cast<THiscoreSubmit*>(Manager().GetTopModal()), nullptr);
  Click("submittoserver");
  ASSERT_TRUE(TickUntil([&] { return hiscore->GetState() == THiscore::kGlobal; }))
      << "state " << hiscore->GetState() << ": " << hiscore->GetErrorText().c_str();
  ASSERT_EQ(server.Scores().size(), 1u);
  EXPECT_EQ(server.Scores()[0].score, 4321);
  EXPECT_EQ(TextOf("name1"), TString("Velka"));
  EXPECT_EQ(TextOf("score1"), TString("4321"));
  EXPECT_EQ(TextOf("1"), TString("1."));
  EXPECT_EQ(TextOf("category"), TString("This week"));
  EXPECT_TRUE(Shows("congratulations"));
  // Submitted once: nothing waits any more.
  Click("viewlocal");
  EXPECT_FALSE(Shows("submit"));
  EXPECT_FALSE(Shows("eligible"));
}

TEST_F(HiscoreServerTest, ASilentServerEndsInItsReasonAndOk) {
  UseServer(TFakeHiscoreServer::TMode::kSlow);
  server.SetDelayMs(4000);
  Settings().GetHiscores()->GetHttpClient()->SetTimeouts(200, 400);
  AddLocalScores({1500});
  ASSERT_NE(Open(), nullptr);
  Click("submit");
  Click("submittoserver");
  ASSERT_TRUE(Shows("submitconnect"));
  ASSERT_TRUE(TickUntil([&] { return Shows("submiterror"); }));
  EXPECT_NE(TextOf("submiterror"), TString());
  EXPECT_TRUE(Shows("submiterrorok"));
  EXPECT_FALSE(Shows("submitconnect"));
  Click("submiterrorok");
  EXPECT_TRUE(Shows("submittoserver"));
  EXPECT_EQ(TextOf("eligiblescore"), TString("1500"));
}

}  // namespace
