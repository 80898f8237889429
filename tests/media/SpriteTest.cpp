// Sprites: composing drawing records, children in layer order, the quads a sprite draws,
// depth limits, bounding rectangles and hit tests, class identity.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/media/SpriteFixture.h"
#include "tvlib/media/TAnimatedSprite.h"
#include "tvlib/media/TSprite.h"

namespace {

struct TCombineCase {
  const char* what;
  TDrawSpec parent, child;
  float alpha;
  uint32_t flags;
  int blend;
  TVec2 childOrigin;  // (0, 0) of the child lands here
};

TDrawSpec Spec(TVec2 at, float alpha = 1, float scale = 1, uint32_t flags = 0, int blend = -1) {
  TDrawSpec spec(at, alpha, scale, flags);
  spec.blend = blend;
  return spec;
}

TEST(DrawSpec, CombinesWithTheParentsRecord) {
  const TCombineCase cases[] = {
      {"identity", Spec({0, 0}), Spec({0, 0}), 1, 0, -1, {0, 0}},
      {"translations add", Spec({10, 20}), Spec({1, 2}), 1, 0, -1, {11, 22}},
      {"parent scale spreads the child", Spec({10, 20}, 1, 2), Spec({1, 2}), 1, 0, -1, {12, 24}},
      {"alphas multiply", Spec({0, 0}, 0.5f), Spec({0, 0}, 0.5f), 0.25f, 0, -1, {0, 0}},
      {"mirrors toggle", Spec({0, 0}, 1, 1, 1), Spec({0, 0}, 1, 1, 1), 1, 0, -1, {0, 0}},
      {"mirror inherited", Spec({0, 0}, 1, 1, 2), Spec({0, 0}, 1, 1, 4), 1, 6, -1, {0, 0}},
      {"source and registration stay the child's",
       Spec({0, 0}, 1, 1, 12),
       Spec({0, 0}),
       1,
       0,
       -1,
       {0, 0}},
      {"blend inherited", Spec({0, 0}, 1, 1, 0, 3), Spec({0, 0}), 1, 0, 3, {0, 0}},
      {"own blend kept", Spec({0, 0}, 1, 1, 0, 3), Spec({0, 0}, 1, 1, 0, 0), 1, 0, 0, {0, 0}},
  };
  for (const TCombineCase& c : cases) {
    TDrawSpec child = c.child;
    child.colour = TDrawColor{0.2f, 0.4f, 0.6f, 1};
    child.origin = TVec2(3, 4);
    TDrawSpec parent = c.parent;
    parent.colour = TDrawColor{0, 0, 0, 0};
    const TDrawSpec out = child.Combine(parent);
    EXPECT_FLOAT_EQ(out.alpha, c.alpha) << c.what;
    EXPECT_EQ(out.flags, c.flags) << c.what;
    EXPECT_EQ(out.blend, c.blend) << c.what;
    const TVec2 at = TVec2(0, 0) * out.transform;
    EXPECT_FLOAT_EQ(at.x, c.childOrigin.x) << c.what;
    EXPECT_FLOAT_EQ(at.y, c.childOrigin.y) << c.what;
    EXPECT_EQ(out.colour.g, 0.4f) << c.what << ": the parent's colour is not inherited";
    EXPECT_EQ(out.origin.x, 3) << c.what;
  }
  // The child's transform applies first: a rotated child under a scaled parent.
  TDrawSpec turned(TVec2(0, 0));
  turned.transform.Rotate(static_cast<float>(M_PI / 2));
  const TVec2 p = TVec2(1, 0) * turned.Combine(Spec({5, 0}, 1, 2)).transform;
  EXPECT_NEAR(p.x, 5, 1e-5);
  EXPECT_NEAR(p.y, 2, 1e-5);
}

class SpriteDraw : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    // 40 x 20 images on 64 x 32 surfaces.
    PutSheet("red.png", 40, 20, 0xFF0000FF);
    PutSheet("green.png", 40, 20, 0x00FF00FF);
    PutSheet("blue.png", 40, 20, 0x0000FFFF);
    red = TTexture::Get("red", 0);
    green = TTexture::Get("green", 0);
    blue = TTexture::Get("blue", 0);
    ASSERT_TRUE(red && green && blue);
  }
  std::shared_ptr<TSprite> Make(int layer, std::shared_ptr<TTexture> texture, TVec2 at = {}) {
    auto s = TSprite::Create(layer);
    s->SetTexture(std::move(texture));
    s->GetDrawSpec().SetPosition(at);
    return s;
  }
  std::vector<TTexture*> Order(TSprite& root, int depth = -1) {
    std::vector<TTexture*> out;
    for (const TRecordedDraw& d : Drawn([&] { root.Draw(TDrawSpec(), depth); }))
      out.push_back(d.texture);
    return out;
  }
  std::shared_ptr<TTexture> red, green, blue;
};

TEST_F(SpriteDraw, LayersOrderTheChildrenAroundTheParentsImage) {
  auto root = Make(0, red);
  auto front = Make(0, green);
  auto back = Make(-1, blue);
  root->AddChild(front);
  root->AddChild(back);
  EXPECT_EQ(Order(*root), (std::vector<TTexture*>{blue.get(), red.get(), green.get()}));
  EXPECT_EQ(back->GetParent(), root.get());

  // Equal layers keep the order they were added in, also after a later re-sort.
  auto second = Make(0, blue);
  root->AddChild(second);
  back->SetLayer(-2);
  EXPECT_EQ(Order(*root), (std::vector<TTexture*>{blue.get(), red.get(), green.get(), blue.get()}));
  EXPECT_EQ(root->GetChildren()[1], front);
  EXPECT_EQ(root->GetChildren()[2], second);

  // Moving a child in front re-sorts at once.
  back->SetLayer(5);
  EXPECT_EQ(root->GetChildren().back(), back);
  EXPECT_EQ(Order(*root).front(), red.get());

  // Invisible sprites draw nothing, children included.
  root->SetVisible(false);
  EXPECT_TRUE(Order(*root).empty());
}

TEST_F(SpriteDraw, DepthLimitsTheGenerationsDrawn) {
  auto root = Make(0, red);
  auto child = Make(0, green);
  auto grandchild = Make(0, blue);
  root->AddChild(child);
  child->AddChild(grandchild);
  EXPECT_EQ(Order(*root, 0).size(), 1u);
  EXPECT_EQ(Order(*root, 1).size(), 2u);
  EXPECT_EQ(Order(*root, -1).size(), 3u);
}

TEST_F(SpriteDraw, ChildrenMoveBetweenParentsAndNeverFormALoop) {
  auto a = Make(0, red);
  auto b = Make(0, green);
  auto c = Make(0, blue);
  a->AddChild(c);
  b->AddChild(c);
  EXPECT_TRUE(a->GetChildren().empty());
  EXPECT_EQ(c->GetParent(), b.get());
  EXPECT_FALSE(a->RemoveChild(c.get()));
  c->AddChild(b);  // b holds c: refused
  c->AddChild(c);
  EXPECT_TRUE(c->GetChildren().empty());
  EXPECT_TRUE(b->RemoveChild(c.get()));
  EXPECT_EQ(c->GetParent(), nullptr);
  b->AddChild(c);
  b.reset();  // a dying parent unlinks its children
  EXPECT_EQ(c->GetParent(), nullptr);
}

TEST_F(SpriteDraw, TheQuadIsCentredMirroredAndTintedByTheRecord) {
  int sw = 0, sh = 0;
  red->GetSurfaceSize(&sw, &sh);
  ASSERT_EQ(sw, 64) << "the surface is allocated larger than the image";
  ASSERT_EQ(sh, 32);

  struct TQuadCase {
    const char* what;
    uint32_t flags;
    float alpha;
    float x[4], y[4];
  } cases[] = {
      {"centred", 0, 1, {80, 120, 120, 80}, {40, 40, 60, 60}},
      {"mirrored across", kSpecMirrorX, 0.5f, {120, 80, 80, 120}, {40, 40, 60, 60}},
      {"mirrored up", kSpecMirrorY, 2.0f, {80, 120, 120, 80}, {60, 60, 40, 40}},
      {"both", kSpecMirrorX | kSpecMirrorY, -1.0f, {120, 80, 80, 120}, {60, 60, 40, 40}},
  };
  for (const TQuadCase& c : cases) {
    TDrawSpec spec(TVec2(100, 50), c.alpha, 1, c.flags);
    spec.colour = TDrawColor{1.0f, 0.5f, 0.0f, 1.0f};
    TSpriteVertex v[4];
    BuildSpriteQuad(*red, spec, TVec2(10, 0), v);
    const uint32_t alphaByte = c.alpha >= 1 ? 255 : c.alpha <= 0 ? 0 : 127;
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(v[i].x, c.x[i] + 10 - 0.5f) << c.what << " " << i;
      EXPECT_FLOAT_EQ(v[i].y, c.y[i] - 0.5f) << c.what << " " << i;
      EXPECT_EQ(v[i].diffuse, alphaByte << 24 | 0xFF8000u) << c.what;
      EXPECT_EQ(v[i].specular, 0xFF000000u);
      EXPECT_FLOAT_EQ(v[i].z, 0.1f);
      EXPECT_FLOAT_EQ(v[i].rhw, 0.5f);
    }
    // Texture co-ordinates run over the surface, not the image, and do not mirror.
    EXPECT_FLOAT_EQ(v[0].u, 0);
    EXPECT_FLOAT_EQ(v[2].u, 40.0f / 64);
    EXPECT_FLOAT_EQ(v[2].v, 20.0f / 32);
  }

  // A source rectangle placed by its registration point.
  TDrawSpec part(TVec2(100, 50), 1, 2, kSpecSourceRect | kSpecRegistration);
  part.sourceRect = TRect{8, 4, 24, 12};
  part.origin = TVec2(2, 1);
  TSpriteVertex v[4];
  BuildSpriteQuad(*red, part, TVec2(0, 0), v);
  EXPECT_FLOAT_EQ(v[0].x, 100 - 4 - 0.5f);
  EXPECT_FLOAT_EQ(v[0].y, 50 - 2 - 0.5f);
  EXPECT_FLOAT_EQ(v[2].x, 100 + 28 - 0.5f);
  EXPECT_FLOAT_EQ(v[2].y, 50 + 14 - 0.5f);
  EXPECT_FLOAT_EQ(v[0].u, 8.0f / 64);
  EXPECT_FLOAT_EQ(v[2].v, 12.0f / 32);
}

TEST_F(SpriteDraw, ScaleGrowsAboutThePositionAndBlendReachesTheDisplay) {
  auto root = Make(0, red, TVec2(100, 100));
  auto child = Make(0, green, TVec2(10, 0));
  root->AddChild(child);
  root->SetScale(2);
  root->GetDrawSpec().blend = 3;
  recorder->mBlendCalls.clear();
  const auto draws = Drawn([&] { root->Draw(TDrawSpec(), -1); });
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 100 - 40 - 0.5f);
  EXPECT_FLOAT_EQ(draws[0].vertices[2].y, 100 + 20 - 0.5f);
  EXPECT_FLOAT_EQ(draws[1].vertices[0].x, 120 - 40 - 0.5f) << "the child's offset doubles";
  EXPECT_EQ(draws[0].primitive, 6);
  EXPECT_EQ(draws[1].blend, 3) << "a child without blend draws with its parent's";
  EXPECT_EQ(recorder->mBlendCalls, (std::vector<int>{3, 0, 3, 0}));
}

TEST_F(SpriteDraw, BoundingRectanglesAndHitTests) {
  auto root = Make(0, red, TVec2(100, 100));
  TRect r = root->GetBoundingRect(TDrawSpec(), -1);
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{80, 90, 120, 110}));
  root->SetScale(3);  // left out of the bounds
  r = root->GetBoundingRect(TDrawSpec(), -1);
  EXPECT_EQ(r.right, 120);

  auto holder = TSprite::Create(0);
  EXPECT_EQ(holder->GetBoundingRect(TDrawSpec(), -1).left, TSprite::kNoBounds);
  auto far = Make(0, green, TVec2(300, 0));
  holder->AddChild(root);
  holder->AddChild(far);
  r = holder->GetBoundingRect(TDrawSpec(TVec2(1, 1)), 0);
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{81, -9, 321, 111}))
      << "the union of the children, whatever the depth";
  EXPECT_FALSE(holder->HitTest(TVec2(100, 100), TDrawSpec(), -1)) << "no texture, no hit";
  EXPECT_TRUE(root->HitTest(TVec2(80, 110), TDrawSpec(), -1)) << "edges count";
  EXPECT_FALSE(root->HitTest(TVec2(79, 100), TDrawSpec(), -1));
}

TEST(SpriteClass, IdentityFollowsTheClassTree) {
  auto plain = TSprite::Create(2);
  auto animated = TAnimatedSprite::Create(1);
  EXPECT_EQ(plain->GetLayer(), 2);
  EXPECT_TRUE(plain->IsKindOf(TSprite::GetClassId()));
  EXPECT_FALSE(plain->IsKindOf(TAnimatedSprite::GetClassId()));
  EXPECT_TRUE(animated->IsKindOf(TSprite::GetClassId()));
  EXPECT_TRUE(animated->IsKindOf(TAnimatedSprite::GetClassId()));
  EXPECT_EQ(CastToAnimatedSprite(plain), nullptr);
  EXPECT_EQ(CastToAnimatedSprite(animated), animated);
}

}  // namespace
