// Dialogs pushed by native code (texts handed over as values, layout, centring, the waiting
// dialog function, web links) and the more-games panel filled from its document.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/WindowScriptFixture.h"
#include "tvlib/ui/TDialog.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TXSellWindow.h"

namespace {

class DialogWindowTest : public WindowScriptFixture {
 protected:
  DialogWindowTest() {
    WriteAsset("scripts/dialog.lua",
               "MakeDialog{ Window{ name = 'frame', x = 0, y = 0, w = 200, h = 100,"
               "  Text{ name = 'body', label = gDialogTable.body, x = 0, y = 0, w = 200, h = 50,"
               "    font = { 'round', 10, { 1, 1, 1, 1 } } } } }"
               "Note(gDialogTable.title)");
    // The main loop of a screen: every message it is given is noted.
    // Code run from outside while it waits reaches it as a command with no message.
    Run("return function() while true do local m = WaitForMessage()"
        "  if m then Note('got ' .. m.type .. ' ' .. m.name) end end end");
  }
  TDialog* Push(const char* body, const char* title) {
    return static_cast<TDialog*>(
        Manager().PushDialog("assets/scripts/dialog.lua", body, title, "dialog"));
  }
};

TEST_F(DialogWindowTest, TextsArriveAsWrittenAndRunNothing) {
  const char* body = "a]] Note('injected') gDialogTable.body = [[b";
  TDialog* dialog = Push(body, "Title ]]=] [==[");
  EXPECT_EQ(Notes(), "Title ]]=] [==[;");
  auto* text = static_cast<TText*>(dialog->FindChild("body", -1));
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text->GetText().c_str(), body);
  Run("Note(gDialogTable.body)");
  EXPECT_EQ(Notes(), std::string("Title ]]=] [==[;") + body + ";");
  EXPECT_STREQ(dialog->GetName().c_str(), "dialog");
}

TEST_F(DialogWindowTest, CentredInTheRootUnlessPlaced) {
  TDialog* dialog = Push("", "");
  EXPECT_TRUE(SameRect(dialog->GetRect(), TRect{300, 250, 500, 350}));
  // A layout that moved its dialog keeps that place.
  WriteAsset("scripts/placed.lua",
             "MakeDialog{ Window{ x = 0, y = 0, w = 20, h = 20 } } SetPosition('placed', 7, 9)");
  TModalWindow* placed = Manager().PushDialog("assets/scripts/placed.lua", "", "", "placed");
  EXPECT_TRUE(SameRect(placed->GetRect(), TRect{7, 9, 27, 29}));
  // A dialog whose layout is missing comes up empty, and the log says which layout it was.
  Manager().PushDialog("assets/scripts/gone.lua", "", "", "gone");
  EXPECT_NE(Log().find("no layout script 'assets/scripts/gone.lua'"), std::string::npos) << Log();
}

TEST_F(DialogWindowTest, EachDialogWaitsForItsOwnClose) {
  TDialog* first = Push("one", "");
  TDialog* second = Push("two", "");
  ASSERT_EQ(Manager().GetTopModal(), second);
  EXPECT_EQ(Notes(), ";;");
  // The top one closes: only its waiting function ends, inside the first one's wait.
  Send(kMessageClose, second->GetIdText().c_str());
  Tick();
  EXPECT_EQ(Manager().GetTopModal(), first);
  EXPECT_EQ(Notes(), ";;");
  Send(kMessageClose, first->GetIdText().c_str());
  Tick();
  EXPECT_EQ(Manager().GetTopModal(), mRoot);
  EXPECT_EQ(Notes(), ";;got 8 ;");
}

TEST_F(DialogWindowTest, LinkMessagesOpenTheirAddress) {
  TDialog* dialog = Push("", "");
  const std::string link = "http=https://example.test/more?a=1";
  Send(kMessageClick, link.c_str());
  Send(kMessageClick, "http=");
  EXPECT_EQ(Platform().mUrls, std::vector<std::string>{"https://example.test/more?a=1"});
  EXPECT_EQ(Manager().GetTopModal(), dialog);
  EXPECT_EQ(Notes(), ";");  // handled by the dialog: not the script's
}

class XSellWindowTest : public WindowScriptFixture {
 protected:
  XSellWindowTest() {
    // Eight of each named window, each button at (100, 100) sized 20 x 10.
    std::string layout = "MakeDialog{ XSellWindow{ name = 'xsell', x = 0, y = 0, w = 400, h = 400,";
    for (int i = 1; i <= 8; ++i) {
      layout += "Text{ name = 'descrip" + std::to_string(i) +
                "', font = { 'round', 10 }, x = 0, y = 0, w = 300, h = 20 },"
                "Window{ name = 'xsellbutton" +
                std::to_string(i) + "', x = 100, y = 100, w = 20, h = 10 },";
    }
    layout +=
        "Text{ name = 'centertext1', font = { 'round', 10 }, w = 100, h = 20 },"
        "Text{ name = 'centertext2', font = { 'round', 10 }, w = 100, h = 20 },"
        "Window{ name = 'gamesite', x = 50, y = 60, w = 40, h = 30 } } }";
    WriteAsset("xsell.lua", layout);
  }
  TXSellWindow* Panel() {
    Run("ReadFile('xsell.lua')");
    return static_cast<TXSellWindow*>(Find("xsell"));
  }
  bool Shown(const std::string& name) { return Find(name.c_str())->IsVisible(); }
  std::string Text(const char* name) { return static_cast<TText*>(Find(name))->GetText().c_str(); }
};

TEST_F(XSellWindowTest, FillsItsEntriesHidesTheRestAndCentresTheButtons) {
  WriteAsset("xsell/xsell.xml",
             "<xsell><gameinfo description=\"One\" linktext=\"Get it\" link=\"http://one.test\"/>"
             "<centertext text1=\"More\" text2=\"Games\"/>"
             "<gameinfo description=\"Two\" link=\"http://two.test\"/>"
             "<gameinfo description=\"Three\" linktext=\"Try\" link=\"http://three.test\"/>"
             "</xsell>");
  TXSellWindow* panel = Panel();
  ASSERT_NE(panel, nullptr);
  Run("SetupXSell()");
  EXPECT_EQ(Text("descrip1"),
            "One <u><font color=\"003cff\"><a id='xsellbutton1'>Get it</a></font></u>");
  EXPECT_EQ(Text("descrip2"), "Two");
  EXPECT_EQ(Text("centertext1"), "More");
  EXPECT_EQ(Text("centertext2"), "Games");
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(Shown("descrip" + std::to_string(i)), i <= 3) << i;
    EXPECT_EQ(Shown("xsellbutton" + std::to_string(i)), i <= 3) << i;
  }
  EXPECT_FALSE(Shown("gamesite"));  // no site link
  EXPECT_TRUE(SameRect(Find("xsellbutton2")->GetRect(), TRect{90, 95, 110, 105}));
  EXPECT_TRUE(SameRect(Find("gamesite")->GetRect(), TRect{30, 45, 70, 75}));
  Run("SetupXSell()");  // every call centres again
  EXPECT_TRUE(SameRect(Find("xsellbutton2")->GetRect(), TRect{80, 90, 100, 100}));
  Run("LaunchGameLink(2) LaunchGameLink(3.7) LaunchGameLink(0)");
  EXPECT_EQ(Platform().mUrls,
            (std::vector<std::string>{"http://two.test", "http://three.test", ""}));
}

TEST_F(XSellWindowTest, EntriesBeyondTheSeventhAndOtherIndicesAreIgnored) {
  std::string document = "<xsell><sitelink link=\"http://site.test\"/>";
  for (int i = 1; i <= 9; ++i) {
    document += "<gameinfo description=\"Game " + std::to_string(i) + "\" link=\"http://" +
                std::to_string(i) + ".test\"/>";
  }
  WriteAsset("xsell/xsell.xml", document + "</xsell>");
  Panel();
  Run("SetupXSell() LaunchGameLink(7) LaunchGameLink(8) LaunchGameLink(-1) LaunchGameLink(0)");
  EXPECT_EQ(Text("descrip7"), "Game 7");
  EXPECT_EQ(Text("descrip8"), "");
  EXPECT_FALSE(Shown("descrip8"));
  EXPECT_TRUE(Shown("gamesite"));
  EXPECT_EQ(Platform().mUrls, (std::vector<std::string>{"http://7.test", "http://site.test"}));
}

TEST_F(XSellWindowTest, WithoutADocumentThePanelShowsNoEntries) {
  Panel();
  Run("SetupXSell()");
  for (int i = 1; i <= 8; ++i) EXPECT_FALSE(Shown("descrip" + std::to_string(i))) << i;
  EXPECT_TRUE(Shown("gamesite"));  // only a document without a site link hides it
}

}  // namespace
