// Points, lines, line strips and loops (stippled too), and polygons drawn
// as outlines and corner points, through glBegin / glEnd on the core device into window
// memory in every colour format, against the per-pixel reference of the
// render-scene tests: the pixels of each line from the exact model of the
// line rule, its depth interpolated at each pixel's major centre and its
// colour stepped from the first end's, points as the square footprint of
// their size.
//
// Bottom-up drawables only: the model takes end points on a 1/16 grid,
// which a top-down drawable's window y (height less the viewport epsilon
// less GL y) leaves.
#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/lines/line_rule_model.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

// Stored depth along a line is stepped from the first pixel's: within
// this of the exact depth besides the reference's drift.
constexpr double kLineZSlack = 1.0 / (1 << 16);

int64_t Sixteenths(double v) { return llround(v * 16); }

void Mix(const SceneVertex &a, const SceneVertex &b, double t, double out[4], double *z) {
  for (int k = 0; k < 4; ++k) out[k] = a.c[k] + t * (b.c[k] - a.c[k]);
  *z = a.z + t * (b.z - a.z);
}

class LineScene : public SceneTest {
 protected:
  uint64_t surface = 1000;
  // Line stipple: off when the pattern is 0; `stippleCount` counts the
  // pixels of the run so far (across the segments of a strip or loop).
  uint16_t stipplePattern = 0;
  int32_t stippleFactor = 1;
  int64_t stippleCount = 0;

  // One segment a to b; `flat` (or null) the colour of every pixel.
  void RefLine(SceneReference *ref, const SceneState &s, const SceneVertex &a,
               const SceneVertex &b, const SceneVertex *flat) {
    const line_test::ModelLine line = line_test::ModelAliasedLine(
        Sixteenths(a.x), Sixteenths(a.y), Sixteenths(b.x), Sixteenths(b.y));
    const double M0 = line.xMajor ? a.x : a.y, M1 = line.xMajor ? b.x : b.y;
    ++surface;
    for (size_t k = 0; k < line.pixels.size(); ++k) {
      const line_test::ModelPixel &p = line.pixels[k];
      double color[4], z, unused;
      Mix(a, b, (p.major + 0.5 - M0) / (M1 - M0), color, &z);
      // The colour starts at a's on the first pixel, without the offset to
      // the pixel's centre that depth and texture take, and steps by a
      // pixel's share of the difference.
      Mix(a, b, double(k) / fabs(M1 - M0), color, &unused);
      if (flat)
        for (int k = 0; k < 4; ++k) color[k] = flat->c[k];
      const int32_t x = line.xMajor ? p.major : p.minor, y = line.xMajor ? p.minor : p.major;
      if (stipplePattern) {
        const int64_t bit = (stippleCount++ / stippleFactor) & 15;
        if (!(stipplePattern >> bit & 1)) continue;
      }
      if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
      ref->Shade(s, x, y, color, z, surface, kLineZSlack);
      if (p.alternative != p.minor) {
        ref->At(x, y).ambiguous = true;
        const int32_t ax = line.xMajor ? x : p.alternative, ay = line.xMajor ? p.alternative : y;
        if (ax >= 0 && ay >= 0 && ax < kWidth && ay < kHeight) ref->At(ax, ay).ambiguous = true;
      }
    }
  }

  // The aliased point rule: a square of `size` pixels around the nearest
  // pixel (odd sizes) or the nearest pixel corner (even sizes).
  void RefPoint(SceneReference *ref, const SceneState &s, const SceneVertex &v, int size,
                const SceneVertex *flat) {
    auto first = [size](double c) {
      return size & 1 ? int32_t(floor(c)) - (size - 1) / 2 : int32_t(floor(c + 0.5)) - size / 2;
    };
    const int32_t x0 = first(v.x), y0 = first(v.y);
    ++surface;
    for (int32_t y = y0; y < y0 + size; ++y)
      for (int32_t x = x0; x < x0 + size; ++x)
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
          ref->Shade(s, x, y, (flat ? *flat : v).c, v.z, surface, 0);
  }

  // What the driver draws for the primitive, into the reference.
  void RefPrimitive(SceneReference *ref, const SceneState &s, const ScenePrimitive &p,
                    GLenum polygonMode, int pointSize) {
    const std::vector<SceneVertex> &v = p.v;
    const int32_t n = int32_t(v.size());
    auto line = [&](int32_t i, int32_t j, const SceneVertex *flat) {
      RefLine(ref, s, v[size_t(i)], v[size_t(j)], s.smooth ? nullptr : flat);
    };
    switch (p.mode) {
      case GL_POINTS:
        for (const SceneVertex &u : v) RefPoint(ref, s, u, pointSize, nullptr);
        return;
      case GL_LINES:
        // Every segment restarts the stipple.
        for (int32_t i = 0; i + 1 < n; i += 2) {
          stippleCount = 0;
          line(i, i + 1, &v[size_t(i + 1)]);
        }
        return;
      case GL_LINE_STRIP:
      case GL_LINE_LOOP:
        stippleCount = 0;
        for (int32_t i = 0; i + 1 < n; ++i) line(i, i + 1, &v[size_t(i + 1)]);
        if (p.mode == GL_LINE_LOOP && n > 1) line(n - 1, 0, &v[0]);
        return;
      default: break;
    }
    // Polygons and triangles, flat: every edge and corner in the
    // provoking colour.
    const bool polygon = p.mode == GL_POLYGON;
    for (int32_t first = 0; first + 2 < n; first += polygon ? n : 3) {
      const int32_t count = polygon ? n : 3;
      const SceneVertex *provoking = &v[size_t(polygon ? 0 : first + 2)];
      for (int32_t k = 0; k < count; ++k) {
        if (polygonMode == GL_LINE)
          RefLine(ref, s, v[size_t(first + k)], v[size_t(first + (k + 1) % count)], provoking);
        else
          RefPoint(ref, s, v[size_t(first + k)], pointSize, provoking);
      }
    }
  }

  void Draw(SceneReference *ref, const SceneState &s, const ScenePrimitive &p, GLenum polygonMode,
            int pointSize) {
    Apply(s);
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    glPointSize(GLfloat(pointSize));
    glLineStipple(stippleFactor, stipplePattern);
    stipplePattern ? glEnable(GL_LINE_STIPPLE) : glDisable(GL_LINE_STIPPLE);
    Send(p);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    RefPrimitive(ref, s, p, polygonMode, pointSize);
  }
};

std::vector<ColorFormat> AllFormats() {
  std::vector<ColorFormat> all = kRgbFormats;
  all.insert(all.end(), kIndexFormats.begin(), kIndexFormats.end());
  return all;
}

// Random vertices inside the window (a 1/16 grid), with a few exact
// diagonals, axis-aligned runs and ends on pixel centres and corners.
std::vector<SceneVertex> LineVertices(uint32_t seed, int count) {
  SceneRandom random(seed);
  std::vector<SceneVertex> v;
  for (int i = 0; i < count; ++i) v.push_back(random.Vertex(0.5, kWidth - 0.5, 0.5, kHeight - 0.5));
  v.push_back(V(3.5, 3.5, 0.25, 1, 0, 0, 1));
  v.push_back(V(43.5, 43.5, 0.75, 0, 1, 0, 1));  // an exact diagonal
  v.push_back(V(2, 20, 0.5, 0, 0, 1, 1));
  v.push_back(V(60, 20, 0.5, 1, 1, 0, 1));  // along a row boundary
  v.push_back(V(30.5, 1, 0.125, 1, 0, 1, 1));
  v.push_back(V(30.5, 46.5, 0.875, 0, 1, 1, 1));  // vertical
  return v;
}

struct PrimitiveCase {
  const char *name;
  GLenum mode, polygonMode;
  int pointSize;
  bool smooth;
  uint16_t stipple = 0;
  int32_t factor = 1;
};

const PrimitiveCase kCases[] = {
    {"points", GL_POINTS, GL_FILL, 1, true},
    {"points of size 3", GL_POINTS, GL_FILL, 3, true},
    {"points of size 4", GL_POINTS, GL_FILL, 4, false},
    {"lines", GL_LINES, GL_FILL, 1, true},
    {"flat lines", GL_LINES, GL_FILL, 1, false},
    {"a line strip", GL_LINE_STRIP, GL_FILL, 1, true},
    {"a line loop", GL_LINE_LOOP, GL_FILL, 1, true},
    {"a flat line loop", GL_LINE_LOOP, GL_FILL, 1, false},
    {"stippled lines", GL_LINES, GL_FILL, 1, true, 0x3F1D, 1},
    {"a stippled strip, the pattern repeated", GL_LINE_STRIP, GL_FILL, 1, true, 0xC3A5, 3},
    {"a stippled loop", GL_LINE_LOOP, GL_FILL, 1, false, 0x0F0F, 2},
    {"triangles as outlines", GL_TRIANGLES, GL_LINE, 1, false},
    {"a polygon as an outline", GL_POLYGON, GL_LINE, 1, false},
    {"triangles as corners", GL_TRIANGLES, GL_POINT, 1, false},
    {"a polygon as corners of size 2", GL_POLYGON, GL_POINT, 2, false},
};

// A convex polygon (GL_POLYGON must be convex) on the 1/16 grid.
std::vector<SceneVertex> Convex() {
  std::vector<SceneVertex> v;
  for (int i = 0; i < 9; ++i) {
    const double a = 2 * M_PI * i / 9 + 0.3;
    v.push_back(V(Grid(32 + 25 * cos(a), 1.0 / 16), Grid(24 + 19 * sin(a), 1.0 / 16),
                  Grid(0.5 + 0.3 * sin(a), 1.0 / 1024), 0.5 + 0.4 * cos(a), 0.5, 0.5 + 0.4 * sin(a),
                  1));
  }
  return v;
}

TEST_F(LineScene, PointsLinesAndOutlinesEqualTheReferenceInEveryFormat) {
  for (const ColorFormat &f : AllFormats())
    for (bool depth : {false, true}) {
      const std::string what = std::string(f.name) + (depth ? ", depth tested" : "");
      SCOPED_TRACE(what);
      if (!Open(f)) continue;
      SceneReference ref(Target());
      ClearAll(&ref);
      uint32_t seed = 1;
      for (const PrimitiveCase &c : kCases) {
        SCOPED_TRACE(c.name);
        SceneState s;
        s.smooth = c.smooth;
        s.depthTest = depth;
        ScenePrimitive p{c.mode, c.mode == GL_POLYGON ? Convex() : LineVertices(seed++, 18)};
        if (c.mode == GL_TRIANGLES) p.v.resize(18);
        stipplePattern = c.stipple;
        stippleFactor = c.factor;
        const std::vector<SceneStep> scaled = ForFormat({{s, p}}, f);
        Draw(&ref, s, scaled[0].primitive, c.polygonMode, c.pointSize);
      }
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      Compare(ref, what);
    }
}

}  // namespace
}  // namespace scene_test
