// Animated sprites stepped with the platform clock: frame timing, fades, loops, halting and
// resuming trees, Die, waits without a time, nested animations, the natives' edge cases, and
// drawing shared textures and frames that do not exist.
#include <gtest/gtest.h>

#include "tests/media/SpriteFixture.h"
#include "tvlib/media/TAnimatedSprite.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/script/TScript.h"

namespace {

class AnimatedSpriteTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    PutSheet("anim/sheet.png", 128, 32);
    // Four 32 x 32 frames; the default script.
    PutFile("anim/four.xml",
            "<sequence><img name=\"sheet.png\"/><framelist>"
            "<frame x=\"0\" w=\"32\" h=\"32\"/><frame x=\"32\" w=\"32\" h=\"32\"/>"
            "<frame x=\"64\" w=\"32\" h=\"32\"/><frame x=\"96\" w=\"32\" "
            "h=\"32\"/></framelist></sequence>");
    PutFile("anim/three.xml",
            "<sequence><img name=\"sheet.png\"/><framelist>"
            "<frame x=\"0\" w=\"32\" h=\"32\"/><frame x=\"32\" w=\"32\" h=\"32\"/>"
            "<frame x=\"64\" w=\"32\" h=\"32\"/></framelist></sequence>");
  }
  // A sprite showing `file` with its script defined (nothing playing yet).
  std::shared_ptr<TAnimatedSprite> Make(const char* file = "anim/three") {
    auto sprite = TAnimatedSprite::Create(0);
    sprite->StartAnimationScript();
    sprite->SetTexture(TAnimatedTexture::Get(file, "", ""));
    EXPECT_TRUE(sprite->GetAnimatedTexture()) << file;
    return sprite;
  }
  // A sprite whose DoAnim is `body`, started.
  std::shared_ptr<TAnimatedSprite> Play(const std::string& body, const char* file = "anim/four") {
    auto sprite = Make(file);
    Run(*sprite, "function DoAnim() " + body + " end");
    sprite->RunScriptFunction("DoAnim");
    return sprite;
  }
  static void Run(TAnimatedSprite& sprite, const std::string& text) {
    sprite.GetAnimationScript()->DoLuaString(text.c_str());
  }
  static double Global(TAnimatedSprite& sprite, const char* expression) {
    Run(sprite, std::string("gResult = ") + expression);
    return sprite.GetAnimationScript()->GetGlobalNumber("gResult");
  }
};

TEST_F(AnimatedSpriteTest, TheDefaultScriptShowsEachFrameForSixtyMilliseconds) {
  auto sprite = Make();
  EXPECT_EQ(sprite->GetFrameCount(), 3);
  EXPECT_FALSE(sprite->IsPlaying(0)) << "defined, not started";
  sprite->RunScriptFunction("DoAnim");
  EXPECT_EQ(sprite->GetCurrentFrame(), 0) << "the first frame shows at once";
  EXPECT_TRUE(sprite->IsPlaying(0));
  Step(59);
  EXPECT_EQ(sprite->GetCurrentFrame(), 0);
  Step(1);
  EXPECT_EQ(sprite->GetCurrentFrame(), 1);
  Step(60);
  EXPECT_EQ(sprite->GetCurrentFrame(), 2);
  EXPECT_TRUE(sprite->IsPlaying(0));
  Step(60);
  EXPECT_EQ(sprite->GetCurrentFrame(), 2) << "the last frame stays";
  EXPECT_FALSE(sprite->IsPlaying(0));
  EXPECT_TRUE(sprite->GetAnimationScript()->IsSuspended());
}

TEST_F(AnimatedSpriteTest, FadesStepBeforeEachFrameIsShown) {
  auto sprite = Play("fadeout(4) frames{1,1,1,1} fadein(2) frames{2,2,2}");
  std::vector<float> alphas;
  for (int i = 0; i < 7; ++i) {
    alphas.push_back(sprite->GetDrawSpec().alpha);
    Step(16);  // the library's own frame delay
  }
  EXPECT_EQ(alphas, (std::vector<float>{0.75f, 0.5f, 0.25f, 0.0f, 0.5f, 1.0f, 1.0f}));
  EXPECT_EQ(Global(*sprite, "alphadelta"), 0);
  EXPECT_FALSE(sprite->IsPlaying(0));
}

TEST_F(AnimatedSpriteTest, LoopsPausesAndNumberedFrames) {
  auto sprite = Play("delay(10) loop(2, {2, 3}) pause(100) showFrame()");
  std::vector<int> shown;
  for (int i = 0; i < 4; ++i) {
    shown.push_back(sprite->GetCurrentFrame());
    Step(10);
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 1, 2}));
  Step(99);
  EXPECT_TRUE(sprite->IsPlaying(0)) << "pausing a hundred milliseconds";
  Step(1);
  Step(10);
  EXPECT_FALSE(sprite->IsPlaying(0));
  EXPECT_EQ(Global(*sprite, "count"), 2) << "count and frame are globals";
  EXPECT_EQ(Global(*sprite, "frame"), 3);
}

TEST_F(AnimatedSpriteTest, HaltReachesTheTreeAndResumingOnlyTheDepthAsked) {
  auto parent = Play("delay(10) frames{1,2,3,4}");
  auto child = Play("delay(10) frames{1,2,3,4}");
  parent->AddChild(child);
  Run(*parent, "halt()");
  Step(50);
  EXPECT_EQ(parent->GetCurrentFrame(), 0);
  EXPECT_EQ(child->GetCurrentFrame(), 0);
  EXPECT_TRUE(parent->IsPlaying(0)) << "halted scripts still wait in their yield";
  parent->Pause(false, 0);
  EXPECT_EQ(parent->GetCurrentFrame(), 1) << "resumed at once";
  Step(10);
  EXPECT_EQ(parent->GetCurrentFrame(), 2);
  EXPECT_EQ(child->GetCurrentFrame(), 0);
  // isPlaying answers for the subtree once the parent is done.
  Step(10);
  Step(10);
  EXPECT_FALSE(parent->IsPlaying(0));
  EXPECT_TRUE(parent->IsPlaying(-1));
  EXPECT_EQ(Global(*parent, "isPlaying() and 1 or 0"), 1);
  EXPECT_EQ(Global(*parent, "isPlaying(0) and 1 or 0"), 0);
}

TEST_F(AnimatedSpriteTest, ResumingNeverTouchesAFinishedOrRunningScript) {
  auto done = Play("frames{1}");
  Step(16);
  ASSERT_FALSE(done->IsPlaying(0));
  done->Pause(false, -1);
  EXPECT_FALSE(Logged("resume"));
  // A script that resumes itself while it runs goes on undisturbed.
  auto self = Play("delay(10) Pause(false, 0) frames{2,3} gDone = 1");
  EXPECT_EQ(self->GetCurrentFrame(), 1);
  Step(10);
  EXPECT_EQ(self->GetCurrentFrame(), 2);
  Step(10);
  EXPECT_EQ(Global(*self, "gDone"), 1);
  EXPECT_FALSE(Logged("resume"));
}

TEST_F(AnimatedSpriteTest, AWaitWithoutATimeLastsUntilResumed) {
  auto sprite = Play("SetCurrentFrame(1) WaitLuaNextFrame() SetCurrentFrame(2)");
  Step(1000);
  EXPECT_EQ(sprite->GetCurrentFrame(), 1);
  EXPECT_TRUE(sprite->IsPlaying(0));
  sprite->Pause(false, 0);
  EXPECT_EQ(sprite->GetCurrentFrame(), 2);
  EXPECT_FALSE(sprite->IsPlaying(0));
  // Outside the coroutine (a call from native code) waits return at once.
  Run(*sprite, "frames{1,2,3}");
  EXPECT_EQ(sprite->GetCurrentFrame(), 2);
}

TEST_F(AnimatedSpriteTest, DieRetiresTheScriptAndLetsTheChildrenGo) {
  auto holder = TSprite::Create(0);
  auto sprite = Play("delay(10) frames{1,2} die() gAfter = 1 frames{3,4}");
  holder->AddChild(sprite);
  auto child = TSprite::Create(0);
  sprite->AddChild(child);
  Step(10);
  Step(10);
  EXPECT_FALSE(sprite->HasScript());
  EXPECT_EQ(sprite->GetCurrentFrame(), 2) << "the retired script ran on to its next wait";
  EXPECT_TRUE(sprite->GetChildren().empty());
  EXPECT_EQ(child->GetParent(), nullptr);
  EXPECT_EQ(sprite->GetParent(), holder.get()) << "the sprite itself stays";
  Step(100);
  EXPECT_EQ(sprite->GetCurrentFrame(), 2) << "never resumed";
  EXPECT_FALSE(sprite->IsPlaying(0));
  // A new script replaces it; the retired one is deleted then, not while running.
  sprite->StartAnimationScript();
  EXPECT_EQ(Global(*sprite, "alpha"), 1);
  EXPECT_EQ(platform->GetTaskList()->GetCount(), 1);
}

TEST_F(AnimatedSpriteTest, NestedAnimationsRunInsideTheCurrentOne) {
  PutFile("anim/other.xml",
          "<sequence><img name=\"sheet.png\"/><framelist><frame x=\"96\" w=\"32\" h=\"32\"/>"
          "<frame x=\"64\" w=\"32\" h=\"32\"/></framelist>"
          "<script luascript=\"function Spin() delay(5) frames{2,1} end\"/></sequence>");
  auto sprite = Play("delay(20) frames{1} run{'anim/other', anim = 'Spin'} frames{1}");
  Step(20);
  EXPECT_EQ(sprite->GetAnimatedTexture()->GetFrameCount(), 2) << "Load changed the animation";
  EXPECT_EQ(sprite->GetCurrentFrame(), 1);
  Step(5);
  EXPECT_EQ(sprite->GetCurrentFrame(), 0);
  Step(5);
  EXPECT_EQ(sprite->GetCurrentFrame(), 0);
  EXPECT_TRUE(sprite->IsPlaying(0)) << "the delay set by Spin applies to the last frames";
  Step(5);
  EXPECT_FALSE(sprite->IsPlaying(0));
  EXPECT_EQ(Global(*sprite, "Load('anim/none', '', '') and 1 or 0"), 0);
  Run(*sprite, "gScript = GetScript()");
  EXPECT_STREQ(sprite->GetAnimationScript()->GetGlobalString("gScript").c_str(), "");
}

TEST_F(AnimatedSpriteTest, RandomStaysBelowItsMaximum) {
  auto sprite = Make();
  for (int i = 0; i < 50; ++i) {
    const double r = Global(*sprite, "random(3, 5)");
    EXPECT_TRUE(r == 3 || r == 4) << r;
  }
  EXPECT_EQ(Global(*sprite, "Random(5, 5)"), 5);
  EXPECT_EQ(Global(*sprite, "Random(7, 2)"), 7);
  EXPECT_EQ(Global(*sprite, "Random(-2147483647, 2147483647) < 2147483647 and 1 or 0"), 1);
}

TEST_F(AnimatedSpriteTest, SpritesSharingATextureDrawTheirOwnFrames) {
  auto a = Make("anim/four");
  auto b = Make("anim/four");
  ASSERT_EQ(a->GetAnimatedTexture(), b->GetAnimatedTexture());
  a->SetCurrentFrame(1);
  b->SetCurrentFrame(3);
  a->GetDrawSpec().SetPosition(TVec2(100, 100));
  a->GetDrawSpec().flags = kSpecMirrorX;  // the tree's mirrors do not reach frames
  b->GetDrawSpec().SetPosition(TVec2(200, 100));
  const auto draws = Drawn([&] {
    a->Draw(TDrawSpec(), -1);
    b->Draw(TDrawSpec(), -1);
  });
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].u, 32.0f / 128);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 100 - 0.5f) << "unmirrored, by its registration point";
  EXPECT_FLOAT_EQ(draws[1].vertices[0].u, 96.0f / 128);
}

TEST_F(AnimatedSpriteTest, AFrameBeyondTheAnimationDrawsNothingAndLogsOnce) {
  auto a = Make("anim/four");
  auto b = Make("anim/four");
  b->SetCurrentFrame(2);
  a->SetCurrentFrame(9);
  EXPECT_EQ(a->GetCurrentFrame(), 9);
  a->SetCurrentFrame(-5);
  EXPECT_EQ(a->GetCurrentFrame(), 9) << "below -1 is ignored";
  const auto draws = Drawn([&] {
    b->Draw(TDrawSpec(), -1);
    a->Draw(TDrawSpec(), -1);
    a->Draw(TDrawSpec(), -1);
  });
  EXPECT_EQ(draws.size(), 1u) << "never the frame another sprite left on the texture";
  const std::string log = Log();
  const std::string line = "frame 9 of anim/four";
  ASSERT_NE(log.find(line), std::string::npos);
  EXPECT_EQ(log.find(line), log.rfind(line));
}

TEST_F(AnimatedSpriteTest, APlainTextureDrawsAsAPlainSprite) {
  auto sprite = TAnimatedSprite::Create(0);
  auto plain = TTexture::CreateBlank(10, 10, true);
  sprite->GetDrawSpec().flags = kSpecRegistration;
  sprite->SetTexture(plain);
  EXPECT_FALSE(sprite->GetAnimatedTexture());
  EXPECT_FALSE(sprite->HasScript()) << "no script for a plain texture";
  const auto draws = Drawn([&] { sprite->Draw(TDrawSpec(TVec2(50, 50)), -1); });
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 45 - 0.5f) << "centred again";
}

}  // namespace
