// Vectors and the 2-D affine matrices: rotation, translation and scale order.
#include "tvlib/core/TMat3.h"
#include "tvlib/core/TMat4.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TVertexSet.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {
constexpr float kHalfPi = std::numbers::pi_v<float> / 2;
constexpr float kTolerance = 1e-6f;
}  // namespace

TEST(Geometry, VectorBasics) {
  TVec2 zero;
  zero.Normalize();
  EXPECT_EQ(zero.x, 0);
  EXPECT_EQ(zero.y, 0);
  TVec2 v(3, 4);
  EXPECT_EQ(v.Length(), 5);
  v.Normalize();
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_EQ(Dot(TVec2(1, 2), TVec2(3, 4)), 11);
  EXPECT_EQ((2.0f * TVec2(1, -1) - TVec2(1, 1)).y, -3);
  EXPECT_EQ(Dot(TVec3(1, 2, 3), TVec3(TVec2(1, 1), 1)), 6);
  EXPECT_EQ((TVec3(2, 4, 6) / 2).z, 3);
  TMat4 identity;
  EXPECT_EQ(identity.rows[2].z, 1);
  EXPECT_EQ(identity.rows[2].w, 0);
}

TEST(Geometry, RotationTurnsXTowardsY) {
  TVec2 p = TVec2(1, 0) * TMat3::Rotation(kHalfPi);
  EXPECT_NEAR(p.x, 0, kTolerance);
  EXPECT_NEAR(p.y, 1, kTolerance);
}

TEST(Geometry, TranslationSitsInTheThirdRow) {
  TMat3 move(1, 0, 0, 0, 1, 0, 10, 20, 1);
  TVec2 p = TVec2(1, 2) * move;
  EXPECT_EQ(p.x, 11);
  EXPECT_EQ(p.y, 22);
  // a * b applies a first: scale by 2 then move gives (12, 24).
  TMat3 scale(2, 0, 0, 0, 2, 0, 0, 0, 1);
  TVec2 q = TVec2(1, 2) * (scale * move);
  EXPECT_EQ(q.x, 12);
  EXPECT_EQ(q.y, 24);
}

TEST(Geometry, ScaleAppliesAfterRotateBefore) {
  // Identity.Scale(2, 3) then Rotate(a): the point is rotated first, then scaled.
  TMat3 m;
  m.Scale(2, 3);
  m.Rotate(kHalfPi);
  TVec2 p = TVec2(1, 0) * m;
  EXPECT_NEAR(p.x, 0, kTolerance);
  EXPECT_NEAR(p.y, 3, kTolerance);

  TMat3 self(1, 2, 0, 3, 4, 0, 5, 6, 1);
  TMat3 expected = self * self;
  self *= self;  // the operand may be the matrix itself
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(self.m[i][j], expected.m[i][j]);
}

TEST(Geometry, RectEdgesAreInclusive) {
  TRect r{0, 0, 10, 10};
  for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {0, 10}, {10, 10}, {5, 5}})
    EXPECT_TRUE(r.Contains(x, y));
  for (auto [x, y] : {std::pair{-1, 0}, {11, 5}, {5, 11}}) EXPECT_FALSE(r.Contains(x, y));

  TRect i;
  i.SetIntersection(r, TRect{20, 20, 30, 30});
  EXPECT_EQ(i.left, 20);
  EXPECT_EQ(i.top, 20);
  EXPECT_EQ(i.right, 10);
  EXPECT_EQ(i.bottom, 10);
  TRect u;
  u.SetUnion(r, TRect{-5, 3, 4, 30});
  EXPECT_EQ(u.left, -5);
  EXPECT_EQ(u.bottom, 30);
}

TEST(Geometry, VertexSetFormats) {
  char vertices[4 * kVertexSize];
  TVertexSet scaled(vertices, 4);
  EXPECT_EQ(scaled.GetFormat(), kVertexScreenScaled);
  TVertexSet plain = TVertexSet::TVertexSet3(vertices, 4);
  EXPECT_EQ(plain.GetFormat(), kVertexScreen);
  plain.SetCount(2);
  EXPECT_EQ(plain.GetCount(), 2);
  EXPECT_EQ(plain.GetVertices(), vertices);
}
