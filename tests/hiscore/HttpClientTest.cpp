// The HTTP client: encoding and the query, GET and POST against the fake server, the reply in
// memory or in a file, the limits, the hostile server modes and abandoning a request.
#include "tvlib/hiscore/TSimpleHttp.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/hiscore/FakeHiscoreServer.h"
#include "tests/hiscore/HttpTestHelpers.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/hiscore/THttpRequest.h"

namespace {

class HttpClient : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogDirectory(dir.Path().c_str());
    ASSERT_TRUE(server.Start());
    http.SetTimeouts(2000, 3000);
  }
  void TearDown() override {
    http.Init(nullptr, false, nullptr);
    EXPECT_TRUE(WaitForHttpWorkers(5000));
  }
  TTempDir dir;
  TFakeHiscoreServer server{"Hw7pKd2RtXbQ"};
  TSimpleHttp http;
};

}  // namespace

TEST(UrlEncode, EncodesReservedControlAndHighBytesOnly) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"a b&c=d", "a%20b%26c%3Dd"},
      {"~*-_.!'()azAZ09", "~*-_.!'()azAZ09"},
      {"\"#$%+,/:;<>?@[\\]^`{|}",
       "%22%23%24%25%2B%2C%2F%3A%3B%3C%3E%3F%40%5B%5C%5D%5E%60%7B%7C%7D"},
      {"line\r\nend\t\x7f", "line%0D%0Aend%09%7F"},
      {"V\xc3\xa9lka", "V%C3%A9lka"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TSimpleHttp::UrlEncode(c.in), c.out) << c.in;
  EXPECT_EQ(TSimpleHttp::UrlEncode(nullptr), "");
}

TEST(SimpleHttp, BuildsTheQueryAfterAnyQueryTheAddressHas) {
  TSimpleHttp http;
  http.Init("http://host/go", false, nullptr);
  http.AddParameter("a", "1 2");
  http.AddNumberParameter("n", -7);
  EXPECT_EQ(http.GetUrl(), "http://host/go?a=1%202&n=-7");
  http.Init("http://host/go?key=x", false, nullptr);
  http.AddParameter("a", "1");
  EXPECT_EQ(http.GetUrl(), "http://host/go?key=x&a=1");
  http.Init("http://host/go?", false, nullptr);
  http.AddParameter("a", "1");
  EXPECT_EQ(http.GetUrl(), "http://host/go?a=1");
  http.Init("http://host/go", true, nullptr);
  http.AddParameter("a", "&");
  http.AddParameter("b", "");
  EXPECT_EQ(http.GetUrl(), "http://host/go");
  EXPECT_EQ(http.GetBody(), "a=%26&b=");
}

TEST(SimpleHttp, WithoutARequestFailsAndHasNoResult) {
  TSimpleHttp http;
  EXPECT_EQ(http.GetStatus(), kHttpFailed);
  EXPECT_EQ(http.GetResult(), nullptr);
}

TEST_F(HttpClient, GetsTheReplyWithItsParametersAndAgent) {
  server.SetCannedReply("<hiscore/>");
  http.Init(server.Url().c_str(), false, nullptr);
  http.AddParameter("lang", "en");
  http.AddParameter("name", "Velka & co");
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  EXPECT_STREQ(http.GetResult(), "<hiscore/>");
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/go/hiscore?lang=en&name=Velka%20%26%20co");
  EXPECT_EQ(requests[0].headers["user-agent"], "tvlib");
}

// The service is one address: a redirect on its host is followed, one to another host (here
// "localhost" for the server's "127.0.0.1") or from https to http is not.
TEST_F(HttpClient, FollowsRedirectsOnlyOnTheSameHost) {
  server.SetMode(TFakeHiscoreServer::TMode::kRedirect);
  server.SetCannedReply("<hiscore/>");
  const std::string port = std::to_string(server.Port());
  server.SetRedirect("http://127.0.0.1:" + port + "/moved/here");
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  EXPECT_STREQ(http.GetResult(), "<hiscore/>");
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[1].target, "/moved/here");

  server.SetRedirect("http://localhost:" + port + "/moved/here");
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  EXPECT_EQ(WaitForStatus(http, 5000), kHttpFailed);
  EXPECT_EQ(http.GetResult(), nullptr);
  EXPECT_EQ(server.Requests().size(), 3u);
}

TEST(HttpRedirect, NeverGoesFromHttpsToHttp) {
  EXPECT_TRUE(HttpRedirectAllowed("http://a.example/x", "https://A.example/y"));
  EXPECT_TRUE(HttpRedirectAllowed("https://a.example/x", "https://a.example:8443/y"));
  EXPECT_FALSE(HttpRedirectAllowed("https://a.example/x", "http://a.example/y"));
  EXPECT_FALSE(HttpRedirectAllowed("http://a.example/x", "http://b.example/x"));
  EXPECT_FALSE(HttpRedirectAllowed("http://a.example/x", "ftp://a.example/x"));
  EXPECT_FALSE(HttpRedirectAllowed("http://a.example/x", "not an address"));
}

TEST_F(HttpClient, PostsAForm) {
  server.SetCannedReply("ok");
  http.Init(server.Url().c_str(), true, nullptr);
  http.AddParameter("a", "1=2");
  http.AddParameter("b", "x");
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, "/go/hiscore");
  EXPECT_EQ(requests[0].body, "a=1%3D2&b=x");
  EXPECT_EQ(requests[0].headers["content-type"], "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[0].headers["pragma"], "no-cache");
}

TEST_F(HttpClient, AnEmptyReplyCompletesAsTheEmptyText) {
  server.SetMode(TFakeHiscoreServer::TMode::kEmptyBody);
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  ASSERT_NE(http.GetResult(), nullptr);
  EXPECT_STREQ(http.GetResult(), "");
}

TEST_F(HttpClient, AServerErrorStillCompletesWithItsBody) {
  // The page is no reply of the protocol; the service's check rejects it.
  server.SetMode(TFakeHiscoreServer::TMode::kServerError);
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  EXPECT_NE(std::string(http.GetResult()).find("500 Internal Server Error"), std::string::npos);
}

TEST_F(HttpClient, WritesTheReplyToAFile) {
  server.SetCannedReply("saved bytes");
  SetDataFolders(dir.Path().c_str(), dir.Path().c_str());
  std::string path = dir / "reply.bin";
  http.Init(server.Url().c_str(), false, "user:reply.bin");
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  EXPECT_EQ(ReadWholeFile(path), "saved bytes");
  http.Init(server.Url().c_str(), false, "user:no/such/folder/reply.bin");
  http.Send(0);
  EXPECT_EQ(http.GetStatus(), kHttpNoOutputFile);
  EXPECT_EQ(http.GetResult(), nullptr);
}

TEST_F(HttpClient, HostileServersFailWithinTheirTimeouts) {
  struct Case {
    TFakeHiscoreServer::TMode mode;
    const char* name;
  };
  const Case cases[] = {{TFakeHiscoreServer::TMode::kSlow, "slow"},
                        {TFakeHiscoreServer::TMode::kReset, "reset"},
                        {TFakeHiscoreServer::TMode::kEndless, "endless"}};
  server.SetDelayMs(10000);
  http.SetTimeouts(500, 800);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.SetMode(c.mode);
    http.Init(server.Url().c_str(), false, nullptr);
    http.Send(0);
    int status = 0;
    long long ms = ElapsedMs([&] { status = WaitForStatus(http, 8000); });
    EXPECT_EQ(status, kHttpFailed);
    EXPECT_EQ(http.GetResult(), nullptr);
    EXPECT_LT(ms, 5000);
  }
  std::string log = ReadWholeFile(dir / "logfile.txt");
  EXPECT_NE(log.find("Error creating connection (InternetOpenUrl) "), std::string::npos);
}

TEST_F(HttpClient, ARefusedPortFails) {
  http.Init(("http://127.0.0.1:" + std::to_string(TFakeHiscoreServer::RefusedPort()) + "/").c_str(),
            false, nullptr);
  http.Send(0);
  EXPECT_EQ(WaitForStatus(http, 5000), kHttpFailed);
}

TEST_F(HttpClient, AbandoningARequestInFlightEndsItsWorker) {
  server.SetMode(TFakeHiscoreServer::TMode::kSlow);
  server.SetDelayMs(10000);
  server.SetCannedReply("late");
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  while (server.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(http.GetStatus(), kHttpPending);
  long long ms = ElapsedMs([&] {
    http.Init(server.Url().c_str(), false, nullptr);
    EXPECT_TRUE(WaitForHttpWorkers(5000));
  });
  EXPECT_LT(ms, 2000);
  EXPECT_EQ(http.GetStatus(), kHttpFailed);  // no request any more
  EXPECT_EQ(http.GetResult(), nullptr);
  {
    // Destroying the client abandons as well.
    TSimpleHttp gone;
    gone.Init(server.Url().c_str(), false, nullptr);
    gone.Send(0);
  }
  EXPECT_TRUE(WaitForHttpWorkers(5000));
}

TEST_F(HttpClient, AReplyOverTheLimitFails) {
  server.SetCannedReply(std::string(kHttpMaxReply + 1, 'x'));
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  EXPECT_EQ(WaitForStatus(http, 5000), kHttpFailed);
  server.SetCannedReply(std::string(kHttpMaxReply, 'x'));
  http.Send(0);
  ASSERT_EQ(WaitForStatus(http, 5000), kHttpComplete);
  EXPECT_EQ(std::string(http.GetResult()).size(), kHttpMaxReply);
}

TEST_F(HttpClient, AProxyFromTheEnvironmentIsNotUsedForLoopback) {
  std::string proxy = "http://127.0.0.1:" + std::to_string(TFakeHiscoreServer::RefusedPort());
  setenv("http_proxy", proxy.c_str(), 1);
  setenv("ALL_PROXY", proxy.c_str(), 1);
  server.SetCannedReply("direct");
  http.Init(server.Url().c_str(), false, nullptr);
  http.Send(0);
  int status = WaitForStatus(http, 5000);
  unsetenv("http_proxy");
  unsetenv("ALL_PROXY");
  ASSERT_EQ(status, kHttpComplete);
  EXPECT_STREQ(http.GetResult(), "direct");
}
