// The game's main function run on the headless platform: scripts of the test's own in a
// private assets folder, and input given in steps while the game's loop runs.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/main/GameMain.h"
#include "game/shell/TShellState.h"
#include "tests/game/shell/ShellFixture.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/platform/window/WindowMessages.h"
#include "tvlib/ui/TButton.h"

class GameTest : public ShellTest {
 protected:
  using TStep = std::function<void()>;

  GameTest() {
    GetShellState() = TShellState();
    std::filesystem::create_directories(mDir / "assets/scripts");
    WriteAsset("strings.xml",
               "<?xml version=\"1.0\"?><Workbook><Worksheet><Table><Row><Cell><Data>windowtitle"
               "</Data></Cell><Cell><Data>FestraVask</Data></Cell></Row></Table></Worksheet>"
               "</Workbook>");
  }
  ~GameTest() override { GetShellState() = TShellState(); }

  void WriteAsset(const std::string& name, const std::string& text) {
    WriteWholeFile(mDir / ("assets/" + name), text);
  }
  // The game's own assets in place of the test's: the packages it ships (scripts, strings,
  // images and the fonts made from them at build time).
  void UseGameAssets() { SetProgramFolder(TV_GAME_FOLDER); }
  // The game's own script `name` from the source tree.
  void CopyGameScript(const std::string& name) {
    WriteAsset("scripts/" + name,
               ReadWholeFile(std::string(TV_SOURCE_DIR) + "/assets/scripts/" + name));
  }

  // Runs the game main with `commandLine`, playing `steps` one after another while its loop
  // runs (each a few polls of the event pump after the one before, so that the events it
  // gave are handled by then), then asking it to quit. A game that quits by itself leaves
  // the remaining steps unplayed.
  void RunGame(const char* commandLine, std::vector<TStep> steps) {
    ClearFileIndex();
    MountFileSystem();
    // As the platform's set-up does: labels are localised when the strings load.
    if (mPlatform->GetStringTable()->Load("strings.xml")) Manager().SetLocalizeLabels(true);
    mSteps = std::move(steps);
    mPlayed = 0;
    FeedStep(mPollsPerStep);
    GameMain(mPlatform.get(), commandLine);
  }
  size_t Played() const { return mPlayed; }
  // Polls of the pump between two steps, and the milliseconds that pass at each poll.
  int mPollsPerStep = 4;
  uint32_t mMsPerPoll = 0;

  TWindowManager& Manager() { return *mData.windowManager; }
  TString TopName() { return Manager().GetTopModal()->GetName(); }
  // The pump's input: a close request, a focus change, Alt+Enter.
  void Close() { Window().InputClose(); }
  // Presses the button named `name` below the top screen, as a click or Enter does.
  void Press(const char* name) {
    auto* button = dynamic_cast<TButton*>(Manager().GetTopModal()->FindChild(name, -1));
    ASSERT_NE(button, nullptr) << name;
    button->Fire();
  }
  void AltEnter() {
    mBackend->mModifiers = kModAlt;
    Window().PostMessage(WM_SYSKEYDOWN, VK_RETURN, kKeyAltBit);
  }

 private:
  void FeedStep(int polls) {
    mBackend->Feed([this, polls](TNativeWindow& window) {
      mClock.Advance(mMsPerPoll);
      if (polls > 0) {
        FeedStep(polls - 1);
      } else if (mPlayed < mSteps.size()) {
        mSteps[mPlayed++]();
        FeedStep(mPollsPerStep);
      } else {
        window.InputQuit();
      }
    });
  }

  std::vector<TStep> mSteps;
  size_t mPlayed = 0;
};
