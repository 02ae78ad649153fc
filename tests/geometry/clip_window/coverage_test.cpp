// The portions the window clipper draws, held to a double-precision clipper:
// together they cover exactly what of the triangle lies in the visible
// rectangles, none overlaps another, each keeps the triangle's winding, and
// every vertex carries the triangle's attributes at its window position.
#include <gtest/gtest.h>
#include <math.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tests/geometry/clip_window/window_cases.h"
#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {
namespace {

class Coverage : public WindowClipTest {
 public:
  void ForEachCase(void (Coverage::*check)(const RectSet &, const Triangle &,
                                           const std::vector<Drawn> &)) {
    for (const RectSet &set : RectSets()) {
      for (const Triangle &t : Triangles()) {
        SCOPED_TRACE(testing::Message() << set.what << " / " << t.what);
        SetRects(set.rects);
        GlVertex v[3];
        MakeTriangle(t, v);
        const std::vector<Drawn> drawn = Draw(&v[0], &v[1], &v[2]);
        (this->*check)(set, t, drawn);
        if (HasFailure()) return;
      }
    }
  }

  void AreasAddUp(const RectSet &set, const Triangle &t, const std::vector<Drawn> &drawn) {
    const Poly tri = {Window(t.a), Window(t.b), Window(t.c)};
    double want = 0;
    for (const GlRect &r : set.rects) {
      if (r.x0 >= r.x1 || r.y0 >= r.y1) continue;
      want += fabs(SignedArea(ClipToBox(tri, Left(r), Low(r), Right(r), High(r))));
    }
    double got = 0;
    const double triArea = SignedArea(tri);
    for (const Drawn &d : drawn) {
      const double area = SignedArea({PosOf(d.v[0]), PosOf(d.v[1]), PosOf(d.v[2])});
      got += fabs(area);
      EXPECT_GE(area * triArea, -1e-6) << "a portion drawn with the other winding";
    }
    EXPECT_NEAR(got, want, 1e-3 * std::max(1.0, fabs(triArea)));
  }

  // Sample points: each inside the triangle and a rectangle lies in
  // exactly one portion, each other point in none.
  void PointsAreDrawnOnce(const RectSet &set, const Triangle &t, const std::vector<Drawn> &drawn) {
    const Pt tri[3] = {Window(t.a), Window(t.b), Window(t.c)};
    const double margin = 0.01;
    std::vector<std::array<Pt, 3>> shapes;
    for (const Drawn &d : drawn) shapes.push_back({PosOf(d.v[0]), PosOf(d.v[1]), PosOf(d.v[2])});
    for (double y = -12.3; y < 60; y += 0.93) {
      for (double x = -12.1; x < 76; x += 1.07) {
        const Pt p = Window({x, y});
        int want = TriangleSide(tri, p, margin);
        if (want == 0) continue;
        bool nearRect = false, inRect = false;
        for (const GlRect &r : set.rects) {
          const int side = BoxSide(Left(r), Low(r), Right(r), High(r), p, margin);
          nearRect |= side == 0;
          inRect |= side == 1;
        }
        if (nearRect) continue;
        int got = 0;
        bool nearDrawn = false;
        for (const std::array<Pt, 3> &shape : shapes) {
          const int side = TriangleSide(shape.data(), p, margin);
          nearDrawn |= side == 0;
          got += side == 1;
        }
        if (nearDrawn) continue;
        EXPECT_EQ(got, want == 1 && inRect ? 1 : 0) << "at drawable " << x << ", " << y;
        if (HasFailure()) return;
      }
    }
  }

  // Window z, both colours, s, t, r, q and (fog being on) the fog value of
  // every vertex drawn are the triangle's at that point.
  void AttributesFollowThePlane(const RectSet &, const Triangle &t,
                                const std::vector<Drawn> &drawn) {
    const Pt tri[3] = {Window(t.a), Window(t.b), Window(t.c)};
    GlVertex corner[3];
    MakeTriangle(t, corner);
    for (const Drawn &d : drawn) {
      for (const GlVertex &v : d.v) {
        const std::array<double, 3> w = Barycentric(tri, PosOf(v));
        auto at = [&](auto field) {
          double sum = 0;
          for (int i = 0; i < 3; ++i) sum += w[i] * field(corner[i]);
          return sum;
        };
        struct Field {
          const char *name;
          GLfloat (*get)(const GlVertex &);
        };
        static const Field kFields[] = {
            {"z", [](const GlVertex &u) { return u.window.z; }},
            {"front red", [](const GlVertex &u) { return u.colors[0].r; }},
            {"front green", [](const GlVertex &u) { return u.colors[0].g; }},
            {"front blue", [](const GlVertex &u) { return u.colors[0].b; }},
            {"front alpha", [](const GlVertex &u) { return u.colors[0].a; }},
            {"back red", [](const GlVertex &u) { return u.colors[1].r; }},
            {"back alpha", [](const GlVertex &u) { return u.colors[1].a; }},
            {"s", [](const GlVertex &u) { return u.texture.x; }},
            {"t", [](const GlVertex &u) { return u.texture.y; }},
            {"r", [](const GlVertex &u) { return u.texture.z; }},
            {"q", [](const GlVertex &u) { return u.texture.w; }},
            {"fog", [](const GlVertex &u) { return u.fog; }},
        };
        for (const Field &f : kFields) {
          EXPECT_NEAR(f.get(v), at(f.get), 2e-3)
              << f.name << " at " << v.window.x - xBias << ", " << v.window.y - yBias;
        }
      }
    }
  }
};

TEST_F(Coverage, AreasAddUpToWhatIsVisibleAndKeepTheWinding) { ForEachCase(&Coverage::AreasAddUp); }

TEST_F(Coverage, EveryVisiblePointOfTheTriangleIsDrawnExactlyOnce) {
  ForEachCase(&Coverage::PointsAreDrawnOnce);
}

TEST_F(Coverage, NewVerticesCarryTheTrianglesAttributesAtTheirPosition) {
  gc->state.enables.general |= __GL_FOG_ENABLE;
  gc->polygon.shader.modeFlags |= __GL_SHADE_FOG;
  ForEachCase(&Coverage::AttributesFollowThePlane);
}

// Fog is taken from window space only when fog is on and the raster mode
// fogs; otherwise a new vertex keeps what the parameter clip gave it.
TEST_F(Coverage, FogIsInterpolatedOnlyWhenOnAndFogging) {
  struct FogCase {
    bool enabled, flag, interpolated;
  };
  const FogCase kCases[] = {
      {false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}};
  const Triangle t = {"across the middle", {5.3, 7.7}, {58.1, 12.9}, {30.4, 43.3}};
  SetRects({{0, 0, 32, 48}, {32, 0, 64, 48}});
  for (const FogCase &c : kCases) {
    SCOPED_TRACE(testing::Message() << "fog enable " << c.enabled << ", raster fog " << c.flag);
    if (c.enabled)
      gc->state.enables.general |= __GL_FOG_ENABLE;
    else
      gc->state.enables.general &= ~__GL_FOG_ENABLE;
    if (c.flag)
      gc->polygon.shader.modeFlags |= __GL_SHADE_FOG;
    else
      gc->polygon.shader.modeFlags &= ~__GL_SHADE_FOG;
    GlVertex v[3];
    MakeTriangle(t, v);
    int made = 0;
    for (const Drawn &d : Draw(&v[0], &v[1], &v[2])) {
      for (const GlVertex &u : d.v) {
        const bool original = u.window.x == v[0].window.x || u.window.x == v[1].window.x ||
                              u.window.x == v[2].window.x;
        if (original) continue;
        ++made;
        if (c.interpolated)
          EXPECT_NE(u.fog, kNotInterpolated);
        else
          EXPECT_EQ(u.fog, kNotInterpolated);
      }
    }
    EXPECT_GT(made, 0) << "the case must make vertices";
  }
}

}  // namespace
}  // namespace clip_window_test
