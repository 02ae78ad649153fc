// Two triangles that share a side, wound the usual way (a -> b in one,
// b -> a in the other): wherever a rectangle boundary cuts that side, both
// get the very same vertex, bit for bit, so no pixel along it is drawn
// twice or missed.
#include <gtest/gtest.h>
#include <string.h>

#include "tests/geometry/clip_window/window_cases.h"
#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {
namespace {

class SharedEdge : public WindowClipTest {
 protected:
  // The corners: the shared side a-b (the same records for both
  // triangles), c on one side of it, d on the other.
  void Make(Pt a, Pt b, Pt c, Pt d) {
    const Triangle one = {"", a, b, c}, other = {"", b, a, d};
    MakeTriangle(one, v_);
    GlVertex w[3];
    MakeTriangle(other, w);
    v_[3] = w[2];
    for (GlVertex &u : v_) u.color = &u.colors[__GL_FRONTFACE];
  }
  // The vertices drawn for x, y, z that lie on side a-b but are not a or b.
  std::vector<GlVertex> CutsOn(GlVertex *x, GlVertex *y, GlVertex *z) {
    std::vector<GlVertex> cuts;
    const Pt wa = PosOf(v_[0]), wb = PosOf(v_[1]);
    for (const Drawn &d : Draw(x, y, z)) {
      for (const GlVertex &u : d.v) {
        const Pt at = PosOf(u);
        if ((at.x == wa.x && at.y == wa.y) || (at.x == wb.x && at.y == wb.y)) continue;
        if (OnSegment(wa, wb, at, 1e-3)) cuts.push_back(u);
      }
    }
    return cuts;
  }
  std::vector<GlVertex> CutsOfOne() { return CutsOn(&v_[0], &v_[1], &v_[2]); }
  std::vector<GlVertex> CutsOfOther() { return CutsOn(&v_[1], &v_[0], &v_[3]); }

 private:
  GlVertex v_[4];
};

// What both triangles must agree on: position, depth, colours, texture
// coordinates and fog.
bool SameCut(const GlVertex &u, const GlVertex &w) {
  return memcmp(&u.window, &w.window, sizeof u.window) == 0 &&
         memcmp(&u.colors, &w.colors, sizeof u.colors) == 0 &&
         memcmp(&u.texture, &w.texture, sizeof u.texture) == 0 &&
         memcmp(&u.fog, &w.fog, sizeof u.fog) == 0;
}

bool Contains(const std::vector<GlVertex> &set, const GlVertex &u) {
  for (const GlVertex &w : set)
    if (SameCut(u, w)) return true;
  return false;
}

struct Pair {
  const char *what;
  Pt a, b;  // the shared side
  Pt c, d;  // the third corners, on either side of it
};
const Pair kPairs[] = {
    {"rising diagonal", {-7.3, -3.1}, {70.7, 51.3}, {-20.1, 40.9}, {60.2, -10.7}},
    {"falling diagonal", {-5.9, 52.7}, {69.1, -6.3}, {-3.3, -8.1}, {70.3, 50.9}},
    {"shallow", {-9.1, 20.3}, {72.9, 27.7}, {30.1, 55.3}, {33.3, -7.9}},
    {"steep", {29.7, -11.1}, {35.3, 59.9}, {-5.7, 20.1}, {70.1, 25.3}},
    {"vertical", {33.7, -9.3}, {33.7, 57.1}, {-6.1, 24.3}, {71.9, 22.1}},
    {"horizontal", {-8.3, 23.1}, {71.3, 23.1}, {30.3, 57.7}, {35.9, -9.9}},
    {"short, inside the window", {9.1, 13.7}, {52.3, 35.9}, {12.7, 39.1}, {49.9, 8.3}},
};

TEST_F(SharedEdge, BothTrianglesGetTheSameVerticesAlongIt) {
  gc->state.enables.general |= __GL_FOG_ENABLE;
  gc->polygon.shader.modeFlags |= __GL_SHADE_FOG;
  for (const RectSet &set : RectSets()) {
    SetRects(set.rects);
    for (const Pair &p : kPairs) {
      SCOPED_TRACE(testing::Message() << set.what << " / " << p.what);
      Make(p.a, p.b, p.c, p.d);
      const std::vector<GlVertex> one = CutsOfOne();
      const std::vector<GlVertex> other = CutsOfOther();
      for (const GlVertex &u : one)
        EXPECT_TRUE(Contains(other, u)) << "cut at " << u.window.x << ", " << u.window.y;
      for (const GlVertex &u : other)
        EXPECT_TRUE(Contains(one, u)) << "cut at " << u.window.x << ", " << u.window.y;
      if (HasFailure()) return;
    }
  }
}

TEST_F(SharedEdge, TheTableCutsEverySharedSide) {
  // So that the comparison above is never empty for a pair.
  for (const Pair &p : kPairs) {
    SCOPED_TRACE(p.what);
    Make(p.a, p.b, p.c, p.d);
    size_t cuts = 0;
    for (const RectSet &set : RectSets()) {
      SetRects(set.rects);
      cuts += CutsOfOne().size();
    }
    EXPECT_GT(cuts, 0u);
  }
}

}  // namespace
}  // namespace clip_window_test
