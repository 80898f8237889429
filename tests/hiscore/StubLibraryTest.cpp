// The stub library path: used when every entry point is there, and no HTTP request is sent.
#include <dlfcn.h>

#include "tests/hiscore/ServiceFixture.h"

namespace {

class StubLibrary : public HiscoreServiceFixture {
 protected:
  void TearDown() override {
    HiscoreServiceFixture::TearDown();
    if (module) dlclose(module);
  }
  // Keeps the library loaded across services, so its call log survives them.
  std::string Calls() {
    if (!module) module = dlopen(TV_STUB_DIR "/tvservlet_stub.so", RTLD_NOW);
    auto log = reinterpret_cast<const char* (*)()>(dlsym(module, "StubCallLog"));
    return log ? log() : "";
  }
  void* module = nullptr;
};

}  // namespace

TEST_F(StubLibrary, AnswersTheRequestsInPlaceOfHttp) {
  UseProgramFolder(TV_STUB_DIR);
  // The library may stay loaded from an earlier run in this process (and its log with it):
  // only what this test adds counts.
  const size_t before = Calls().size();
  TTvHiscores& hiscores = Make(true, false);
  ASSERT_TRUE(hiscores.UsesStubLibrary());
  hiscores.RequestCategoryInformation();
  ASSERT_EQ(Poll(), 0);
  char name[32];
  ASSERT_TRUE(hiscores.GetCategoryName(0, name, sizeof name));
  EXPECT_STREQ(name, "Stub table");
  hiscores.RequestScores(0);
  ASSERT_EQ(Poll(), 0);
  EXPECT_EQ(hiscores.GetScoreCount(false), 1);
  hiscores.RequestScores(-1);
  ASSERT_EQ(Poll(), 0);
  hiscores.AddLocalScore(321, false, "3.1", nullptr);
  ASSERT_TRUE(hiscores.SubmitScore("velka@web", "pw", false));
  ASSERT_EQ(Poll(), 0);
  EXPECT_EQ(hiscores.GetHttpClient()->GetStatus(), kHttpFailed);  // nothing was sent
  EXPECT_TRUE(server.Requests().empty());
  service.reset();
  EXPECT_EQ(Calls().substr(before),
            "create;tables 7 festravask;scores 7 festravask festravask_career s (null);"
            "scores 7 festravask festravask_career (null) (null);"
            "submit 7 festravask festravask_career velka@web pw 32 1.0.0.48 3.1 321 " +
                std::string(kHiscoreKey) + ";free 7;");
}

TEST_F(StubLibrary, ALibraryLackingAnEntryPointIsNotUsed) {
  UseProgramFolder(TV_PARTIAL_STUB_DIR);
  TTvHiscores& hiscores = Make();
  EXPECT_FALSE(hiscores.UsesStubLibrary());
  EXPECT_NE(Log().find("lacks an entry point"), std::string::npos);
  hiscores.RequestCategoryInformation();
  EXPECT_EQ(Poll(), 0);
  EXPECT_EQ(server.Requests().size(), 1u);
}
