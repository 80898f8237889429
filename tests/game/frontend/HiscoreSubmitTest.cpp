// The hiscore submit dialog over a scripted online service: its form, the connecting note, a
// failure with its reason and OK, a success that turns the hiscore screen to the global table
// with "congratulations" or "dnq", the submit button's rule, a remembered account, the
// anonymous modes, cancelling and the characters the edits refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/frontend/HiscoreFixture.h"

namespace {

constexpr char kNoServer[] = "Unable to connect to server. Please try again later.";

class HiscoreSubmitTest : public HiscoreTest {
 protected:
  // The hiscore screen with a waiting local score, and the dialog opened by "submit".
  THiscoreSubmit* OpenDialog(int anonymousMode = 0) {
    if (!service) Scripted();
    Settings().SetAnonymousMode(anonymousMode);
    AddLocalScores({2500});
    if (!Open()) return nullptr;
    Click("submit");
    dialog = dynamic_cast<THiscoreSubmit*>(Manager().GetTopModal());
    return dialog;
  }
  bool FormShows() {
    return Shows("header") && Shows("nameeditbox") && Shows("submittoserver") &&
           Shows("submitcancel") && !Shows("submitconnect");
  }
  bool AccountShows() {
    return Shows("yourtvaccount") && Shows("accounteditbox") && Shows("passeditbox") &&
           Shows("remember") && Shows("nametext") && Shows("passtext");
  }
  bool Connecting() {
    return Shows("submitconnect") && !Shows("header") && !Shows("nameeditbox") &&
           !Shows("accounteditbox") && !Shows("submittoserver") && !Shows("submitcancel");
  }
  bool Closed() {
    Manager().DeletePending();
    return Manager().GetTopModal() != static_cast<TModalWindow*>(dialog);
  }

  THiscoreSubmit* dialog = nullptr;
};

TEST_F(HiscoreSubmitTest, FormToConnectingToErrorToOkThenSuccessShowsTheGlobalTable) {
  ASSERT_NE(OpenDialog(), nullptr);
  EXPECT_EQ(TextOf("nameedit"), TString("Velka"));
  EXPECT_EQ(TextOf("eligiblescore"), TString("2500"));
  EXPECT_EQ(Manager().GetFocus(), Find<TWindow>("nameedit"));
  EXPECT_TRUE(FormShows());
  EXPECT_TRUE(AccountShows());
  for (const char* hidden : {"submitconnect", "submiterror", "submiterrorok"})
    EXPECT_FALSE(Shows(hidden)) << hidden;

  Type("accountedit", "velka.planner@example.com");
  Type("passedit", "secret");
  MouseClick("remember");
  EXPECT_TRUE(Find<TButton>("remember")->IsChecked());
  Click("submittoserver");
  EXPECT_TRUE(Connecting());
  EXPECT_EQ(service->calls,
            std::vector<std::string>{"submit velka.planner@example.com secret remember"});
  // A silent server: the game goes on, the dialog waits and polls.
  Ticks(10);
  EXPECT_TRUE(Connecting());
  EXPECT_EQ(service->polls, 10);
  EXPECT_EQ(hiscore->GetState(), THiscore::kLocal) << "the screen below rests";

  service->Answer(2, kNoServer);
  Tick();
  EXPECT_EQ(TextOf("submiterror"), TString(kNoServer));
  EXPECT_TRUE(Shows("submiterror"));
  EXPECT_TRUE(Shows("submiterrorok"));
  EXPECT_FALSE(Shows("submitconnect"));
  Ticks(3);
  EXPECT_EQ(service->polls, 11) << "polling stops at the failure";

  Click("submiterrorok");
  EXPECT_TRUE(FormShows());
  EXPECT_FALSE(Shows("submiterror"));
  EXPECT_FALSE(Shows("submiterrorok"));
  EXPECT_EQ(TextOf("accountedit"), TString("velka.planner@example.com"));
  EXPECT_EQ(TextOf("passedit"), TString("secret"));

  // Submitted again, under the player name this time; it places.
  Backspace("accountedit", 30);
  service->calls.clear();
  Click("submittoserver");
  EXPECT_EQ(service->calls, std::vector<std::string>{"submit Velka - remember"});
  service->Answer(0, "", true);
  Tick();
  EXPECT_TRUE(Closed());
  EXPECT_EQ(hiscore->GetState(), THiscore::kWaitingForCategories);
  EXPECT_EQ(hiscore->GetSubmitResult(), THiscore::kSubmitPlaced);
  service->categories = {"This week"};
  service->FillOnline(3);
  service->Answer(0);
  service->Answer(0);
  Ticks(2);
  EXPECT_EQ(hiscore->GetState(), THiscore::kGlobal);
  EXPECT_TRUE(Shows("congratulations"));
  EXPECT_FALSE(Shows("dnq"));
  EXPECT_FALSE(Shows("yourrankglobalinfo"));
}

TEST_F(HiscoreSubmitTest, ASubmissionThatDidNotPlaceShowsDnq) {
  ASSERT_NE(OpenDialog(), nullptr);
  Click("submittoserver");
  service->Answer(0, "", false);
  Tick();
  ASSERT_TRUE(Closed());
  service->Answer(0);
  service->Answer(0);
  Ticks(2);
  EXPECT_EQ(hiscore->GetState(), THiscore::kGlobal);
  EXPECT_TRUE(Shows("dnq"));
  EXPECT_FALSE(Shows("congratulations"));
}

TEST_F(HiscoreSubmitTest, NothingToSubmitIsAFailureWithItsReason) {
  Scripted();
  service->submitStarts = false;  // the waiting score went meanwhile
  ASSERT_NE(OpenDialog(), nullptr);
  service->Answer(0, "", true);  // what an earlier request would still answer
  Click("submittoserver");
  Ticks(2);
  EXPECT_FALSE(Closed());
  EXPECT_EQ(service->polls, 0);
  EXPECT_EQ(TextOf("submiterror"),
            TString("You have no score waiting to be submitted in this game mode."));
  EXPECT_TRUE(Shows("submiterrorok"));
  EXPECT_FALSE(Shows("submitconnect"));
}

TEST_F(HiscoreSubmitTest, TheSubmitButtonNeedsANameOrAnAccount) {
  ASSERT_NE(OpenDialog(), nullptr);
  Backspace("nameedit", 5);
  EXPECT_FALSE(Shows("submittoserver"));
  Type("accountedit", "a");
  EXPECT_TRUE(Shows("submittoserver"));
  Backspace("accountedit", 1);
  EXPECT_FALSE(Shows("submittoserver"));
  Type("nameedit", "V");
  EXPECT_TRUE(Shows("submittoserver"));
}

TEST_F(HiscoreSubmitTest, ARememberedAccountFillsTheForm) {
  Scripted();
  service->storedAccount = "velka.planner";
  service->storedPassword = "secret";
  ASSERT_NE(OpenDialog(), nullptr);
  EXPECT_EQ(TextOf("accountedit"), TString("velka.planner"));
  EXPECT_EQ(TextOf("passedit"), TString("secret"));
  ASSERT_NE(Find<TButton>("remember"), nullptr);
  EXPECT_TRUE(Find<TButton>("remember")->IsChecked());
}

TEST_F(HiscoreSubmitTest, AnonymousModesSubmitUnderThePlayerName) {
  for (int mode : {1, 2}) {
    service = nullptr;
    Scripted();
    service->storedAccount = "velka.planner";
    service->storedPassword = "secret";
    ASSERT_NE(OpenDialog(mode), nullptr);
    EXPECT_TRUE(FormShows());
    for (const char* hidden :
         {"yourtvaccount", "nametext", "passtext", "accounteditbox", "passeditbox", "remember"})
      EXPECT_FALSE(Shows(hidden)) << hidden << " in mode " << mode;
    Click("submittoserver");
    EXPECT_EQ(service->calls, std::vector<std::string>{"submit Velka - remember"});
    while (Manager().GetModalStack().size() > 1) Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(HiscoreSubmitTest, CancelClosesTheDialog) {
  ASSERT_NE(OpenDialog(), nullptr);
  Click("submitcancel");
  EXPECT_TRUE(Closed());
  EXPECT_EQ(Manager().GetTopModal(), hiscore->GetParent()->GetParent());
  EXPECT_EQ(hiscore->GetState(), THiscore::kLocal);
  EXPECT_TRUE(service->calls.empty());
}

TEST_F(HiscoreSubmitTest, TheEditsRefuseTheIllegalCharactersAndKeepTheirLengths) {
  ASSERT_NE(OpenDialog(), nullptr);
  const std::string names = "!@#$%^&*()><\\\"'[]{}|?/+=~`.,;:-";
  const std::string accountOnly = "@$\\+.";
  Backspace("nameedit", 5);
  Type("nameedit", "a" + names + "b");
  EXPECT_EQ(TextOf("nameedit"), TString("ab"));
  Type("accountedit", "a" + names + "b");
  EXPECT_EQ(TextOf("accountedit"), TString(("a" + accountOnly + "b").c_str()));
  Type("nameedit", "cdefghijklmnopq");
  EXPECT_EQ(TextOf("nameedit"), TString("abcdefghijkl")) << "12 characters";
  Type("passedit", std::string(30, 'x'));
  EXPECT_EQ(TextOf("passedit"), TString(std::string(26, 'x').c_str()));
}

}  // namespace
