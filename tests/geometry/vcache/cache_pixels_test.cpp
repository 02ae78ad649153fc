// The same blocks drawn with the cache off and on leave the same pixels:
// every mode at counts around the cache's size, filled, outlined and as
// points, and with the line stipple where one stipple run must span pieces.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/scene/scene_fixture.h"
#include "tests/raster/scene/scene_snap_band.h"

namespace scene_test {
namespace {

struct PixelCase {
  GLenum mode;
  GLenum polygonMode;
  bool stipple;
};

// Stippled outlines of triangles, strips, fans and quads are left out: the
// cache may start a polygon's outline at another vertex, so its stipple
// pattern starts elsewhere.
const PixelCase kCases[] = {
    {GL_POINTS, GL_FILL, false},         {GL_LINES, GL_FILL, false},
    {GL_LINE_LOOP, GL_FILL, false},      {GL_LINE_STRIP, GL_FILL, false},
    {GL_TRIANGLES, GL_FILL, false},      {GL_TRIANGLE_STRIP, GL_FILL, false},
    {GL_TRIANGLE_FAN, GL_FILL, false},   {GL_QUADS, GL_FILL, false},
    {GL_QUAD_STRIP, GL_FILL, false},     {GL_POLYGON, GL_FILL, false},
    {GL_POLYGON, GL_LINE, false},
    {GL_TRIANGLES, GL_POINT, false},     {GL_POLYGON, GL_POINT, false},
    {GL_LINES, GL_FILL, true},           {GL_LINE_LOOP, GL_FILL, true},
    {GL_LINE_STRIP, GL_FILL, true},      {GL_POLYGON, GL_LINE, true},
};

// Outlines of triangles, strips, fans and quads: where two edges of one
// polygon share pixels (a thin triangle's edges near a vertex), the edge
// drawn last gives their colour, and the cache may start a polygon at
// another vertex. So these are drawn in one colour: every edge pixel must
// then match.
const PixelCase kOutlines[] = {
    {GL_TRIANGLES, GL_LINE, false},    {GL_TRIANGLE_STRIP, GL_LINE, false},
    {GL_TRIANGLE_FAN, GL_LINE, false}, {GL_QUADS, GL_LINE, false},
    {GL_QUAD_STRIP, GL_LINE, false},
};

const int kCounts[] = {3, 35, 36, 37, 40, 50, 71, 72, 73, 80, 107, 108, 109};

class CachePixels : public SceneTest {
 protected:
  bool oneColour = false;
  double spread = 1;  // above 1, primitives reach past the window
  bool unit = false;   // pixels may differ by one unit per channel
  // Along the cuts of clipped triangles, coverage may differ on the fast
  // paths (they snap the clipper's corners): see snapBand below.
  bool cutBands = false;

  void SetCache(bool on) {
    gc->vcache.enabled = on;
    gc->dirtyMask |= __GL_DIRTY_ALL;
    gc->beginMode = __GL_VALIDATE_PENDING;
  }

  // Vertex i of a block: a polygon takes a convex ring (it must be convex to
  // be drawn the same either way), the others a scramble over the window.
  static void Place(const PixelCase &c, int count, int i, double spread, double *x, double *y) {
    if (c.mode == GL_POLYGON) {
      const double a = 2 * M_PI * i / count;
      *x = 32 + 22 * spread * cos(a), *y = 24 + 21 * spread * sin(a);
    } else {
      const uint32_t h = uint32_t(i) * 2654435761u + uint32_t(count) * 40503u;
      *x = 1 + (h >> 8) % 6200 / 100.0, *y = 1 + (h >> 20) % 4600 / 100.0;
      // Spread about the window's centre, past its edges.
      *x = 32 + (*x - 32) * spread, *y = 24 + (*y - 24) * spread;
    }
  }

  // The pixels near the cuts of the block's triangles: the two roads cut
  // the same triangles at the same corners but split the cut polygon from
  // different corners, and the fast set-ups snap those corners to 1/16
  // pixel, so a centre that near a diagonal or cut may fall either way.
  std::vector<bool> SnapBand(const PixelCase &c, int count) {
    std::vector<bool> band(size_t(kWidth * kHeight));
    std::vector<SceneVertex> v;
    for (int i = 0; i < count; ++i) {
      SceneVertex p{0, 0, 0.5, {0, 0, 0, 1}};
      Place(c, count, i, spread, &p.x, &p.y);
      v.push_back(p);
    }
    // Every triangle of the fill's modes and of their quads' halves.
    std::vector<std::array<size_t, 3>> tris;
    const size_t n = v.size();
    switch (c.mode) {
      case GL_TRIANGLES:
        for (size_t i = 0; i + 2 < n; i += 3) tris.push_back({i, i + 1, i + 2});
        break;
      case GL_TRIANGLE_STRIP:
      case GL_QUAD_STRIP:
        for (size_t i = 0; i + 2 < n; i++) tris.push_back({i, i + 1, i + 2});
        break;
      case GL_TRIANGLE_FAN:
        for (size_t i = 1; i + 1 < n; i++) tris.push_back({0, i, i + 1});
        break;
      case GL_QUADS:
        for (size_t i = 0; i + 3 < n; i += 4) {
          tris.push_back({i, i + 1, i + 2});
          tris.push_back({i, i + 2, i + 3});
          tris.push_back({i, i + 1, i + 3});
          tris.push_back({i + 1, i + 2, i + 3});
        }
        break;
      default:
        break;
    }
    SceneReference ref(Target());
    const ViewBox box = {0, 0, double(kWidth), double(kHeight)};
    for (const auto &t : tris) {
      const SceneVertex *corners[3] = {&v[t[0]], &v[t[1]], &v[t[2]]};
      MarkSnapBand(ref, box, corners, &band);
    }
    return band;
  }

  void Block(const PixelCase &c, int count) {
    glBegin(c.mode);
    for (int i = 0; i < count; ++i) {
      double x, y;
      Place(c, count, i, spread, &x, &y);
      const double shaded[4] = {(i % 7) / 6.0, (i % 5) / 4.0, (i % 3) / 2.0, 1};
      const double one[4] = {format.rgba ? 0.75 : 5.0, 0.5, 0.25, 1};
      SendVertex(x, y, 0.5, oneColour ? one : shaded);
    }
    glEnd();
  }

  std::vector<uint32_t> Draw(const PixelCase &c, int count, bool cache) {
    SetCache(cache);
    glClearColor(0, 0, 0, 0);
    glClearIndex(0);
    glClear(GL_COLOR_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, c.polygonMode);
    if (c.stipple) {
      glEnable(GL_LINE_STIPPLE);
      glLineStipple(1, 0x0F33);
    } else {
      glDisable(GL_LINE_STIPPLE);
    }
    Block(c, count);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) pixels.push_back(colorMemory->Read(x, y));
    return pixels;
  }

  // Equal, or with `unit` set, within one unit in every channel (or index).
  bool Near(uint32_t a, uint32_t b) const {
    if (a == b) return true;
    if (!unit) return false;
    for (int c = 0; c < (format.rgba ? 4 : 1); ++c) {
      const uint32_t mask = format.rgba ? format.masks[c] : format.indexMask();
      if (mask == 0) continue;
      const uint32_t low = mask & (~mask + 1);  // the channel's lowest bit
      const int64_t d = int64_t((a & mask) / low) - int64_t((b & mask) / low);
      if (d > 1 || d < -1) return false;
    }
    return true;
  }

  void Expect(const std::vector<PixelCase> &cases) {
    for (const ColorFormat *f : {&kRgbFormats[2], &kIndexFormats[0]}) {
      if (!Open(*f)) return;
      for (const PixelCase &c : cases) {
        for (int count : kCounts) {
          SCOPED_TRACE(std::string(f->name) + ", mode " + std::to_string(c.mode) +
                       ", polygon mode " + std::to_string(c.polygonMode) +
                       (c.stipple ? ", stippled" : "") + ", count " + std::to_string(count));
          const std::vector<uint32_t> off = Draw(c, count, false);
          const std::vector<uint32_t> on = Draw(c, count, true);
          const std::vector<bool> skip =
              cutBands ? SnapBand(c, count) : std::vector<bool>(off.size());
          int differ = 0, first = -1;
          for (size_t i = 0; i < off.size(); ++i)
            if (!skip[i] && !Near(off[i], on[i])) differ++, first = first < 0 ? int(i) : first;
          EXPECT_EQ(differ, 0) << "first at x " << first % kWidth << ", y " << first / kWidth
                               << ": " << std::hex << (first < 0 ? 0 : off[size_t(first)])
                               << " / " << (first < 0 ? 0 : on[size_t(first)]);
        }
      }
    }
  }
};

TEST_F(CachePixels, OnAndOffLeaveTheSamePixels) {
  Expect(std::vector<PixelCase>(std::begin(kCases), std::end(kCases)));
}

// Clipped: the same pieces of each primitive on both roads, but a clipped
// triangle is cut into a polygon from whichever vertex the road starts it
// at, and the fan over it rounds colours apart by a unit at most.
// GL_POLYGON is left out: the immediate road clips it whole and fans the
// cut polygon, the cache clips its triangles one by one, so their edges
// along a clip plane differ, and OpenGL does not fix the colours inside a
// polygon of more than three vertices. Corner points of clipped triangles
// are left out too: two corners cut from one thin triangle can share a
// pixel on the window's edge, and the one drawn last, which depends on the
// vertex the triangle starts at, gives its colour.
TEST_F(CachePixels, ClippedBlocksLeaveTheSamePixels) {
  spread = 1.8;
  unit = true;
  // The generic fill does not snap; its registration runs this test whole.
  const char *generic = getenv("__GL_DISABLE_FASTPATH");
  cutBands = !generic || atoi(generic) == 0;
  std::vector<PixelCase> cases;
  for (const PixelCase &c : kCases)
    if (c.mode != GL_POLYGON && c.polygonMode != GL_POINT) cases.push_back(c);
  Expect(cases);
  oneColour = true;
  Expect(std::vector<PixelCase>(std::begin(kOutlines), std::end(kOutlines)));
}

TEST_F(CachePixels, OutlinesOfManyPolygonsCoverTheSamePixels) {
  oneColour = true;
  Expect(std::vector<PixelCase>(std::begin(kOutlines), std::end(kOutlines)));
}

}  // namespace
}  // namespace scene_test
