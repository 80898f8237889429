// The online protocol: the requests' parameters, the score document, and the reply checks.
#include "tvlib/hiscore/THiscoreProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/hiscore/TSimpleHttp.h"

namespace {

const THiscoreQuery kQuery{"http://h/go/hiscore", "en", "festravask"};

THiscoreReply Submit(const char* text) {
  return ReadSubmitReply(text, std::strlen(text));
}

class HiscoreProtocol : public ::testing::Test {
 protected:
  void SetUp() override { SetLogDirectory(dir.Path().c_str()); }
  std::string Log() { return ReadWholeFile(dir / "logfile.txt"); }
  TTempDir dir;
};

}  // namespace

TEST(HiscoreRequests, SendTheirParametersInOrder) {
  TSimpleHttp http;
  PrepareTablesRequest(&http, kQuery);
  EXPECT_EQ(http.GetUrl(), "http://h/go/hiscore?lang=en&ver=1.0&action=tables&game=festravask");
  PrepareScoresRequest(&http, kQuery, "festravask_career", "all time", "velka@web");
  EXPECT_EQ(http.GetUrl(),
            "http://h/go/hiscore?lang=en&ver=1.0&action=get&game=festravask"
            "&type=festravask_career&table=all%20time&numScores=500&username=velka%40web");
  PrepareScoresRequest(&http, kQuery, "festravask_career", nullptr, "");
  EXPECT_EQ(http.GetUrl(),
            "http://h/go/hiscore?lang=en&ver=1.0&action=get&game=festravask"
            "&type=festravask_career&numScores=500");
  PrepareSubmitRequest(&http, kQuery, "ab+/=");
  EXPECT_EQ(http.GetUrl(),
            "http://h/go/hiscore?lang=en&ver=1.0&game=festravask&action=submit&score=ab%2B%2F%3D");
}

TEST(HiscoreRequests, TheScoreDocumentAndItsCipherText) {
  THiscoreEntry entry;
  entry.guid = "g1";
  entry.score = 1234;
  entry.gameData = "a<b";
  entry.version = "1.0.0.48";
  std::string plain =
      BuildPlainScoreDocument(entry, "velka", "pw", "festravask_career", "festravask").c_str();
  EXPECT_EQ(plain,
            "<?xml version=\"1.0\"?>\n<score\n    guid=\"g1\"\n    name=\"velka\"\n"
            "    password=\"pw\"\n    type=\"festravask_career\"\n    game=\"festravask\"\n"
            "    score=\"1234\"\n    data=\"a&lt;b\"\n    ver=\"1.0.0.48\">\n</score>\n");
  entry.gameData = "";
  entry.version = "";
  entry.serverData = "<extra/>";
  EXPECT_EQ(std::string(BuildPlainScoreDocument(entry, nullptr, "", "m", "").c_str()),
            "<?xml version=\"1.0\"?>\n<score\n    guid=\"g1\"\n    type=\"m\"\n"
            "    score=\"1234\">\n<extra/></score>");
  // The cipher text deciphers to the document, without a NUL.
  TCipher cipher("Hw7pKd2RtXbQ");
  TString sent = BuildScoreDocument(cipher, entry, "velka", nullptr, "m", "festravask");
  std::string back(
      static_cast<size_t>(cipher.Decrypt(sent.c_str(), sent.Length(), nullptr, 0, true)), '\0');
  cipher.Decrypt(sent.c_str(), sent.Length(), back.data(), static_cast<int>(back.size()), true);
  EXPECT_EQ(back, BuildPlainScoreDocument(entry, "velka", nullptr, "m", "festravask").c_str());
}

TEST_F(HiscoreProtocol, ChecksEveryReplyTheSameWay) {
  struct Case {
    const char* reply;
    bool ok;
    const char* message;
    const char* log;
  };
  const Case cases[] = {
      {"<?xml version=\"1.0\"?>\n<hiscore></hiscore>", true, "", nullptr},
      {"<hiscore/>", true, "", nullptr},
      {"", false, "", "HiScore XML parsing error!"},
      {"<html><body>500</body></html>", false, "", "HiScore XML parsing error!"},
      {"<hiscore><message>Try later</message><protocolError>x</protocolError></hiscore>", false,
       "Try later", "HiScore User Message: Try later"},
      {"<hiscore><protocolError>bad ver</protocolError></hiscore>", false, "",
       "HiScore Protocol Error: bad ver"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply);
    THiscoreReply reply = Submit(c.reply);
    EXPECT_EQ(reply.ok, c.ok);
    EXPECT_EQ(std::string(reply.message.c_str()), c.message);
    if (c.log) {
      EXPECT_NE(Log().find(c.log), std::string::npos);
    }
  }
  THiscoreReply medals = Submit("<hiscore><medals/><score rank=\"3\"/></hiscore>");
  EXPECT_TRUE(medals.ok && medals.hasMedals && medals.hasScore);
  THiscoreReply plain = Submit("<hiscore/>");
  EXPECT_FALSE(plain.hasMedals || plain.hasScore);
}

TEST_F(HiscoreProtocol, ReadsTables) {
  std::vector<THiscoreCategory> categories{{"old", "Old"}};
  const char* reply =
      "<hiscore><tables><table table=\"w\" name=\"Week\"/><other/>"
      "<table table=\"a\" name=\"All &amp; ever\"/></tables></hiscore>";
  ASSERT_TRUE(ReadTablesReply(reply, std::strlen(reply), &categories).ok);
  ASSERT_EQ(categories.size(), 2u);
  EXPECT_EQ(std::string(categories[1].tableId.c_str()), "a");
  EXPECT_EQ(std::string(categories[1].displayName.c_str()), "All & ever");
  const char* none = "<hiscore><tables/></hiscore>";
  EXPECT_TRUE(ReadTablesReply(none, std::strlen(none), &categories).ok);
  EXPECT_TRUE(categories.empty());
  const char* missing = "<hiscore/>";
  EXPECT_FALSE(ReadTablesReply(missing, std::strlen(missing), &categories).ok);
}

TEST_F(HiscoreProtocol, ReadsScoresAndTheAccountsOwnEntry) {
  THiscoreTable table;
  int own = 5;
  const char* reply =
      "<hiscore><scores>"
      "<score name=\"x\" data=\"d\" serverData=\"s\" ver=\"v\" guid=\"g\" anonymous=\"true\" "
      "score=\"90\" rank=\"1\" account=\"false\"/>"
      "<score name=\"me\" score=\"80\" rank=\"2\" account=\"true\"/>"
      "<score name=\"me\" score=\"70\" rank=\"3\" account=\"true\"/>"
      "</scores></hiscore>";
  ASSERT_TRUE(ReadScoresReply(reply, std::strlen(reply), &table, &own).ok);
  ASSERT_EQ(table.entries.size(), 3u);
  EXPECT_EQ(own, 1);
  const THiscoreEntry& first = table.entries[0];
  EXPECT_EQ(std::string(first.serverData.c_str()), "s");
  EXPECT_EQ(std::string(first.version.c_str()), "v");
  EXPECT_TRUE(first.anonymous);
  EXPECT_FALSE(table.entries[1].anonymous);
  EXPECT_EQ(table.entries[2].rank, 3);
  const char* nobody = "<hiscore><scores><score name=\"x\"/></scores></hiscore>";
  ASSERT_TRUE(ReadScoresReply(nobody, std::strlen(nobody), &table, &own).ok);
  EXPECT_EQ(own, -1);
  const char* missing = "<hiscore><tables/></hiscore>";
  EXPECT_FALSE(ReadScoresReply(missing, std::strlen(missing), &table, &own).ok);
  EXPECT_TRUE(table.entries.empty());
  EXPECT_NE(Log().find("HiScores parsed incorrectly"), std::string::npos);
}
