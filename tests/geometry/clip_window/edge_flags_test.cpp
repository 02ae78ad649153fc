// The boundary flags of the portions: a side of a portion that runs along a
// side of the triangle keeps that side's flag, a side along a rectangle and
// every inner diagonal of a fan has none; and a new vertex's other `has`
// bits are those of a corner of the triangle, never the parameter clip's
// code bits.
#include <gtest/gtest.h>

#include <set>

#include "tests/geometry/clip_window/window_cases.h"
#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {
namespace {

class EdgeFlags : public WindowClipTest {
 protected:
  // The triangle's side that segment u-w lies along, or -1.
  static int SideAlong(const Pt tri[3], Pt u, Pt w) {
    const double margin = 1e-3;
    for (int j = 0; j < 3; ++j) {
      const Pt &a = tri[j], &b = tri[(j + 1) % 3];
      if (OnSegment(a, b, u, margin) && OnSegment(a, b, w, margin)) return j;
    }
    return -1;
  }
};

TEST_F(EdgeFlags, PortionsKeepTheTrianglesFlagsOnItsSidesOnly) {
  for (const RectSet &set : RectSets()) {
    SetRects(set.rects);
    for (Triangle t : Triangles()) {
      for (uint32_t edges = 0; edges < 8; ++edges) {
        t.edges = edges;
        SCOPED_TRACE(testing::Message() << set.what << " / " << t.what << " / flags " << edges);
        const Pt tri[3] = {Window(t.a), Window(t.b), Window(t.c)};
        GlVertex v[3];
        MakeTriangle(t, v);
        for (const Drawn &d : Draw(&v[0], &v[1], &v[2])) {
          for (int i = 0; i < 3; ++i) {
            const Pt u = PosOf(d.v[i]), w = PosOf(d.v[(i + 1) % 3]);
            if (u.x == w.x && u.y == w.y) continue;
            const int side = SideAlong(tri, u, w);
            const uint32_t want = side >= 0 && (edges >> side & 1) ? __GL_HAS_EDGEFLAG_BOUNDARY : 0;
            EXPECT_EQ(d.v[i].has & __GL_HAS_EDGEFLAG_BOUNDARY, want)
                << "side from " << u.x - xBias << ", " << u.y - yBias << " to " << w.x - xBias
                << ", " << w.y - yBias;
          }
        }
        if (HasFailure()) return;
      }
    }
  }
}

TEST_F(EdgeFlags, NewVerticesTakeTheOtherBitsOfACorner) {
  // Corners with different size classes and code bits (the third made by
  // the clip-space clipper).
  const uint32_t kOwn[3] = {__GL_HAS_SIZE2, __GL_HAS_SIZE3 | __GL_HAS_NORMAL,
                            __GL_HAS_SIZE4 | 0xFFFF0000u};
  for (const RectSet &set : RectSets()) {
    SetRects(set.rects);
    for (const Triangle &t : Triangles()) {
      SCOPED_TRACE(testing::Message() << set.what << " / " << t.what);
      GlVertex v[3];
      MakeTriangle(t, v);
      std::set<uint32_t> corners;
      for (int i = 0; i < 3; ++i) {
        v[i].has = (v[i].has & ~(__GL_HAS_SIZE_MASK | 0xFFFF0000u)) | kOwn[i];
        corners.insert(v[i].has & ~__GL_HAS_EDGEFLAG_BOUNDARY);
      }
      for (const Drawn &d : Draw(&v[0], &v[1], &v[2])) {
        for (const GlVertex &u : d.v)
          EXPECT_TRUE(corners.count(u.has & ~__GL_HAS_EDGEFLAG_BOUNDARY))
              << std::hex << u.has << " at " << u.window.x - xBias << ", " << u.window.y - yBias;
      }
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace clip_window_test
