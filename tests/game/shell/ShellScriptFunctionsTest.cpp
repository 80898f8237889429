// The game main's script functions: random ranges (a reversed range answers its low bound),
// the command-line switches, the flags, quitting and the privacy policy's two ways.
#include "game/shell/ShellScriptFunctions.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "game/shell/TGameSettings.h"
#include "game/shell/TShellState.h"
#include "tests/game/shell/ShellFixture.h"
#include "tvlib/core/TRandom.h"

namespace {

class ShellScriptFunctionsTest : public ShellTest {
 protected:
  ShellScriptFunctionsTest() {
    GetShellState() = TShellState();
    RegisterShellScriptFunctions(Script().GetState());
    TvSrand(1);
  }
  ~ShellScriptFunctionsTest() override { GetShellState() = TShellState(); }
  // Every value GetRandomRange(low, high) gave in `draws` calls from the script.
  std::set<int> Draws(const char* low, const char* high, int draws) {
    std::set<int> seen;
    for (int i = 0; i < draws; ++i) {
      seen.insert(
          Lua((std::string("result = GetRandomRange(") + low + ", " + high + ")").c_str()).ToInt());
    }
    return seen;
  }
  std::string Log() const { return ReadWholeFile(GetLogPath().c_str()); }
};

TEST_F(ShellScriptFunctionsTest, RandomRanges) {
  EXPECT_EQ(Draws("3", "3", 20), (std::set<int>{3}));
  EXPECT_EQ(Draws("1.9", "4.2", 200), (std::set<int>{1, 2, 3, 4}));  // truncated bounds
  EXPECT_EQ(Draws("-2.7", "-1", 100), (std::set<int>{-2, -1}));
  // A reversed or empty range answers its low bound.
  EXPECT_EQ(Draws("5", "4", 10), (std::set<int>{5}));
  EXPECT_EQ(Draws("5", "-100", 10), (std::set<int>{5}));
  // The widest range stays in range: the span does not overflow.
  for (int i = 0; i < 100; ++i) {
    const int r = GetRandomRange(INT_MIN, INT_MAX);
    EXPECT_LE(r, INT_MIN + kRandMax);
  }
}

TEST_F(ShellScriptFunctionsTest, SwitchesAreFoundAnywhereInTheCommandLine) {
  const struct {
    const char* commandLine;
    bool aol;
    bool hidesLogo;
  } cases[] = {
      {"-aol", true, false},         {"x-aoly -hidelogo 1", true, true},
      {"-hidelogo 1x", false, true}, {"-hidelogo 2", false, false},
      {"-hidelogo", false, false},   {"-hidelogo  1 -AOL", false, false},
  };
  mPlatform->InitDisplay(800, 600, false);
  auto* screen = new TModalWindow;
  mData.windowManager->PushModal(screen);
  auto* holder = new TWindow;
  screen->AddChild(holder, true);
  auto* logo = new TWindow;
  logo->SetName("tvlogo");
  holder->AddChild(logo, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.commandLine);
    GetShellState().commandLine = c.commandLine;
    logo->AddFlags(kWindowVisible);
    EXPECT_EQ(Lua("result = tostring(AOLBuild())"), TString(c.aol ? "true" : "false"));
    Lua("CheckTVLogo()");
    EXPECT_EQ(logo->IsVisible(), !c.hidesLogo);
  }
}

TEST_F(ShellScriptFunctionsTest, FlagsAndQuitting) {
  Lua("InSplashScreen(true) InQuitConfirm(1)");
  EXPECT_TRUE(GetShellState().inSplashScreen);
  EXPECT_TRUE(GetShellState().inQuitConfirm);
  Lua("InSplashScreen(false) InQuitConfirm(nil)");
  EXPECT_FALSE(GetShellState().inSplashScreen);
  EXPECT_FALSE(GetShellState().inQuitConfirm);
  EXPECT_EQ(Lua("result = tostring(InGame())"), TString("false"));
  GetShellState().inGame = true;
  EXPECT_EQ(Lua("result = tostring(InGame())"), TString("true"));
  Lua("QuitApplication()");
  EXPECT_EQ(Next().type, kEventQuit);
}

TEST_F(ShellScriptFunctionsTest, PrivacyPolicyIsTheLocalTextInAnonymousModeOne) {
  TGameSettings::Recreate();
  TGameSettings::Get()->SetAnonymousMode(1);
  Lua("LaunchPrivacyPolicy()");  // no screen open: nothing
  EXPECT_EQ(mData.windowManager->GetTopModal(), nullptr);
  mPlatform->InitDisplay(800, 600, false);
  Lua("LaunchPrivacyPolicy()");
  EXPECT_EQ(mData.windowManager->GetModalStack().size(), 2u);
  EXPECT_EQ(mData.windowManager->GetTopModal()->GetName(), TString("scripts/privacy.lua"));
  EXPECT_EQ(Log().find("OpenUrl"), std::string::npos);

  // Any other mode opens the web page (here through a host program that cannot start).
  mData.embedded = true;
  mData.commandLine = "game -host=/nonexistent/browser";
  TGameSettings::Get()->SetAnonymousMode(2);
  Lua("LaunchPrivacyPolicy()");
  EXPECT_NE(Log().find("Could not start /nonexistent/browser"), std::string::npos) << Log();
  EXPECT_EQ(mData.windowManager->GetModalStack().size(), 2u);
  TGameSettings::Destroy();
}

}  // namespace
