// The game main and its loop on the headless platform: the start sequence and the orderly
// exit, the close question (and quitting from the splash screen), the answers of the game's
// own close script, Alt+Enter storing the display mode, the level paused on an activation
// change, and the end of the game when no screen is left.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "game/shell/GameLoop.h"
#include "game/shell/TGameSettings.h"
#include "game/shell/TMetricsRecorder.h"
#include "tests/game/main/GameFixture.h"
#include "tests/support/WindowScriptLibrary.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextBlock.h"

namespace {

// The main script's wait as the window script library makes it: a command handed to the
// waiting script (the close script, run by the game) runs inside its coroutine.
constexpr char kWaitingMainScript[] =
    "return function() while true do local m, f = HandleGetMessage() if f then f() end end end";
// A close script that only counts how often it ran and says the question is up.
constexpr char kCountingCloseScript[] = "InQuitConfirm(true) questions = (questions or 0) + 1";

// Every text below `window` lies inside its box as laid out: nothing is cut off at an edge.
void ExpectTextsFit(TWindow* window) {
  TText* text = TText::CastToText(window);
  if (text && text->GetBlock()) {
    const TTextBlock& block = *text->GetBlock();
    const TRect b = block.GetBounds();
    EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= block.GetWidth() &&
                b.bottom <= block.GetHeight())
        << "'" << text->GetName().c_str() << "' (" << block.GetText().c_str() << ") covers "
        << b.left << "," << b.top << " to " << b.right << "," << b.bottom << " in a box of "
        << block.GetWidth() << "x" << block.GetHeight() << ", " << block.GetLineCount() << " lines";
  }
  for (TWindow* child : window->GetChildren()) ExpectTextsFit(child);
}

class GameLoopTest : public GameTest {
 protected:
  GameLoopTest() { WriteAsset("scripts/mainloop.lua", kWaitingMainScript); }
  int Number(const char* global) { return static_cast<int>(Script().GetGlobalNumber(global)); }
  int FullScreenOnDisk() {
    TPrefs disk(mData.settings, false);
    return disk.GetInt("fullscreen", 7, -1);
  }
};

TEST_F(GameLoopTest, StartsTitledWithItsDisplayProfilesAndMainScriptAndEndsInOrder) {
  WriteAsset(
      "scripts/mainloop.lua",
      "started = GetNumUsers() + 1 levelType = type(GameWindow) comic = type(PlayComicMusic)");
  std::vector<std::string> lines;
  TMetricsRecorder::Get().SetOutput([&](const TString& line) { lines.push_back(line.c_str()); });
  RunGame("", {[&] {
            EXPECT_EQ(mBackend->mTitle, "FestraVask");
            EXPECT_EQ(mDisplay->Count("SetDisplay(800,600,1,0)"), 1);  // full screen at first
            EXPECT_STREQ(mData.settings.GetSetting("encryptionkey").c_str(), "Hw7pKd2RtXbQ");
            EXPECT_EQ(Number("started"), 1);  // the profile functions were there for it
            // and so were the game's window types and its own functions
            EXPECT_STREQ(Script().GetGlobalString("levelType").c_str(), "function");
            EXPECT_STREQ(Script().GetGlobalString("comic").c_str(), "function");
            EXPECT_NE(Manager().GetRootWindow(), nullptr);
          }});
  EXPECT_EQ(Played(), 1u);
  EXPECT_EQ(TGameSettings::Get(), nullptr);
  TMetricsRecorder::Get().SetOutput(nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("SessionData, ", 0), 0u) << lines[0];
}

TEST_F(GameLoopTest, AnonymousModeComesFromTheCommandLine) {
  const struct {
    const char* commandLine;
    int mode;
  } cases[] = {{"-anon 2 -anon 1", 1}, {"x-anon 2", 2}, {"-anon 3", 0}, {"-anon1", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.commandLine);
    int mode = -1;
    RunGame(c.commandLine, {[&] { mode = TGameSettings::Get()->GetAnonymousMode(); }});
    EXPECT_EQ(mode, c.mode);
  }
}

TEST_F(GameLoopTest, CloseRequestAsksOnceWhileTheQuestionIsUp) {
  WriteAsset("scripts/closeconfirm.lua", kCountingCloseScript);
  size_t screens = 0;
  RunGame("", {[&] {
                 screens = Manager().GetModalStack().size();
                 Close();
               },
               [&] {
                 EXPECT_EQ(TopName(), "scripts/closeconfirm.lua");
                 EXPECT_EQ(Manager().GetModalStack().size(), screens + 1);
                 EXPECT_EQ(Number("questions"), 1);
                 Close();
               },
               [&] {
                 EXPECT_EQ(Number("questions"), 1);  // no second question
                 EXPECT_EQ(Manager().GetModalStack().size(), screens + 1);
               }});
  EXPECT_EQ(Played(), 3u);
}

TEST_F(GameLoopTest, CloseRequestDuringTheSplashScreenQuitsAtOnce) {
  WriteAsset("scripts/mainloop.lua", "InSplashScreen(true)");
  WriteAsset("scripts/closeconfirm.lua", kCountingCloseScript);
  RunGame("", {[&] { Close(); }, [] { ADD_FAILURE() << "the game went on"; }});
  EXPECT_EQ(Played(), 1u);
  EXPECT_EQ(Number("questions"), 0);
}

// The game's own close script, with stand-ins for the dialog of the window script library:
// "yes" quits, any other answer closes the question and lets the next close request ask again.
int gConfirmingInDialog = 0;
bool ConfirmingNow() {
  gConfirmingInDialog += GetShellState().inQuitConfirm ? 1 : 0;
  return true;
}
void PopTopModal() {
  TWindowManager::Get()->PopModal();
}

TEST_F(GameLoopTest, CloseScriptQuitsOnYesAndGoesBackOtherwise) {
  CopyGameScript("closeconfirm.lua");
  BindFunction(Script().GetState(), "ConfirmingNow", ConfirmingNow);
  BindFunction(Script().GetState(), "PopModal", PopTopModal);
  Lua("function GetString(key) return 'text of ' .. key end "
      "function DisplayDialog(t) asked = t ConfirmingNow() return gAnswer end");
  const struct {
    const char* answer;
    bool quits;
  } cases[] = {{"'no'", false}, {"nil", false}, {"'yes'", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    gConfirmingInDialog = 0;
    Lua((std::string("gAnswer = ") + c.answer).c_str());
    size_t screens = 0;
    RunGame("", {[&] {
                   screens = Manager().GetModalStack().size();
                   Close();
                 },
                 [&] {
                   EXPECT_EQ(Manager().GetModalStack().size(), screens);  // closed again
                   EXPECT_FALSE(GetShellState().inQuitConfirm);
                   Close();  // asks again
                 },
                 [&] { EXPECT_EQ(gConfirmingInDialog, 2); }});
    EXPECT_EQ(Played(), c.quits ? 1u : 3u);
    EXPECT_EQ(gConfirmingInDialog, c.quits ? 1 : 2);  // the flag was up while it asked
    EXPECT_EQ(Lua("result = asked[1]"), TString("scripts/yesnodialog.lua"));
    EXPECT_EQ(Lua("result = asked.title"), TString("text of ui.dialog.quit.title"));
    EXPECT_EQ(Lua("result = asked.body"), TString("text of ui.dialog.quit.confirm"));
  }
}

TEST_F(GameLoopTest, AltEnterStoresTheDisplayMode) {
  RunGame("", {[&] { AltEnter(); },
               [&] {
                 EXPECT_EQ(mDisplay->Count("SetFullscreen(1)"), 1);
                 EXPECT_EQ(FullScreenOnDisk(), 1);
                 AltEnter();
               },
               [&] { EXPECT_EQ(FullScreenOnDisk(), 0); }});
  EXPECT_EQ(Played(), 3u);
}

// A level stand-in: the one kind of window that answers a pause request; as the level does,
// it opens its pause menu unless it is paused already. (Losing the focus is both a
// visibility and an activation change: two events, two requests.)
class TFakeLevel : public TWindow {
 public:
  bool RequestPause() override {
    if (!mPaused) ++mPauseMenus;
    mPaused = true;
    return true;
  }
  bool mPaused = false;
  int mPauseMenus = 0;
};

TEST_F(GameLoopTest, LosingAndRegainingTheFocusPausesTheFocusedLevelOnce) {
  TFakeLevel* level = nullptr;
  RunGame("", {[&] {
                 level = new TFakeLevel;
                 Manager().GetTopModal()->AddChild(level, true);
                 Manager().SetFocus(level);
                 Window().InputFocusChange(false);
               },
               [&] {
                 EXPECT_TRUE(level->mPaused);
                 Window().InputFocusChange(true);
               },
               [&] {
                 EXPECT_TRUE(level->mPaused);  // nothing resumes it
                 EXPECT_EQ(level->mPauseMenus, 1);
               }});
  EXPECT_EQ(Played(), 3u);
}

TEST_F(GameLoopTest, ActivationChangePausesTheLevelWindowByNameAnywhere) {
  TFakeLevel* level = nullptr;
  TFakeLevel* other = nullptr;
  RunGame("", {[&] {
                 auto* holder = new TWindow;
                 Manager().GetTopModal()->AddChild(holder, true);
                 level = new TFakeLevel;
                 level->SetName("GameWindow");
                 holder->AddChild(level, true);
                 other = new TFakeLevel;  // neither focused nor named: left alone
                 Manager().GetTopModal()->AddChild(other, true);
                 auto* focused = new TWindow;
                 Manager().GetTopModal()->AddChild(focused, true);
                 Manager().SetFocus(focused);
                 Window().InputFocusChange(false);
               },
               [&] {
                 EXPECT_TRUE(level->mPaused);
                 EXPECT_FALSE(other->mPaused);
               }});
  EXPECT_EQ(Played(), 2u);
}

TEST_F(GameLoopTest, NoScreenLeftEndsTheGame) {
  RunGame("", {[&] {
                 while (Manager().GetTopModal()) Manager().PopModal();
               },
               [] { ADD_FAILURE() << "the game went on without a screen"; }});
  EXPECT_EQ(Played(), 1u);
}

// The game's own main script, with stand-ins for the window script library: the splash
// (its overlay of two texts) with the splash flag up, then the main menu; when that closes,
// the game ends.
std::vector<std::string> gScreens;
void NoteScreen(TString what) {
  gScreens.push_back(std::string(what.c_str()) + (GetShellState().inSplashScreen ? " splash" : ""));
}

TEST_F(GameLoopTest, MainScriptShowsTheSplashThenTheFirstScreenAndEndsAfterIt) {
  CopyGameScript("mainloop.lua");
  gScreens.clear();
  BindFunction(Script().GetState(), "NoteScreen", NoteScreen);
  Lua("kCenter, kMax, kHAlignLeft, kHAlignCenter, kVAlignCenter = 80000, 160000, 0, 1, 4 "
      "function Color(r, g, b) return {r, g, b} end "
      "function Text(t) return t end "
      "function SetDefaultStyle(s) gCurrentDefaultStyle = s end "
      "function DisplaySplash(movie, image, ms) "
      "  NoteScreen(image .. ' ' .. ms .. ' ' .. table.getn(gCurrentDefaultStyle.splashoverlay)) "
      "end "
      "function PushModal(file) NoteScreen(file) return file end "
      "function ReadFile(file) end "
      "function WaitForCloseMessage(name) end");
  RunGame("", {[] { ADD_FAILURE() << "the game went on"; }});
  EXPECT_EQ(Played(), 0u);
  EXPECT_EQ(gScreens, (std::vector<std::string>{"images/menu/menu_bg 3000 2 splash",
                                                "scripts/mainmenu.lua"}));
}

// The game's own screens on the window script library, with time passing: the splash (three
// seconds), the main menu, and the close question, answered "no" (back to the game) and then
// "yes". Every text of each screen fits its box.
TEST_F(GameLoopTest, GameScreensAskTheCloseQuestionAfterTheSplash) {
  if (!WindowScriptHasItsLibrary()) GTEST_SKIP() << "the window script has no library yet";
  UseGameAssets();
  mPlatform->CreateDisplayHandler();  // pictures load; frames stay in memory
  mPollsPerStep = 10;
  mMsPerPoll = 50;
  const TShellState& state = GetShellState();
  RunGame("", {[&] {
                 EXPECT_EQ(TopName(), TString("DisplaySplash"));
                 EXPECT_TRUE(state.inSplashScreen);
                 ExpectTextsFit(Manager().GetTopModal());
                 mPollsPerStep = 80;  // four seconds: the splash is over
               },
               [&] {
                 EXPECT_EQ(TopName(), TString("scripts/mainmenu.lua"));
                 EXPECT_FALSE(state.inSplashScreen);
                 ExpectTextsFit(Manager().GetTopModal());
                 EXPECT_NE(Manager().GetTopModal()->FindChild("quit", -1), nullptr);
                 EXPECT_TRUE(Manager().GetTopModal()->FindChild("tvlogo", -1)->IsVisible());
                 Close();
               },
               [&] {
                 EXPECT_EQ(TopName(), TString("scripts/yesnodialog.lua"));
                 EXPECT_TRUE(state.inQuitConfirm);
                 ExpectTextsFit(Manager().GetTopModal());
                 Press("no");
               },
               [&] {
                 EXPECT_EQ(TopName(), TString("scripts/mainmenu.lua"));
                 EXPECT_FALSE(state.inQuitConfirm);
                 Close();
               },
               [&] { Press("yes"); }, [] { ADD_FAILURE() << "the game went on after yes"; }});
  EXPECT_EQ(Played(), 5u);
}

// The main menu follows the command line: a portal build ("-aol") has no quit button, and
// "-hidelogo 1" hides the maker's name (both are there without them: see above).
TEST_F(GameLoopTest, MainMenuFollowsThePortalAndLogoSwitches) {
  if (!WindowScriptHasItsLibrary()) GTEST_SKIP() << "the window script has no library yet";
  UseGameAssets();
  mPlatform->CreateDisplayHandler();
  mPollsPerStep = 80;
  mMsPerPoll = 50;
  RunGame("-aol -hidelogo 1", {[&] {
            ASSERT_EQ(TopName(), TString("scripts/mainmenu.lua"));
            TWindow* top = Manager().GetTopModal();
            EXPECT_EQ(top->FindChild("quit", -1), nullptr);
            ASSERT_NE(top->FindChild("tvlogo", -1), nullptr);
            EXPECT_FALSE(top->FindChild("tvlogo", -1)->IsVisible());
          }});
  EXPECT_EQ(Played(), 1u);
}

// In anonymous mode 1 the privacy policy is the game's own text, in a screen over the one
// that asked for it, closed by its button.
TEST_F(GameLoopTest, PrivacyTextIsAScreenOfItsOwnInAnonymousModeOne) {
  if (!WindowScriptHasItsLibrary()) GTEST_SKIP() << "the window script has no library yet";
  UseGameAssets();
  mPlatform->CreateDisplayHandler();
  mPollsPerStep = 80;
  mMsPerPoll = 50;
  RunGame("-anon 1", {[&] {
                        EXPECT_EQ(TopName(), TString("scripts/mainmenu.lua"));
                        Lua("LaunchPrivacyPolicy()");  // as a button's command would
                        mPollsPerStep = 10;
                      },
                      [&] {
                        EXPECT_EQ(TopName(), TString("scripts/privacy.lua"));
                        ExpectTextsFit(Manager().GetTopModal());
                        Press("ok");
                      },
                      [&] { EXPECT_EQ(TopName(), TString("scripts/mainmenu.lua")); }});
  EXPECT_EQ(Played(), 3u);
}

}  // namespace

// Every text the game's scripts ask for by key (GetString("...") and window labels that are
// not shown literally) is in the string table.
TEST(GameScriptsTest, NameOnlyStringsTheTableHas) {
  TStringTable strings;
  const std::string table = ReadWholeFile(std::string(TV_SOURCE_DIR) + "/assets/strings.xml");
  strings.LoadBuffer(table.data(), table.size());
  const std::regex key(R"((?:GetString\(|label\s*=\s*)\"([^\"#][^\"]*)\")");
  int checked = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(
           std::string(TV_SOURCE_DIR) + "/assets/scripts")) {
    if (!entry.is_regular_file()) continue;
    const std::string source = ReadWholeFile(entry.path().string());
    for (std::sregex_iterator it(source.begin(), source.end(), key), end; it != end; ++it) {
      const std::string label = (*it)[1].str();
      ++checked;
      EXPECT_STRNE(strings.GetString(label.c_str()).c_str(), "#####")
          << entry.path().filename() << ": " << label;
    }
  }
  EXPECT_GT(checked, 0);
}
