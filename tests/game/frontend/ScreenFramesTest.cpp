// Whole frames of the screens drawn on the headless display from the game's packed content,
// written beside the test's output for looking at: the options, the credits standing and
// scrolled (with the game's own credits file), the pause menu, the player choice and the name
// entry. Each frame is probed where its parts must show.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TTextBlock.h"

namespace {

class ScreenFramesTest : public MenuScreenTest {
 protected:
  // The pixels of a rectangle of the frame that differ from its corner's colour.
  int Marked(int left, int top, int right, int bottom) {
    const TFramePixel shown = Shown();
    const uint32_t ground = shown(left, top);
    int marked = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) marked += shown(x, y) != ground;
    }
    return marked;
  }
  // A digest of the frame's pixels in a rectangle, to compare two frames.
  uint64_t Pixels(int left, int top, int right, int bottom) {
    uint64_t digest = 1469598103934665603ull;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) digest = (digest ^ Shown()(x, y)) * 1099511628211ull;
    }
    return digest;
  }
};

TEST_F(ScreenFramesTest, TheOptions) {
  Settings().CreateNewUser("Ada");
  Open("scripts/options.lua");
  ASSERT_NE(Find<TOptions>("options"), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  Frame("options.png");
  // The knobs stand at 0.75 and 0.64 of their rails.
  for (auto [name, value] : {std::pair{"sfxlevelslider", 0.75f}, {"musiclevelslider", 0.64f}}) {
    TSlider* slider = Find<TSlider>(name);
    ASSERT_NE(slider, nullptr);
    const TRect knob = slider->GetKnob()->GetScreenRect();
    const TRect rail = slider->GetRail()->GetScreenRect();
    EXPECT_EQ(knob.left - rail.left, static_cast<int>(value * (rail.right - rail.left - 24)));
    EXPECT_GT(Marked(knob.left, knob.top, knob.right, knob.bottom), 100) << name;
  }
  // Labels beside the sliders.
  EXPECT_GT(Marked(170, 172, 380, 204), 50);
}

TEST_F(ScreenFramesTest, TheCreditsStandingAndScrolled) {
  // The credits file lies in the current directory, as beside the program.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::copy_file(TV_CREDITS_FILE, dir / "credits.txt");
  std::filesystem::current_path(dir.Path());
  Open("scripts/credits.lua");
  std::filesystem::current_path(previous);
  TCredits* credits = Find<TCredits>("credits");
  ASSERT_NE(credits, nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  EXPECT_GT(credits->GetBlock(2)->GetLineCount(), 60);
  Frame("credits_standing.png");
  const uint64_t standing = Pixels(190, 140, 560, 480);
  EXPECT_GT(Marked(190, 140, 560, 480), 500);  // text in the viewport
  Tick(5000);
  Frame("credits_still.png");
  EXPECT_EQ(Pixels(190, 140, 560, 480), standing);
  Tick(3000 + 6000);
  Frame("credits_scrolled.png");
  EXPECT_NE(Pixels(190, 140, 560, 480), standing);
  // Nothing is drawn outside the viewport: above it lies the background alone.
  EXPECT_EQ(credits->GetBlock(0)->GetFirstLine(),
            static_cast<int>(credits->ScrollOffset(14000 + 16) / credits->GetFontSize()));
}

TEST_F(ScreenFramesTest, ThePauseMenuOverALevel) {
  Settings().CreateNewUser("Ada");
  auto* level = new TModalWindow;
  level->SetSize(kWidth, kHeight);
  Manager().PushModal(level);
  auto* room = new TImage;
  room->SetTexture(TTexture::Get("images/bg_backyard", 0), 1.0f);
  level->AddChild(room, true);
  Open("assets/scripts/pausemenu.lua");
  ASSERT_NE(Find<TPauseMenu>("pausemenu"), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  Frame("pausemenu.png");
  const TRect resume = Button("resume")->GetScreenRect();
  EXPECT_GT(Marked(resume.left, resume.top, resume.right, resume.bottom), 500);
}

TEST_F(ScreenFramesTest, ThePlayerChoiceAndTheNameEntry) {
  for (const char* name : {"Ada", "Bj\xC3\xB6rn", "Zo\xC3\xAB"}) Settings().CreateNewUser(name);
  Settings().SetCurrentUser(1);
  Open("scripts/chooseplayer.lua");
  ASSERT_NE(Find<TChoosePlayer>("chooseplayer"), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  Frame("chooseplayer.png");
  const TRect checked = Button("button1")->GetScreenRect();
  const TRect idle = Button("button0")->GetScreenRect();
  EXPECT_NE(Shown()(checked.left + 8, checked.top + 8), Shown()(idle.left + 8, idle.top + 8));
  Lua("PushModal('entertest') gDialogTable = { name = 'Zo\xC3\xAB' } "
      "ReadFile('scripts/entername.lua')");
  ASSERT_NE(Find<TEnterName>("enternamewindow"), nullptr);
  Frame("entername.png");
}

}  // namespace
