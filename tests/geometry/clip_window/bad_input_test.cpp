// Input the window clipper cannot cut into a sound portion: infinite and NaN
// window coordinates and triangles of no area. Nothing may be written past
// its fixed lists (seven entries, eight new vertices a rectangle): a portion
// that crosses one rectangle edge a third time is given up and nothing is
// drawn for that rectangle.
#include <gtest/gtest.h>
#include <math.h>

#include <random>

#include "tests/geometry/clip_window/window_cases.h"
#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {
namespace {

const double kInf = INFINITY, kNaN = NAN;

// Most triangles a portion of one rectangle is drawn as, and most vertices it
// makes.
constexpr size_t kMostDrawn = 5;
constexpr int kMostMade = 8;

class BadInput : public WindowClipTest {};

// Each of these crosses a rectangle edge more than twice: a cut towards an
// infinite corner lands at NaN, which lies inside every bound, between
// corners outside one.
TEST_F(BadInput, APortionCrossingAnEdgeAThirdTimeIsGivenUp) {
  struct Case {
    const char *what;
    GlRect rect;
    Triangle t;
  };
  const Case kCases[] = {
      {"a corner at y = +inf",
       {8, 8, 40, 32},
       {"", {23.25, kInf}, {25.0625, 14.6875}, {41.25, 42.5}}},
      {"a corner at y = +inf, the others wider",
       {8, 8, 40, 32},
       {"", {0, 23.9968}, {64, 47.0195}, {8.9154, kInf}}},
      {"a corner at y = -inf",
       {8, 8, 40, 32},
       {"", {35.9818, 26.0925}, {3.3389, 13.5527}, {48, -kInf}}},
      {"corners at y = -inf and near +max",
       {8, 8, 40, 32},
       {"", {1.3359, 14.9297}, {44.6812, -kInf}, {35.4878, 3e38}}},
      {"a corner with x NaN",
       {8, 8, 40, 32},
       {"", {kNaN, 42.6958}, {2.9551, 39.7354}, {27.4585, 23.6504}}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    SetRects({c.rect});
    GlVertex v[3];
    MakeTriangle(c.t, v);
    TakeMade();
    const std::vector<Drawn> drawn = Draw(&v[0], &v[1], &v[2]);
    const int made = TakeMade();
    EXPECT_TRUE(drawn.empty());
    EXPECT_GT(made, 0) << "the cutting had begun";
    EXPECT_LE(made, kMostMade);
  }
}

// Random corners mixing NaN, infinities and huge values with ordinary ones,
// against every rectangle set: the clipper stays inside its lists (the
// sanitizer build watches the stack) and within its per-rectangle limits.
TEST_F(BadInput, NonFiniteCornersStayWithinTheLimits) {
  const double kOdd[] = {kNaN, kInf, -kInf, 1e30, -1e30, 3e38, -3e38, 0, 64, 48};
  std::mt19937 random(9);
  std::uniform_real_distribution<double> coordinate(-30, 90);
  std::uniform_int_distribution<int> pick(0, 9);
  for (const RectSet &set : RectSets()) {
    SCOPED_TRACE(set.what);
    SetRects(set.rects);
    for (int n = 0; n < 3000; ++n) {
      Pt p[3];
      for (Pt &q : p) {
        q = {coordinate(random), coordinate(random)};
        if (pick(random) < 3) q.x = kOdd[pick(random)];
        if (pick(random) < 3) q.y = kOdd[pick(random)];
      }
      GlVertex v[3];
      MakeTriangle({"", p[0], p[1], p[2]}, v);
      TakeMade();
      const std::vector<Drawn> drawn = Draw(&v[0], &v[1], &v[2]);
      ASSERT_LE(drawn.size(), kMostDrawn * set.rects.size());
      ASSERT_LE(TakeMade(), kMostMade * int(set.rects.size()));
    }
  }
}

// Triangles of no area: nothing of any size is drawn, and nothing outside
// the rectangles.
TEST_F(BadInput, TrianglesOfNoAreaDrawNoArea) {
  const Triangle kFlat[] = {
      {"one point", {20.5, 20.5}, {20.5, 20.5}, {20.5, 20.5}},
      {"one point on a bound", {32, 24}, {32, 24}, {32, 24}},
      {"collinear across the window", {-10.5, -5.25}, {30.5, 15.25}, {74.5, 37.25}},
      {"collinear, middle corner last", {-10.5, -5.25}, {74.5, 37.25}, {30.5, 15.25}},
      {"along a bound", {16, -4.5}, {16, 20.5}, {16, 52.5}},
      {"two corners the same", {3.5, 40.5}, {60.5, 2.5}, {60.5, 2.5}},
  };
  for (const RectSet &set : RectSets()) {
    SetRects(set.rects);
    for (const Triangle &t : kFlat) {
      SCOPED_TRACE(testing::Message() << set.what << " / " << t.what);
      GlVertex v[3];
      MakeTriangle(t, v);
      for (const Drawn &d : Draw(&v[0], &v[1], &v[2])) {
        EXPECT_NEAR(SignedArea({PosOf(d.v[0]), PosOf(d.v[1]), PosOf(d.v[2])}), 0, 1e-3);
        for (const GlVertex &u : d.v) {
          bool inside = false;
          for (const GlRect &r : set.rects)
            inside |= BoxSide(Left(r), Low(r), Right(r), High(r), PosOf(u), 1e-3) >= 0;
          EXPECT_TRUE(inside) << u.window.x - xBias << ", " << u.window.y - yBias;
        }
      }
    }
  }
}

}  // namespace
}  // namespace clip_window_test
