// The hiscore service end to end: configuration, local tables and their file, and the online
// requests against the fake server, its hostile modes included.
#include <filesystem>

#include "tests/hiscore/ServiceFixture.h"

namespace {

using TMode = TFakeHiscoreServer::TMode;

class HiscoreService : public HiscoreServiceFixture {};

// "rank:score:name" of each local entry.
std::vector<std::string> LocalRows(TTvHiscores& hiscores) {
  std::vector<std::string> rows;
  for (int i = 0; i < hiscores.GetScoreCount(true); ++i) {
    int rank = 0, score = 0;
    char name[64];
    EXPECT_TRUE(
        hiscores.GetScoreEntry(true, i, &rank, name, sizeof name, nullptr, &score, nullptr, 0));
    rows.push_back(std::to_string(rank) + ":" + std::to_string(score) + ":" + name);
  }
  return rows;
}

}  // namespace

TEST(HiscoreModes, EachGameModeHasItsTable) {
  EXPECT_STREQ(HiscoreModeId(0), "festravask_career_web");
  EXPECT_STREQ(HiscoreModeId(1), "festravask_endlessreception_web");
  EXPECT_STREQ(HiscoreModeId(2), "festravask_career");
  EXPECT_STREQ(HiscoreModeId(3), "festravask_endlessreception");
  EXPECT_EQ(HiscoreModeId(4), nullptr);
  EXPECT_EQ(HiscoreModeId(-1), nullptr);
}

TEST_F(HiscoreService, ReadsItsConfigurationFromTheProgramFolder) {
  WriteProgramFile("hiscore.xml",
                   "<hiscore><language>de</language><defaulterror>Kein Server</defaulterror>"
                   "</hiscore>");
  TTvHiscores& hiscores = Make();
  hiscores.SetQueryField(TTvHiscores::kFieldLanguage, "fr");  // fixed by the file
  hiscores.RequestCategoryInformation();
  ASSERT_EQ(Poll(), 0);
  // The address came from the first line of "hiscoreserver.txt", its CR and LF stripped.
  EXPECT_EQ(LastTarget(), "/go/hiscore?lang=de&ver=1.0&action=tables&game=festravask");
  server.SetMode(TMode::kEmptyBody);
  hiscores.RequestCategoryInformation();
  std::string error;
  EXPECT_EQ(Poll(&error), 2);
  EXPECT_EQ(error, "Kein Server");
}

TEST_F(HiscoreService, WithoutAServerFileFailsAtOnce) {
  settings.SetSetting("encryptionkey", "");
  TTvHiscores& hiscores = Make(false, false);
  EXPECT_NE(Log().find("ERROR: No encryption key set before TTvHiscores construction!"),
            std::string::npos);
  hiscores.SetQueryField(TTvHiscores::kFieldLanguage, "fr");
  hiscores.RequestCategoryInformation();
  EXPECT_EQ(hiscores.GetHttpClient()->GetUrl().rfind("http://", 0), 0u);
  EXPECT_NE(hiscores.GetHttpClient()->GetUrl().find(".invalid/go/hiscore?lang=fr&"),
            std::string::npos);
  std::string error;
  EXPECT_EQ(Poll(&error), 2);
  EXPECT_EQ(error, kNoConnectionText);
}

TEST_F(HiscoreService, KeepsLocalScoresAcrossARestart) {
  TTvHiscores& hiscores = Make();
  EXPECT_EQ(hiscores.GetScoreCount(true), 0);
  hiscores.AddLocalScore(300, false, "1.1", nullptr);
  EXPECT_EQ(LocalRows(hiscores), (std::vector<std::string>{"1:300:Velka"}));
  hiscores.SetQueryField(TTvHiscores::kFieldPlayer, "Ann");
  hiscores.AddLocalScore(300, false, "1.2", "<s/>");
  hiscores.AddLocalScore(500, false, "1.3", nullptr);
  TTvHiscores& again = Make();
  EXPECT_EQ(LocalRows(again), (std::vector<std::string>{"1:500:Ann", "2:300:Velka", "3:300:Ann"}));
  int score = 0, rank = 0;
  char data[8];
  ASSERT_TRUE(again.GetPlayerScore(0, &score, &rank, data, sizeof data));
  EXPECT_EQ(score, 300);
  EXPECT_EQ(rank, 2);
  EXPECT_STREQ(data, "1.1");
  EXPECT_FALSE(again.GetPlayerScore(2, &score, &rank, nullptr, 0));
  // Another mode has its own table; deleting one table keeps the other.
  again.SetQueryField(TTvHiscores::kFieldMode, "festravask_endlessreception");
  again.AddLocalScore(10, false, "", nullptr);
  again.DeleteLocalTable();
  again.SetQueryField(TTvHiscores::kFieldMode, "festravask_career");
  TTvHiscores& third = Make();
  EXPECT_EQ(third.GetScoreCount(true), 3);
  third.SetQueryField(TTvHiscores::kFieldMode, "festravask_endlessreception");
  EXPECT_EQ(third.GetScoreCount(true), 0);
}

TEST_F(HiscoreService, WritesNothingWithSavingOff) {
  TTvHiscores& hiscores = Make(false);
  hiscores.AddLocalScore(300, true, "", nullptr);
  EXPECT_EQ(hiscores.GetScoreCount(true), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "user/hiscore.dat"));
}

TEST_F(HiscoreService, FetchesCategoriesAndScores) {
  TTvHiscores& hiscores = Make();
  hiscores.RequestScores(0);
  std::string error;
  EXPECT_EQ(Poll(&error), 0);  // the store answers without categories too
  hiscores.RequestCategoryInformation();
  ASSERT_EQ(Poll(), 0);
  ASSERT_EQ(hiscores.GetCategoryCount(), 2);
  char name[5];
  ASSERT_TRUE(hiscores.GetCategoryName(1, name, sizeof name));
  EXPECT_STREQ(name, "All ");
  EXPECT_FALSE(hiscores.GetCategoryName(2, name, sizeof name));
  EXPECT_FALSE(hiscores.GetCategoryName(0, nullptr, 0));
  hiscores.RequestScores(1);
  ASSERT_EQ(Poll(), 0);
  EXPECT_EQ(LastTarget(),
            "/go/hiscore?lang=en&ver=1.0&action=get&game=festravask&type=festravask_career"
            "&table=all&numScores=500");
  EXPECT_EQ(hiscores.GetScoreCount(false), 0);
}

TEST_F(HiscoreService, SubmitsRanksAndFindsThePlayersOnlineEntry) {
  TTvHiscores& hiscores = Make();
  EXPECT_FALSE(hiscores.SubmitScore("velka@web", "pw", true));  // nothing to submit
  EXPECT_TRUE(server.Requests().empty());
  hiscores.AddLocalScore(700, true, "2.4", nullptr);
  hiscores.AddLocalScore(650, false, "2.5", nullptr);
  ASSERT_TRUE(hiscores.SubmitScore("velka@web", "pw", true));
  bool hasScore = false;
  ASSERT_EQ(Poll(nullptr, &hasScore), 0);
  EXPECT_TRUE(hasScore);
  auto stored = server.Scores();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].account, "velka@web");
  EXPECT_EQ(stored[0].score, 700);
  EXPECT_EQ(stored[0].data, "2.4");
  EXPECT_EQ(stored[0].type, "festravask_career");
  EXPECT_EQ(stored[0].guid.size(), 32u);
  // Every entry of the player is marked, and the marks are saved.
  EXPECT_FALSE(hiscores.GetPlayerScore(0, nullptr, nullptr, nullptr, 0));
  EXPECT_FALSE(hiscores.SubmitScore("velka@web", "pw", true));
  char account[32], password[8];
  ASSERT_TRUE(hiscores.GetStoredLogin(account, sizeof account, password, sizeof password));
  EXPECT_STREQ(account, "velka@web");
  EXPECT_STREQ(password, "pw");

  // The fetch names the account, whose entry the reply flags.
  hiscores.RequestScores(-1);
  ASSERT_EQ(Poll(), 0);
  EXPECT_NE(LastTarget().find("&numScores=500&username=velka%40web"), std::string::npos);
  int score = 0, rank = 0;
  ASSERT_TRUE(hiscores.GetPlayerScore(1, &score, &rank, nullptr, 0));
  EXPECT_EQ(score, 700);
  EXPECT_EQ(rank, 1);

  // Without the flag the stored login's account and the entry's GUID find it.
  TTvHiscores& again = Make();
  EXPECT_FALSE(again.SubmitScore("velka@web", "pw", true));
  again.RequestScores(-1);
  ASSERT_EQ(Poll(), 0);
  EXPECT_EQ(LastTarget().find("username"), std::string::npos);
  ASSERT_TRUE(again.GetPlayerScore(1, &score, &rank, nullptr, 0));
  EXPECT_EQ(score, 700);
}

TEST_F(HiscoreService, ARejectedLoginIsForgotten) {
  server.AddAccount("velka@web", "secret");
  TTvHiscores& hiscores = Make();
  hiscores.AddLocalScore(700, true, "", nullptr);
  ASSERT_TRUE(hiscores.SubmitScore("velka@web", "wrong", true));
  ASSERT_TRUE(hiscores.GetStoredLogin(nullptr, 0, nullptr, 0));
  std::string error;
  ASSERT_EQ(Poll(&error), 2);
  EXPECT_EQ(error, "hiscore.error.invalidUsernameOrPassword");
  EXPECT_FALSE(hiscores.GetStoredLogin(nullptr, 0, nullptr, 0));
  EXPECT_TRUE(hiscores.GetPlayerScore(0, nullptr, nullptr, nullptr, 0));  // still unsubmitted
  // A submit without remembering drops a stored login too.
  ASSERT_TRUE(hiscores.SubmitScore("velka@web", "secret", true));
  ASSERT_EQ(Poll(), 0);
  hiscores.AddLocalScore(800, true, "", nullptr);
  ASSERT_TRUE(hiscores.SubmitScore("velka@web", "secret", false));
  EXPECT_FALSE(hiscores.GetStoredLogin(nullptr, 0, nullptr, 0));
}

TEST_F(HiscoreService, ASubmitAnsweredWithMedalsMarksNothing) {
  server.SetMode(TMode::kCanned);
  server.SetCannedReply("<hiscore><medals/><score/></hiscore>");
  TTvHiscores& hiscores = Make();
  hiscores.AddLocalScore(700, true, "", nullptr);
  ASSERT_TRUE(hiscores.SubmitScore("a", "", false));
  // The reply names a score, but with medals the flag is left as the caller set it.
  bool hasScore = false;
  ASSERT_EQ(Poll(nullptr, &hasScore), 0);
  EXPECT_FALSE(hasScore);
  EXPECT_TRUE(hiscores.GetPlayerScore(0, nullptr, nullptr, nullptr, 0));
}

TEST_F(HiscoreService, NamesTheReasonAScoresRequestFailed) {
  server.SetMode(TMode::kCanned);
  TTvHiscores& hiscores = Make();
  struct Case {
    const char* reply;
    const char* error;
  };
  const Case cases[] = {
      {"<hiscore><protocolError>Missing required parameter: type</protocolError></hiscore>",
       "Score request failed because game mode is not valid"},
      {"<hiscore><protocolError>whatever</protocolError></hiscore>",
       "Score request failed because no category information has been received yet"},
      {"<hiscore><message>Closed today</message></hiscore>",
       "Score request failed because no category information has been received yet"},
  };
  for (const Case& c : cases) {
    server.SetCannedReply(c.reply);
    hiscores.RequestScores(0);
    std::string error;
    EXPECT_EQ(Poll(&error), 2);
    EXPECT_EQ(error, c.error);
  }
  server.SetCannedReply("<hiscore><tables><table table=\"t\" name=\"T\"/></tables></hiscore>");
  hiscores.RequestCategoryInformation();
  ASSERT_EQ(Poll(), 0);
  server.SetCannedReply("<hiscore><message>Closed today</message></hiscore>");
  hiscores.RequestScores(0);
  std::string error;
  EXPECT_EQ(Poll(&error), 2);
  EXPECT_EQ(error, "Closed today");
}

TEST_F(HiscoreService, HostileServersFailWithTheDesignedText) {
  const TMode modes[] = {TMode::kSlow, TMode::kServerError, TMode::kEmptyBody, TMode::kReset,
                         TMode::kEndless};
  server.SetDelayMs(10000);
  TTvHiscores& hiscores = Make();
  for (TMode mode : modes) {
    SCOPED_TRACE(static_cast<int>(mode));
    server.SetMode(mode);
    hiscores.RequestCategoryInformation();
    std::string error;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Poll(&error), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(error, kNoConnectionText);
  }
  WriteProgramFile("hiscoreserver.txt",
                   "http://127.0.0.1:" + std::to_string(TFakeHiscoreServer::RefusedPort()) + "/\n");
  TTvHiscores& refused = Make(true, false);
  refused.RequestCategoryInformation();
  std::string error;
  EXPECT_EQ(Poll(&error), 2);
  EXPECT_EQ(error, kNoConnectionText);
}

TEST_F(HiscoreService, ANewRequestAbandonsTheOneInFlight) {
  server.SetMode(TMode::kSlow);
  server.SetDelayMs(10000);
  server.SetCannedReply("<hiscore><tables/></hiscore>");
  TTvHiscores& hiscores = Make();
  hiscores.RequestCategoryInformation();
  while (server.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(hiscores.PollRequest(nullptr, 0, nullptr), 1);
  server.SetMode(TMode::kStore);
  hiscores.RequestScores(-1);
  EXPECT_EQ(Poll(), 0);
  EXPECT_EQ(server.Requests().size(), 2u);
}
