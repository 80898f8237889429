// The hiscore screen built by its own script over a scripted online service: the local view,
// the state machine through waiting, global and error, the game-mode and category commands,
// paging through 12 and 30 entries, the anonymous modes and the result of a submission.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/frontend/HiscoreFixture.h"
#include "tvlib/ui/TMessage.h"

namespace {

constexpr char kNoServer[] = "Unable to connect to server. Please try again later.";

class HiscoreScreenTest : public HiscoreTest {
 protected:
  // The local view, then "view" answered at once: the global table of `entries` entries.
  void OpenGlobal(int entries) {
    Scripted();
    service->categories = {"This week", "All time"};
    service->FillOnline(entries);
    ASSERT_NE(Open(), nullptr);
    Click("view");
    service->Answer(0);
    service->Answer(0);
    Ticks(2);
    ASSERT_EQ(hiscore->GetState(), THiscore::kGlobal);
  }
  // The names shown in rows 1 to 10 ("" for a hidden row).
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 1; i <= 10; ++i) {
      const std::string name = "name" + std::to_string(i);
      rows.push_back(Shows(name.c_str()) ? TextOf(name.c_str()).c_str() : "");
    }
    return rows;
  }
  bool Command(const char* name) {
    TMessage message(kMessageClick, name);
    return hiscore->OnMessage(&message);
  }
  // Pixels of the shown frame inside the rectangle that are clearly rose (the error text).
  int RosePixels(int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const uint32_t p = presenter->Pixel(x, y);
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF;
        count += r > 150 && r - g > 60;
      }
    }
    return count;
  }
};

TEST_F(HiscoreScreenTest, TheLocalViewShowsTheModesTableAndWhatWaits) {
  Scripted();
  AddLocalScores({1200, 3400, 800});
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(hiscore->GetState(), THiscore::kLocal);
  EXPECT_EQ(TextOf("gamemode"), TString("Career Mode (Web)"));
  for (int i = 1; i <= 3; ++i) {
    const std::string row = std::to_string(i);
    EXPECT_TRUE(Shows(row.c_str()));
    EXPECT_FALSE(Shows(("p1_" + row).c_str())) << "local entries belong to no member";
  }
  EXPECT_EQ(TextOf("1"), TString("1."));
  EXPECT_EQ(TextOf("name1"), TString("Velka"));
  EXPECT_EQ(TextOf("score1"), TString("3400"));
  EXPECT_EQ(TextOf("score3"), TString("800"));
  EXPECT_FALSE(Shows("4"));
  EXPECT_FALSE(Shows("name10"));
  for (const char* shown :
       {"local", "rightpanel", "info", "eligible", "moreinfo", "submit", "view"})
    EXPECT_TRUE(Shows(shown)) << shown;
  for (const char* hidden : {"global", "topplayers", "rightpanelsmall", "server", "error",
                             "category", "viewlocal", "categoryleft", "categoryright", "scrollup",
                             "scrolldown", "highscoresasterisk", "congratulations", "dnq"})
    EXPECT_FALSE(Shows(hidden)) << hidden;

  // The endless mode's table is empty: nothing waits there.
  EXPECT_TRUE(Command("gamemoderight"));
  EXPECT_EQ(TextOf("gamemode"), TString("Endless Reception (Web)"));
  EXPECT_FALSE(Shows("1"));
  EXPECT_FALSE(Shows("eligible"));
  EXPECT_FALSE(Shows("submit"));
  EXPECT_TRUE(Shows("view"));
}

TEST_F(HiscoreScreenTest, GameModeCommandsWrapOverTheModesOfTheView) {
  struct TCase {
    bool global;
    int from;
    const char* command;
    int to;
  };
  const TCase cases[] = {
      {false, 1, "gamemoderight", 0}, {false, 0, "gamemodeleft", 1}, {false, 0, "gamemoderight", 1},
      {true, 3, "gamemoderight", 0},  {true, 0, "gamemodeleft", 3},  {true, 2, "gamemodeleft", 1},
  };
  OpenGlobal(3);
  for (const TCase& c : cases) {
    if (c.global) {
      Click("view");
      service->Answer(0);
      service->Answer(0);
      Ticks(2);
    } else {
      Click("viewlocal");
    }
    Settings().SetCurrentGameMode(c.from);
    service->calls.clear();
    EXPECT_TRUE(Command(c.command)) << c.command << " from " << c.from;
    EXPECT_EQ(Settings().GetCurrentGameMode(), c.to) << c.command << " from " << c.from;
    if (c.global) {
      // The global view fetches the new mode's table of the same category.
      EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForScores);
      EXPECT_EQ(service->calls, std::vector<std::string>{"scores 0"});
    } else {
      EXPECT_EQ(hiscore->GetState(), THiscore::kLocal);
      EXPECT_TRUE(service->calls.empty());
    }
  }
  // While a request runs and after an error they do nothing and are not handled.
  Click("viewlocal");
  Click("view");
  Settings().SetCurrentGameMode(1);
  EXPECT_FALSE(Command("gamemoderight"));
  service->Answer(2, kNoServer);
  Tick();
  ASSERT_EQ(hiscore->GetState(), THiscore::kError);
  EXPECT_FALSE(Command("gamemodeleft"));
  EXPECT_EQ(Settings().GetCurrentGameMode(), 1);
}

TEST_F(HiscoreScreenTest, TheStateMachineGoesThroughWaitingGlobalAndError) {
  Scripted();
  service->categories = {"This week", "All time"};
  service->FillOnline(4);
  service->ownRank = 3;
  ASSERT_NE(Open(), nullptr);
  Tick();
  EXPECT_EQ(service->polls, 0) << "the local view asks nothing";

  Click("view");
  EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForCategories);
  EXPECT_EQ(service->calls, std::vector<std::string>{"categories"});
  EXPECT_TRUE(Shows("server"));
  EXPECT_TRUE(Shows("rightpanelsmall"));
  EXPECT_FALSE(Shows("rightpanel"));
  EXPECT_FALSE(Shows("name1"));
  for (const char* button : {"view", "viewlocal", "submit", "moreinfo", "categoryleft"})
    EXPECT_FALSE(Shows(button)) << button;
  Ticks(5);  // the server is slow: the screen waits, polling each tick
  EXPECT_EQ(service->polls, 5);
  EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForCategories);

  service->Answer(0);
  Tick();
  EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForScores);
  EXPECT_EQ(service->calls, (std::vector<std::string>{"categories", "scores 0"}));
  service->Answer(0);
  Tick();
  EXPECT_EQ(hiscore->GetState(), THiscore::kGlobal);
  EXPECT_EQ(TextOf("category"), TString("This week"));
  EXPECT_EQ(TextOf("yourrank"), TString("Your Rank: 3"));
  for (const char* shown :
       {"global", "category", "yourrank", "viewlocal", "categoryleft", "categoryright", "name4"})
    EXPECT_TRUE(Shows(shown)) << shown;
  for (const char* hidden : {"yourrankglobalinfo", "server", "local", "view", "name5"})
    EXPECT_FALSE(Shows(hidden)) << hidden;
  EXPECT_FALSE(Shows("p1_2")) << "an anonymous entry has no member icon";
  EXPECT_TRUE(Shows("p1_1"));

  // Categories wrap both ways; a failed fetch shows the reason, drawn at once.
  service->calls.clear();
  EXPECT_TRUE(Command("categoryleft"));
  EXPECT_EQ(hiscore->GetCategoryIndex(), 1);
  EXPECT_TRUE(Command("categoryright"));
  EXPECT_EQ(hiscore->GetCategoryIndex(), 0);
  EXPECT_EQ(service->calls, (std::vector<std::string>{"scores 1", "scores 0"}));
  EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForScores);
  Tick();
  EXPECT_EQ(RosePixels(475, 400, 733, 530), 0);
  service->Answer(2, kNoServer);
  Tick();
  EXPECT_EQ(hiscore->GetState(), THiscore::kError);
  EXPECT_EQ(TextOf("error"), TString(kNoServer));
  EXPECT_TRUE(Shows("error"));
  EXPECT_TRUE(Shows("viewlocal"));
  EXPECT_FALSE(Shows("categoryleft"));
  EXPECT_GT(RosePixels(475, 400, 733, 530), 50) << "the error text is in the frame";
  const int polls = service->polls;
  Ticks(3);
  EXPECT_EQ(service->polls, polls) << "no polling after an error";

  Click("viewlocal");
  EXPECT_EQ(hiscore->GetState(), THiscore::kLocal);
  EXPECT_TRUE(Shows("view"));
  EXPECT_FALSE(Shows("error"));
}

TEST_F(HiscoreScreenTest, CategoryCommandsWithoutCategoriesAskForTheOnlyIndices) {
  OpenGlobal(0);
  service->categories.clear();
  service->calls.clear();
  Command("categoryleft");
  Command("categoryright");
  EXPECT_EQ(service->calls, (std::vector<std::string>{"scores -1", "scores 0"}));
}

TEST_F(HiscoreScreenTest, PagingThroughTwelveAndThirtyEntries) {
  struct TPage {
    const char* command;  // null: the first page
    int offset;
    const char* firstName;
    int rows;
    bool up, down;
  };
  struct TCase {
    int entries;
    std::vector<TPage> pages;
  };
  const TCase cases[] = {
      {12,
       {{nullptr, 0, "player1", 10, false, true},
        {"scrolldown", 7, "player8", 5, true, false},
        {"scrollup", 0, "player1", 10, false, true}}},
      {30,
       {{nullptr, 0, "player1", 10, false, true},
        {"scrolldown", 10, "player11", 10, true, true},
        {"scrolldown", 20, "player21", 10, true, false},
        {"scrolldown", 25, "player26", 5, true, false},
        {"scrollup", 15, "player16", 10, true, true}}},
  };
  for (const TCase& c : cases) {
    OpenGlobal(c.entries);
    for (const TPage& page : c.pages) {
      const std::string at =
          std::to_string(c.entries) + " entries, offset " + std::to_string(page.offset);
      if (page.command) Click(page.command);
      EXPECT_EQ(hiscore->GetScrollOffset(), page.offset) << at;
      const std::vector<std::string> rows = Rows();
      EXPECT_EQ(rows[0], page.firstName) << at;
      for (int i = 0; i < 10; ++i) EXPECT_EQ(rows[size_t(i)].empty(), i >= page.rows) << at;
      EXPECT_EQ(TextOf("1"), TString::Format("%d.", page.offset + 1)) << at;
      EXPECT_EQ(Shows("scrollup"), page.up) << at;
      EXPECT_EQ(Shows("scrolldown"), page.down) << at;
    }
    Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(HiscoreScreenTest, AnonymousModesHideTheAccountFeatures) {
  // Mode 2 on a screen that does not stand at the origin: the table panel moves within its
  // parent.
  Scripted();
  AddLocalScores({500});
  Settings().SetAnonymousMode(2);
  auto* modal = new TModalWindow;
  Manager().PushModal(modal);
  modal->SetPosition(30, 20);
  Manager().RunWindowScript(modal, "scripts/hiscore.lua");
  hiscore = dynamic_cast<THiscore*>(modal->FindChild("hiscore", -1));
  ASSERT_NE(hiscore, nullptr);
  TWindow* panel = Find<TWindow>("leftpanel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetRect().left, 70 + THiscore::kAnonymousPanelShift);
  EXPECT_EQ(panel->GetRect().top, 150);
  EXPECT_EQ(panel->GetScreenRect().left, 30 + 70 + THiscore::kAnonymousPanelShift);
  EXPECT_TRUE(Shows("topplayers"));
  EXPECT_TRUE(Shows("name1"));
  for (const char* hidden : {"local", "rightpanel", "rightpanelsmall", "view", "submit", "moreinfo",
                             "info", "eligible", "p1_1"})
    EXPECT_FALSE(Shows(hidden)) << hidden;
  Manager().PopModal();
  Manager().DeletePending();

  // Mode 1: no "moreinfo" and no member icons; the rest as in named play.
  Settings().SetAnonymousMode(1);
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Find<TWindow>("leftpanel")->GetRect().left, 70);
  for (const char* shown : {"local", "rightpanel", "view", "submit", "info", "eligible", "name1"})
    EXPECT_TRUE(Shows(shown)) << shown;
  for (const char* hidden : {"moreinfo", "p1_1", "topplayers"})
    EXPECT_FALSE(Shows(hidden)) << hidden;
}

TEST_F(HiscoreScreenTest, TheGlobalViewAfterASubmissionShowsItsResult) {
  struct TCase {
    bool placed;
    const char* shown;
    const char* hidden;
    int result;
  };
  for (const TCase& c : {TCase{true, "congratulations", "dnq", THiscore::kSubmitPlaced},
                         TCase{false, "dnq", "congratulations", THiscore::kSubmitNotPlaced}}) {
    OpenGlobal(3);
    service->calls.clear();
    hiscore->ShowGlobalAfterSubmit(c.placed);
    EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForCategories);
    EXPECT_EQ(hiscore->GetSubmitResult(), c.result);
    EXPECT_EQ(service->calls, std::vector<std::string>{"categories"});
    service->Answer(0);
    service->Answer(0);
    Ticks(2);
    EXPECT_TRUE(Shows(c.shown));
    EXPECT_FALSE(Shows(c.hidden));
    EXPECT_FALSE(Shows("yourrankglobalinfo"));
    // A new view forgets the result.
    Click("viewlocal");
    Click("view");
    EXPECT_EQ(hiscore->GetSubmitResult(), THiscore::kNoSubmit);
    service->Answer(0);
    service->Answer(0);
    Ticks(2);
    EXPECT_FALSE(Shows(c.shown));
    EXPECT_TRUE(Shows("yourrankglobalinfo"));
    Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(HiscoreScreenTest, TheScriptOpensTheInformationPageAndCloses) {
  Scripted();
  ASSERT_NE(Open(), nullptr);
  TModalWindow* screenModal = Manager().GetTopModal();
  WaitForCommands();
  Click("moreinfo");
  ASSERT_NE(Manager().GetTopModal(), screenModal);
  EXPECT_TRUE(Shows("hiscoreinfook"));
  EXPECT_NE(TextOf("infotext").Length(), 0);
  Click("hiscoreinfook");
  Tick();
  EXPECT_EQ(Manager().GetTopModal(), screenModal);
  Click("back");
  Tick();
  EXPECT_EQ(Manager().GetModalStack().size(), 1u) << "the screen closed";
}

}  // namespace
