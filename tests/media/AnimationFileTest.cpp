// Animation files: the XML document and the ".anm" sections read into the animation record,
// lying and short ".anm" files, the default script, and animated textures found by name, cached
// by their three names and drawn by the current frame's registration point.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "tests/media/AnmWriter.h"
#include "tests/media/SpriteFixture.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/media/TAnimation.h"

namespace {

bool ReadXml(const char* text, TAnimation* out) {
  TXmlNode document;
  document.LoadBuffer(text);
  return ReadAnimationXml(document, out);
}

bool ReadAnm(const std::string& bytes, TAnimation* out) {
  return ReadAnimationAnm(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

TEST(AnimationXml, ReadsTheSequenceImageFramesAnchorsAndScript) {
  TAnimation a;
  ASSERT_TRUE(ReadXml(R"(<?xml version="1.0"?>
<sequence name="idle" source="idle.psd">
  <img name="idle.png" mask="idle_a.png" regx="3" regy="4" w="64" h="32" xform="1 0.5"/>
  <framelist>
    <frame name="a" x="0" y="0" w="20" h="30" regx="10" regy="30" xform="1 2 3 4 5 6">
      <anchor name="hat" x="7" y="-2"/><note/><anchor name="hand" x="1" y="2"/>
    </frame>
    <other/>
    <frame name="b" x="20" w="24" h="28"/>
  </framelist>
  <script luascript="function DoAnim() delay(5); frames{2,1}; end"/>
</sequence>)",
                      &a));
  EXPECT_STREQ(a.sequenceName.c_str(), "idle");
  EXPECT_STREQ(a.sequenceSource.c_str(), "idle.psd");
  EXPECT_STREQ(a.imageName.c_str(), "idle.png");
  EXPECT_STREQ(a.maskName.c_str(), "idle_a.png");
  EXPECT_EQ(a.regX, 3);
  EXPECT_EQ(a.height, 32);
  EXPECT_EQ(a.imageTransform[1], 0.5f);
  EXPECT_EQ(a.imageTransform[2], 0.0f) << "reading stops where the text does";
  EXPECT_TRUE(a.HasFrameTransforms());
  ASSERT_EQ(a.frames.size(), 2u);
  ASSERT_EQ(a.frames[0].anchors.size(), 2u);
  EXPECT_STREQ(a.frames[0].anchors[1].name.c_str(), "hand");
  EXPECT_EQ(a.frames[0].anchors[0].y, -2);
  // The second frame takes the first one's registration point and transform.
  EXPECT_EQ(a.frames[1].x, 20);
  EXPECT_EQ(a.frames[1].y, 0);
  EXPECT_EQ(a.frames[1].regX, 10);
  EXPECT_EQ(a.frames[1].regY, 30);
  EXPECT_EQ(a.frames[1].transform[5], 6.0f);
  EXPECT_EQ(a.maxWidth, 24);
  EXPECT_EQ(a.maxHeight, 30);
  EXPECT_STREQ(a.script.c_str(), "function DoAnim() delay(5); frames{2,1}; end");
}

TEST(AnimationXml, MissingPartsAndScriptText) {
  TAnimation a;
  EXPECT_FALSE(ReadXml("<other/>", &a));
  // No registration point anywhere: the first frame gets (0, 0); no xform: no transforms.
  ASSERT_TRUE(
      ReadXml("<sequence><img name=\"s.png\"/><framelist><frame w=\"4\"/>"
              "<frame w=\"4\"/><frame w=\"4\"/></framelist>"
              "<script>function DoAnim() end</script></sequence>",
              &a));
  EXPECT_EQ(a.frames[0].regX, 0);
  EXPECT_FALSE(a.HasFrameTransforms());
  EXPECT_STREQ(a.script.c_str(), "function DoAnim() end");
  // Without a framelist the read fails, but what is there is still read; no script: default.
  TAnimation b;
  EXPECT_FALSE(ReadXml("<sequence name=\"n\"><img name=\"s.png\"/></sequence>", &b));
  EXPECT_STREQ(b.imageName.c_str(), "s.png");
  EXPECT_STREQ(b.script.c_str(), "function DoAnim()\n    delay(60);\nend\n");
}

TEST(AnimationScript, DefaultShowsEveryFrameOnce) {
  EXPECT_STREQ(MakeDefaultAnimationScript(3).c_str(),
               "function DoAnim()\n    delay(60);\n    frames{1,2,3};\nend\n");
  EXPECT_STREQ(MakeDefaultAnimationScript(1).c_str(),
               "function DoAnim()\n    delay(60);\n    frames{1};\nend\n");
}

TEST(AnimationAnm, ReadsWhatTheWriterWrote) {
  const TAnimation sample = SampleAnimation();
  TAnimation a;
  ASSERT_TRUE(ReadAnm(TAnmWriter().Animation(sample, true).Bytes(), &a));
  EXPECT_STREQ(a.sequenceSource.c_str(), "walk.psd");
  EXPECT_STREQ(a.imageName.c_str(), "walk.png");
  EXPECT_EQ(a.maskName.Length(), 0);
  EXPECT_EQ(a.width, 96);
  EXPECT_FALSE(a.HasFrameTransforms());
  ASSERT_EQ(a.frames.size(), 3u);
  EXPECT_EQ(a.frames[2].x, 64);
  EXPECT_EQ(a.frames[2].regY, 32);
  EXPECT_STREQ(a.frames[1].name.c_str(), "f1");
  ASSERT_EQ(a.frames[1].anchors.size(), 1u);
  EXPECT_STREQ(a.frames[1].anchors[0].name.c_str(), "hand");
  EXPECT_EQ(a.frames[1].anchors[0].y, 6);
  EXPECT_EQ(a.maxWidth, 32);
  EXPECT_STREQ(a.script.c_str(), sample.script.c_str());

  // Ending right after the frames, or with another tag: the default script.
  TAnimation b;
  ASSERT_TRUE(ReadAnm(TAnmWriter().Animation(sample, false).Bytes(), &b));
  EXPECT_STREQ(b.script.c_str(), MakeDefaultAnimationScript(3).c_str());
  ASSERT_TRUE(ReadAnm(TAnmWriter().Animation(sample, false).Tag("JUNK").Bytes(), &b));
  EXPECT_STREQ(b.script.c_str(), MakeDefaultAnimationScript(3).c_str());
}

TEST(AnimationAnm, ShortOrLyingFilesFailCleanly) {
  const TAnimation sample = SampleAnimation();
  const std::string whole = TAnmWriter().Animation(sample, true).Bytes();
  // Every cut short of the SCRP tag's end fails (a cut inside the frames, the strings ...),
  // except a cut exactly after the frames or inside the tag that follows them.
  const size_t frameEnd = TAnmWriter().Animation(sample, false).Bytes().size();
  for (size_t n = 0; n < whole.size(); ++n) {
    TAnimation a;
    const bool read = ReadAnm(whole.substr(0, n), &a);
    EXPECT_EQ(read, n >= frameEnd && n < frameEnd + 4) << "cut at " << n;
  }

  const std::string head = TAnmWriter()
                               .Tag("ANIM")
                               .Int(0)
                               .Int(0)
                               .String("s")
                               .String("")
                               .Tag("IMGN")
                               .Int(0)
                               .Int(0)
                               .Int(8)
                               .Int(8)
                               .Float(kNoImageTransform)
                               .Float(0)
                               .Float(0)
                               .Float(0)
                               .String("s.png")
                               .String("")
                               .Bytes();
  const std::string frame = TAnmWriter()
                                .Int(0)
                                .Int(0)
                                .Int(0)
                                .Int(0)
                                .Int(8)
                                .Int(8)
                                .Float(1)
                                .Float(0)
                                .Float(0)
                                .Float(1)
                                .Float(0)
                                .Float(0)
                                .String("f")
                                .Bytes();
  struct TCase {
    const char* what;
    std::string bytes;
    bool ok;
  } cases[] = {
      {"one frame",
       head + TAnmWriter().Tag("FRMS").Int(1).Bytes() + frame + TAnmWriter().Int(0).Bytes(), true},
      {"negative frame count", head + TAnmWriter().Tag("FRMS").Int(-1).Bytes(), false},
      {"huge frame count",
       head + TAnmWriter().Tag("FRMS").Int(0x7FFFFFFF).Bytes() + frame +
           TAnmWriter().Int(0).Bytes(),
       false},
      {"two frames claimed, one given",
       head + TAnmWriter().Tag("FRMS").Int(2).Bytes() + frame + TAnmWriter().Int(0).Bytes(), false},
      {"huge anchor count",
       head + TAnmWriter().Tag("FRMS").Int(1).Bytes() + frame + TAnmWriter().Int(1000000).Bytes(),
       false},
      {"negative anchor count",
       head + TAnmWriter().Tag("FRMS").Int(1).Bytes() + frame + TAnmWriter().Int(-3).Bytes(),
       false},
      {"script longer than the file",
       head + TAnmWriter().Tag("FRMS").Int(0).Tag("SCRP").Int(100).Bytes() + "short", false},
      {"negative string length reads empty",
       head + TAnmWriter().Tag("FRMS").Int(0).Tag("SCRP").Int(-5).Bytes(), true},
      {"wrong fourth tag", head + TAnmWriter().Tag("FRMZ").Int(0).Bytes(), false},
      {"wrong first tag", "ANIX" + head.substr(4), false},
  };
  for (const TCase& c : cases) {
    TAnimation a;
    EXPECT_EQ(ReadAnm(c.bytes, &a), c.ok) << c.what;
  }
  TAnimation empty;
  ASSERT_TRUE(ReadAnm(cases[7].bytes, &empty));
  EXPECT_EQ(empty.script.Length(), 0);
  EXPECT_STREQ(empty.sequenceName.c_str(), "s");
  EXPECT_EQ(empty.sequenceSource.Length(), 0) << "a length of 0 takes only its four bytes";
  EXPECT_STREQ(empty.imageName.c_str(), "s.png");
}

class AnimatedTextureTest : public SpriteTest {};

TEST_F(AnimatedTextureTest, NamesResolveXmlFirstAndTheCacheKeysOnAllThree) {
  PutSheet("anim/walk.png", 96, 32);
  PutSheet("anim/other.png", 64, 64);
  PutFile("anim/walk.anm", TAnmWriter().Animation(SampleAnimation(), true).Bytes());
  EXPECT_EQ(TAnimatedTexture::MakeKey("a", "b", "c"), TString("a:b:c"));

  auto fromAnm = TAnimatedTexture::Get("anim/walk", "", "");
  ASSERT_TRUE(fromAnm);
  EXPECT_EQ(fromAnm->GetFrameCount(), 3);
  EXPECT_STREQ(fromAnm->GetFolder().c_str(), "anim/");
  EXPECT_EQ(TAnimatedTexture::Get("anim/walk", "", ""), fromAnm);
  auto otherSheet = TAnimatedTexture::Get("anim/walk", "other.png", "");
  ASSERT_TRUE(otherSheet);
  EXPECT_NE(otherSheet, fromAnm);
  EXPECT_STREQ(otherSheet->GetAnimation().imageName.c_str(), "other.png");
  EXPECT_TRUE(fromAnm->IsKindOf(TTexture::GetClassId()));
  EXPECT_TRUE(fromAnm->IsKindOf(TAsset::GetClassId()));
  fromAnm.reset();
  otherSheet.reset();

  PutFile("anim/walk.xml",
          "<sequence><img name=\"walk.png\"/><framelist><frame w=\"5\" h=\"6\"/></framelist>"
          "</sequence>");
  auto fromXml = TAnimatedTexture::Get("anim/walk", "", "");
  ASSERT_TRUE(fromXml);
  EXPECT_EQ(fromXml->GetFrameCount(), 1) << "the XML document wins";
  EXPECT_STREQ(fromXml->GetScript().c_str(), MakeDefaultAnimationScript(1).c_str());
  EXPECT_TRUE(TAnimatedTexture::Get("anim/walk.anm", "", "")) << "a full name is read as it is";

  EXPECT_FALSE(TAnimatedTexture::Get("anim/none", "", ""));
  EXPECT_FALSE(TAnimatedTexture::Get("anim/walk", "missing.png", "")) << "the sheet must load";
  PutFile("anim/bad.anm", "ANIM");
  EXPECT_FALSE(TAnimatedTexture::Get("anim/bad", "", ""));
}

TEST_F(AnimatedTextureTest, TheCurrentFrameIsDrawnByItsRegistrationPoint) {
  PutSheet("walk.png", 96, 32);
  PutFile("walk.anm", TAnmWriter().Animation(SampleAnimation(), true).Bytes());
  auto walk = TAnimatedTexture::Get("walk", "", "");
  ASSERT_TRUE(walk);
  EXPECT_EQ(walk->GetWidth(), 0) << "no current frame yet";
  walk->SetCurrentFrame(3);  // no such frame: ignored
  EXPECT_EQ(walk->GetCurrentFrame(), -1);
  walk->SetCurrentFrame(2);
  EXPECT_EQ(walk->GetWidth(), 32);
  const TRect frameRect = walk->GetFrameRect(2);
  EXPECT_EQ((std::vector<int>{frameRect.left, frameRect.top, frameRect.right, frameRect.bottom}),
            (std::vector<int>{-16, -32, 16, 0}));
  EXPECT_EQ(walk->GetFrameRect(3).right, 0);

  auto draws = Drawn([&] { walk->Draw(TDrawSpec(TVec2(100, 200))); });
  ASSERT_EQ(draws.size(), 1u);
  const auto& v = draws[0].vertices;
  EXPECT_FLOAT_EQ(v[0].x, 84 - 0.5f);
  EXPECT_FLOAT_EQ(v[0].y, 168 - 0.5f);
  EXPECT_FLOAT_EQ(v[2].x, 116 - 0.5f);
  EXPECT_FLOAT_EQ(v[2].y, 200 - 0.5f);
  EXPECT_FLOAT_EQ(v[0].u, 64.0f / 128);
  EXPECT_FLOAT_EQ(v[2].u, 96.0f / 128);
  EXPECT_EQ(draws[0].texture, walk.get());

  // Scaled about the position, which stays where it was given.
  draws = Drawn([&] {
    const TVec2 at(100, 200);
    walk->DrawTransformed(&at, 1, 2, 2, 0, nullptr, nullptr, 0, nullptr);
  });
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 68 - 0.5f);
  EXPECT_FLOAT_EQ(draws[0].vertices[2].y, 200 - 0.5f);

  walk->SetCurrentFrame(-1);
  EXPECT_TRUE(Drawn([&] { walk->Draw(TDrawSpec(TVec2(100, 200))); }).empty());
}

TEST_F(AnimatedTextureTest, FrameTransformsTurnTheFrame) {
  PutSheet("turn.png", 32, 32);
  PutFile("turn.xml",
          "<sequence><img name=\"turn.png\" xform=\"1 0 0 1\"/><framelist>"
          "<frame w=\"10\" h=\"4\" regx=\"0\" regy=\"0\" xform=\"0 1 -1 0 0 "
          "0\"/></framelist></sequence>");
  auto turn = TAnimatedTexture::Get("turn", "", "");
  ASSERT_TRUE(turn);
  turn->SetCurrentFrame(0);
  const auto draws = Drawn([&] { turn->Draw(TDrawSpec(TVec2(50, 50))); });
  ASSERT_EQ(draws.size(), 1u);
  // The frame's right edge now points down.
  EXPECT_FLOAT_EQ(draws[0].vertices[1].x, 50 - 0.5f);
  EXPECT_FLOAT_EQ(draws[0].vertices[1].y, 60 - 0.5f);
}

}  // namespace

// Frames that reach outside their sheet, or values near the int range, are cut to the sheet:
// no sum of a frame's values can overflow when it is drawn.
TEST(AnimationSheet, FramesAreCutToTheirSheet) {
  struct Case {
    TAnimFrame frame;
    TAnimFrame fitted;
  };
  auto Frame = [](int32_t x, int32_t y, int32_t w, int32_t h, int32_t rx, int32_t ry) {
    TAnimFrame f;
    f.x = x, f.y = y, f.width = w, f.height = h, f.regX = rx, f.regY = ry;
    return f;
  };
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const Case cases[] = {
      {Frame(10, 20, 30, 40, 5, -5), Frame(10, 20, 30, 40, 5, -5)},
      {Frame(90, 60, 30, 40, 0, 0), Frame(90, 60, 10, 4, 0, 0)},
      {Frame(-5, kMin, kMax, kMax, kMin, kMax),
       Frame(0, 0, 100, 64, -kMaxAnimOffset, kMaxAnimOffset)},
      {Frame(kMax, kMax, -3, 1, 0, 0), Frame(100, 64, 0, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    TAnimation animation;
    animation.frames = {c.frame};
    const bool unchanged = FitAnimationToSheet(&animation, 100, 64);
    const TAnimFrame& f = animation.frames[0];
    EXPECT_EQ(unchanged, &c == &cases[0]);
    EXPECT_EQ(std::vector<int32_t>({f.x, f.y, f.width, f.height, f.regX, f.regY}),
              std::vector<int32_t>({c.fitted.x, c.fitted.y, c.fitted.width, c.fitted.height,
                                    c.fitted.regX, c.fitted.regY}));
    EXPECT_EQ(animation.maxWidth, c.fitted.width);
  }
}
