// What the window clipper hands on unchanged: with one visible rectangle
// equal to the clip box and the viewport inside it, the triangle itself; and
// for every rectangle that holds the whole triangle, the original vertices
// rather than copies. Before cutting, each vertex is brought up to the face
// needs.
#include <gtest/gtest.h>

#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {
namespace {

class Forward : public WindowClipTest {};

const Triangle kCovering = {"covers the window", {-40, -30}, {110, -20}, {20, 100}};

TEST_F(Forward, OneRectangleThatIsTheClipBoxTakesTheShortcut) {
  const int32_t dx = gc->constants.viewportXAdjust, dy = gc->constants.viewportYAdjust;
  struct Case {
    const char *what;
    std::vector<GlRect> rects;
    uint32_t viewportInside;
    int32_t box[4];  // drawable coordinates; the bias is added
    bool shortcut;
  };
  const Case kCases[] = {
      {"the window", {{0, 0, 64, 48}}, 1, {0, 0, 64, 48}, true},
      {"a smaller box", {{10, 6, 50, 40}}, 1, {10, 6, 50, 40}, true},
      {"viewport not inside", {{0, 0, 64, 48}}, 0, {0, 0, 64, 48}, false},
      {"box differs at x0", {{0, 0, 64, 48}}, 1, {1, 0, 64, 48}, false},
      {"box differs at y0", {{0, 0, 64, 48}}, 1, {0, 1, 64, 48}, false},
      {"box differs at x1", {{0, 0, 64, 48}}, 1, {0, 0, 63, 48}, false},
      {"box differs at y1", {{0, 0, 64, 48}}, 1, {0, 0, 64, 47}, false},
      {"a second rectangle", {{0, 0, 64, 48}, {0, 48, 64, 60}}, 1, {0, 0, 64, 48}, false},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    SetRects(c.rects);
    gc->transform.viewportInside = c.viewportInside;
    gc->transform.clipBox[0] = c.box[0] + dx;
    gc->transform.clipBox[1] = c.box[1] + dy;
    gc->transform.clipBox[2] = c.box[2] + dx;
    gc->transform.clipBox[3] = c.box[3] + dy;
    GlVertex v[3];
    MakeTriangle(kCovering, v);
    v[1].has &= ~__GL_HAS_BACK_COLOR;  // would need validation
    const std::vector<Drawn> drawn = Draw(&v[0], &v[1], &v[2]);
    const std::vector<Validated> validated = TakeValidated();
    if (c.shortcut) {
      ASSERT_EQ(drawn.size(), 1u);
      EXPECT_EQ(drawn[0].ptr[0], &v[0]);
      EXPECT_EQ(drawn[0].ptr[1], &v[1]);
      EXPECT_EQ(drawn[0].ptr[2], &v[2]);
      EXPECT_TRUE(validated.empty()) << "nothing is cut, nothing validated";
    } else {
      ASSERT_FALSE(drawn.empty());
      const GlRect &r = c.rects[0];
      for (const Drawn &d : drawn) {
        for (int i = 0; i < 3; ++i) {
          EXPECT_TRUE(d.ptr[i] != &v[0] && d.ptr[i] != &v[1] && d.ptr[i] != &v[2]);
          if (c.rects.size() != 1) continue;
          EXPECT_EQ(BoxSide(Left(r), Low(r), Right(r), High(r), PosOf(d.v[i]), 1e-3) >= 0, true)
              << "a vertex outside the rectangle at " << d.v[i].window.x << ", " << d.v[i].window.y;
        }
      }
      EXPECT_EQ(validated.size(), 1u);
    }
  }
}

TEST_F(Forward, ARectangleHoldingTheWholeTriangleGetsTheOriginals) {
  struct Case {
    const char *what;
    std::vector<GlRect> rects;
    Triangle t;
    size_t drawnCount;  // calls of the render procedure
  };
  const Case kCases[] = {
      {"inside the first of two",
       {{0, 0, 32, 48}, {32, 0, 64, 48}},
       {"", {3.5, 2.5}, {30.5, 4.5}, {10.5, 40.5}},
       1},
      {"inside the second of two",
       {{0, 0, 32, 48}, {32, 0, 64, 48}},
       {"", {33.5, 2.5}, {60.5, 4.5}, {40.5, 40.5}},
       1},
      {"corners on the bounds",
       {{0, 0, 32, 48}, {40, 0, 64, 48}},
       {"", {0, 0}, {32, 48}, {0, 48}},
       1},
      {"inside one of a grid",
       {{0, 0, 16, 16}, {16, 0, 32, 16}, {16, 16, 32, 32}},
       {"", {17, 17}, {31, 18}, {20, 31}},
       1},
      {"inside two overlapping rectangles",
       {{0, 0, 40, 48}, {10, 0, 64, 48}},
       {"", {12, 2}, {30, 4}, {20, 40}},
       2},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    SetRects(c.rects);
    GlVertex v[3];
    MakeTriangle(c.t, v);
    const std::vector<Drawn> drawn = Draw(&v[0], &v[1], &v[2]);
    ASSERT_EQ(drawn.size(), c.drawnCount);
    for (const Drawn &d : drawn) {
      EXPECT_EQ(d.ptr[0], &v[0]);
      EXPECT_EQ(d.ptr[1], &v[1]);
      EXPECT_EQ(d.ptr[2], &v[2]);
    }
  }
}

TEST_F(Forward, VerticesLackingAFaceNeedAreValidatedByTheirSizeClass) {
  const uint32_t needs = kFrontNeeds | kBackNeeds;
  struct Case {
    const char *what;
    uint32_t has[3];
    std::vector<int> validatedSizeClasses;  // in vertex order
  };
  const Case kCases[] = {
      {"all complete",
       {__GL_HAS_SIZE3 | needs, __GL_HAS_SIZE2 | needs, __GL_HAS_SIZE4 | needs},
       {}},
      {"the first lacks its back colour",
       {__GL_HAS_SIZE3 | kFrontNeeds, __GL_HAS_SIZE2 | needs, __GL_HAS_SIZE4 | needs},
       {2}},
      {"each lacks something",
       {__GL_HAS_SIZE4 | kBackNeeds, __GL_HAS_SIZE2 | (needs & ~__GL_HAS_FOG),
        (needs & ~__GL_HAS_TEXTURE)},
       {3, 1, 0}},
      {"extra bits do not stand in for needs",
       {__GL_HAS_SIZE3 | __GL_HAS_NORMAL | __GL_HAS_EYE, __GL_HAS_SIZE3 | needs,
        __GL_HAS_SIZE3 | needs},
       {2}},
  };
  SetRects({{0, 0, 32, 48}, {32, 0, 64, 48}});
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    GlVertex v[3];
    MakeTriangle(kCovering, v);
    for (int i = 0; i < 3; ++i) v[i].has = c.has[i] | __GL_HAS_EDGEFLAG_BOUNDARY;
    Draw(&v[0], &v[1], &v[2]);
    const std::vector<Validated> validated = TakeValidated();
    ASSERT_EQ(validated.size(), c.validatedSizeClasses.size());
    size_t k = 0;
    for (int i = 0; i < 3; ++i) {
      if (!(needs & ~c.has[i])) continue;
      EXPECT_EQ(validated[k].v, &v[i]);
      EXPECT_EQ(validated[k].sizeClass, c.validatedSizeClasses[k]);
      EXPECT_EQ(validated[k].needs, needs) << "front and back needs, no window bit";
      ++k;
    }
  }
}

}  // namespace
}  // namespace clip_window_test
