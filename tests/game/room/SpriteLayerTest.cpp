// The game's sprite layer: anchors and the drawing record, bounds, object-type codes and the
// check-mark overlay, state animations with their generated scripts and shared jitter.
#include <gtest/gtest.h>

#include <functional>

#include "game/room/TFestraObject.h"
#include "game/room/TFestraStateAnim.h"
#include "tests/game/room/RoomFixture.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/render/TTexture.h"

namespace {

class SpriteLayerTest : public RoomTest {
 protected:
  void SetUp() override {
    RoomTest::SetUp();
    TFestraStateAnim::ResetJitter();
    PutSheet("images/box40x20.png", 40, 20);
    PutAnimation("images/walk", 4, 30, 40, 15, 38);
    PutAnimation("images/checkmark", 4, 30, 30, 15, 15,
                 "function DoAnim() delay(50); frames{1,2,3,4}; end");
  }
  std::shared_ptr<TFestraSprite> Box() {
    auto sprite = TFestraSprite::Create(0);
    sprite->SetTexture(TTexture::Get("assets/images/box40x20.png", 0));
    EXPECT_EQ(sprite->GetWidth(), 40);
    return sprite;
  }
};

TEST_F(SpriteLayerTest, AnchorsPlaceTheTopLeftCornerAndTheRecord) {
  struct Case {
    int anchor;
    float x, y;
  };
  // A 40 x 20 sprite given (100, 100): right and bottom take the last pixel (w - 1, h - 1),
  // the centres half the size; other anchors keep the previous corner (7, 3).
  const Case cases[] = {{0, 100, 100}, {1, 61, 100}, {2, 100, 81}, {3, 61, 81},
                        {4, 100, 90},  {5, 61, 90},  {6, 80, 100}, {7, 80, 81},
                        {8, 80, 90},   {9, 7, 3},    {-7, 7, 3}};
  for (const Case& c : cases) {
    auto sprite = Box();
    sprite->SetPosition(7, 3, 0);
    sprite->GetDrawSpec().flags = 0;
    sprite->SetPosition(100, 100, c.anchor);
    const TDrawSpec& spec = sprite->GetDrawSpec();
    EXPECT_FLOAT_EQ(spec.GetPosition().x, c.x) << "anchor " << c.anchor;
    EXPECT_FLOAT_EQ(spec.GetPosition().y, c.y) << "anchor " << c.anchor;
    EXPECT_TRUE(spec.flags & kSpecRegistration) << "anchor " << c.anchor;
    EXPECT_FLOAT_EQ(spec.origin.x, 0);
    EXPECT_EQ(sprite->GetPosition().x, static_cast<int>(c.x));
  }
}

TEST_F(SpriteLayerTest, CentreHalvesAreNotRoundedAndPositionsTruncate) {
  auto sprite = TFestraSprite::Create(0);
  PutSheet("images/odd.png", 41, 21);
  sprite->SetTexture(TTexture::Get("assets/images/odd.png", 0));
  sprite->SetPosition(100, 100, kAnchorCentre);
  EXPECT_FLOAT_EQ(sprite->GetTopLeft().x, 79.5f);
  EXPECT_FLOAT_EQ(sprite->GetTopLeft().y, 89.5f);
  EXPECT_EQ(sprite->GetPosition().x, 79);
  sprite->SetPosition(-10.5f, 0, kAnchorTopLeft);
  EXPECT_EQ(sprite->GetPosition().x, -10) << "toward zero";
}

TEST_F(SpriteLayerTest, TheStoredAnchorIsKeptApartFromSetPosition) {
  auto sprite = Box();
  sprite->SetPosition(100, 100, kAnchorRightMiddle);
  sprite->SetPosition(100, 100, kStoredAnchor);
  EXPECT_EQ(sprite->GetPosition().x, 100) << "SetPosition does not store the anchor";
  sprite->SetAnchor(kAnchorBottomRight);
  sprite->SetPosition(100, 100, kStoredAnchor);
  EXPECT_EQ(sprite->GetPosition().x, 61);
  EXPECT_EQ(sprite->GetPosition().y, 81);
}

TEST_F(SpriteLayerTest, BoundsAreLocalOrMovedByTheTruncatedParentPosition) {
  auto parent = TFestraSprite::Create(0);
  parent->SetPosition(10.7f, 20.2f, kAnchorTopLeft);
  auto child = Box();
  parent->AddChild(child);
  child->SetPosition(5, 6, kAnchorTopLeft);
  const TRect local = child->GetLocalBounds(-1);
  EXPECT_EQ((std::vector<int>{local.left, local.top, local.right, local.bottom}),
            (std::vector<int>{5, 6, 45, 26}));
  const TRect bounds = child->GetBounds(-1);
  EXPECT_EQ((std::vector<int>{bounds.left, bounds.top, bounds.right, bounds.bottom}),
            (std::vector<int>{15, 26, 55, 46}));
  EXPECT_TRUE(child->ContainsPoint({5, 6}));
  EXPECT_TRUE(child->ContainsPoint({45, 26})) << "edges included";
  EXPECT_FALSE(child->ContainsPoint({46, 26}));
  EXPECT_FALSE(TFestraSprite::Create(0)->ContainsPoint({0, 0})) << "no picture, no area";
}

TEST_F(SpriteLayerTest, AnimatedSpritesAreSizedAndAnchoredByTheirOwnFrame) {
  auto sprite = TFestraAnimSprite::Create(0);
  EXPECT_EQ(sprite->GetWidth(), 0);
  sprite->StartAnimationScript();
  sprite->SetTexture(TAnimatedTexture::Get("assets/images/walk", "", ""));
  EXPECT_EQ(sprite->GetWidth(), 30);
  EXPECT_EQ(sprite->GetHeight(), 40);
  sprite->SetPosition(100, 100, kAnchorBottomCentre);
  EXPECT_EQ(sprite->GetPosition().x, 85);
  EXPECT_EQ(sprite->GetPosition().y, 61);
}

TEST_F(SpriteLayerTest, ClassesKnowTheirBasesAndObjectsTheirCodes) {
  auto object = TFestraObject::Create(3);
  EXPECT_TRUE(object->IsKindOf(TFestraSprite::GetClassId()));
  EXPECT_TRUE(object->IsKindOf(TSprite::GetClassId()));
  EXPECT_FALSE(object->IsKindOf(TFestraAnimSprite::GetClassId()));
  auto anim = TFestraStateAnim::Create(0);
  EXPECT_TRUE(anim->IsKindOf(TFestraAnimSprite::GetClassId()));
  EXPECT_TRUE(anim->IsKindOf(TAnimatedSprite::GetClassId()));
  EXPECT_FALSE(anim->IsKindOf(TFestraSprite::GetClassId()));
  EXPECT_FALSE(object->OnClick({0, 0}));

  EXPECT_EQ(object->GetObjectType(), kObjectNone);
  const int codes[] = {kObjectGuestTable, kObjectMusicTable, kObjectHeadTable, kObjectChefStation,
                       kObjectHeroine,    kObjectDishBin,    kObjectWineTable};
  EXPECT_EQ((std::vector<int>(std::begin(codes), std::end(codes))),
            (std::vector<int>{1301, 1302, 1303, 1304, 1306, 1307, 1308}));
  object->SetMarkCount(1);
  object->SetObjectType(kObjectDishBin);
  EXPECT_EQ(object->GetObjectType(), 1307);
  EXPECT_FALSE(object->GetCheckMark()->IsVisible()) << "a new code hides the check mark";
}

TEST_F(SpriteLayerTest, TheCheckMarkShowsWhileClicksArePendingAndPlaysItsOwnScriptOnce) {
  auto object = TFestraObject::Create(3);
  const auto& mark = object->GetCheckMark();
  ASSERT_EQ(mark->GetParent(), object.get());
  EXPECT_EQ(mark->GetLayer(), 4);
  object->SetMarkCount(2);
  EXPECT_EQ(object->GetMarkCount(), 2);
  EXPECT_TRUE(mark->IsVisible());
  EXPECT_TRUE(mark->IsPlaying(0));
  Step(49);
  EXPECT_EQ(mark->GetCurrentFrame(), 0);
  Step(1);
  EXPECT_EQ(mark->GetCurrentFrame(), 1) << "the animation's own delay of 50 ms";
  for (int i = 0; i < 15; ++i) Step(10);
  EXPECT_EQ(mark->GetCurrentFrame(), 3);
  EXPECT_FALSE(mark->IsPlaying(0)) << "played once";
  object->SetMarkCount(1);
  EXPECT_TRUE(mark->IsPlaying(0));
  object->SetMarkCount(0);
  EXPECT_FALSE(mark->IsVisible());
  EXPECT_FALSE(mark->IsPlaying(0)) << "a fresh, idle script stops it";
}

TEST_F(SpriteLayerTest, GeneratedScriptsListTheFramesOnceForeverOrSeveralTimes) {
  EXPECT_EQ(std::string(TFestraStateAnim::MakeDoAnim(3, false, 2, 61).c_str()),
            "function DoAnim()\n    delay(61);\n    frames{1,2,3,1,2,3};\nend\n");
  EXPECT_EQ(std::string(TFestraStateAnim::MakeDoAnim(2, true, 1, 48).c_str()),
            "function DoAnim()\n    delay(48);\n repeat       frames{1,2};\n until false; end\n");
  EXPECT_EQ(std::string(TFestraStateAnim::MakeDoAnim(0, true, 1, 50).c_str()),
            "function DoAnim()\n    delay(50);\nend\n");
}

TEST_F(SpriteLayerTest, TheJitterIsSharedAndWrapsFromTenToMinusTen) {
  std::vector<int> parts;
  for (int i = 0; i < 7; ++i) parts.push_back(TFestraStateAnim::TakeJitter());
  EXPECT_EQ(parts, (std::vector<int>{-10, -5, 0, 5, 10, -10, -5}));
}

// The frame delay a started state uses, read from when its second frame shows.
int MeasuredDelay(TFestraStateAnim& anim, const std::function<void(uint32_t)>& step) {
  for (int ms = 1; ms < 200; ++ms) {
    step(1);
    if (anim.GetCurrentFrame() == 1) return ms;
  }
  return -1;
}

TEST_F(SpriteLayerTest, TwoStateAnimationsStartedInTurnRunOutOfStep) {
  TvSrand(7);
  const int chance1 = TvRand() & 3, chance2 = TvRand() & 3;
  TvSrand(7);
  auto first = TFestraStateAnim::Create(0);
  auto second = TFestraStateAnim::Create(0);
  first->AddState("assets/images/walk");
  second->AddState("assets/images/walk");
  first->LoopState(0);
  const auto step = [this](uint32_t ms) { Step(ms); };
  EXPECT_EQ(MeasuredDelay(*first, step), 60 + chance1 - 10 - 2);
  second->LoopState(0);
  EXPECT_EQ(MeasuredDelay(*second, step), 60 + chance2 - 5 - 2);
}

TEST_F(SpriteLayerTest, PlayedStatesEndAfterTheirFramesAndLoopedOnesNever) {
  auto anim = TFestraStateAnim::Create(0);
  anim->AddState("assets/images/walk");
  anim->AddState("assets/images/walk");
  anim->SetFrameDelay(62);  // with the jitter's -10 and -2: 50 ms plus 0 to 3
  anim->PlayState(1, 3);
  EXPECT_EQ(anim->GetState(), 1);
  int shown = 1;
  int last = anim->GetCurrentFrame();
  for (int ms = 0; ms < 2000 && !anim->IsAnimationDone(); ++ms) {
    Step(1);
    if (anim->GetCurrentFrame() != last || anim->IsAnimationDone()) {
      last = anim->GetCurrentFrame();
      if (!anim->IsAnimationDone()) ++shown;
    }
  }
  EXPECT_TRUE(anim->IsAnimationDone());
  EXPECT_EQ(shown, 12) << "four frames three times";
  anim->LoopState(0);
  Step(5000);
  EXPECT_FALSE(anim->IsAnimationDone());
}

TEST_F(SpriteLayerTest, StatesOutsideTheListAndEmptyPlaysAreIgnored) {
  auto anim = TFestraStateAnim::Create(0);
  anim->AddState("assets/images/walk");
  anim->LoopState(0);
  for (auto start : {std::function<void()>([&] { anim->LoopState(1); }),
                     std::function<void()>([&] { anim->PlayState(-1, 1); }),
                     std::function<void()>([&] { anim->PlayState(0, 0); })}) {
    start();
    EXPECT_EQ(anim->GetState(), 0);
    EXPECT_TRUE(anim->IsPlaying(0)) << "the state playing goes on";
  }
  EXPECT_TRUE(Logged("TFestraStateAnim::LoopState: state 1 of 1 states"));
  EXPECT_TRUE(Logged("TFestraStateAnim::PlayState: state 0 played 0 times"));
}

TEST_F(SpriteLayerTest, AMissingStateIsSetAndNothingPlays) {
  auto anim = TFestraStateAnim::Create(0);
  anim->AddState("assets/images/nothing_here");
  anim->AddState("assets/images/nothing_here");
  anim->PlayState(0, 1);
  EXPECT_TRUE(anim->IsAnimationDone());
  EXPECT_FALSE(anim->GetAnimatedTexture());
  const std::string log = Log();
  const std::string line = "GetRoomAnimation: assets/images/nothing_here is missing";
  EXPECT_NE(log.find(line), std::string::npos);
  EXPECT_EQ(log.find(line), log.rfind(line)) << "logged once";
}

TEST_F(SpriteLayerTest, StateAnimationsArePlacedByTheFrameRegistrationPoint) {
  auto anim = TFestraStateAnim::Create(0);
  anim->AddState("assets/images/walk");
  anim->SetPosition(100.9f, 200, kAnchorCentre);
  EXPECT_FLOAT_EQ(anim->GetDrawSpec().GetPosition().x, 100.9f) << "the anchor is ignored";
  anim->LoopState(0);
  const TRect r = anim->GetLocalBounds(-1);
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{85, 162, 115, 202}));
}

}  // namespace
