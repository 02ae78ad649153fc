// Spanlet mode end to end: the generated setup and raster routine hand the
// chain the same chunks as the pre-built set-up, for exact-slope triangles
// (vertices on a quarter-pixel grid, edge heights of 8, 16 or 32 rows) in
// every state the chain reads words of, texture coordinates included.
#include <gtest/gtest.h>

#include "tests/codegen/raster/raster_fixture.h"
#include "tests/codegen/raster/raster_texture.h"

namespace raster_test {
namespace {

struct Triangle {
  const char *name;
  double v[3][2];
};

const Triangle kTriangles[] = {
    {"left to right", {{3.25, 2.5}, {50.75, 34.5}, {20.5, 18.5}}},
    {"right to left", {{50.75, 2.5}, {3.25, 34.5}, {30.5, 18.5}}},
    {"flat top", {{5, 4}, {70, 4}, {40, 36}}},
    {"flat bottom", {{30, 2}, {4, 34}, {80, 34}}},
    {"wide spans", {{1, 1}, {90, 9}, {45, 17}}},
    {"wide spans right to left", {{90, 1}, {1, 9}, {45, 17}}},
    {"centres on edges", {{10.5, 10.5}, {42.5, 10.5}, {10.5, 42.5}}},
    {"thin", {{20.25, 3}, {22.75, 35}, {21, 19}}},
};

struct State {
  const char *name;
  uint32_t flags;
  bool doubleStore;
};

constexpr uint32_t kRgb = __GL_SHADE_RGB;
constexpr uint32_t kSmooth = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR;

const State kStates[] = {
    {"flat", kRgb, false},
    {"smooth", kSmooth, false},
    {"smooth alpha", kSmooth | __GL_SHADE_ALPHA, false},
    {"depth", kSmooth | __GL_SHADE_DEPTH_TEST, false},
    {"stencil", kRgb | __GL_SHADE_STENCIL_TEST, false},
    {"dither", kSmooth | __GL_SHADE_DITHER, false},
    {"flat dither depth stencil", kRgb | __GL_SHADE_DITHER | __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST, false},
    {"colour index", __GL_SHADE_ITERATE_COLOR, false},
    {"double store", kSmooth | __GL_SHADE_DEPTH_TEST, true},
    {"affine texture", kSmooth | __GL_SHADE_TEXTURE, false},
    {"perspective texture", kRgb | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE, false},
};

GlColor Color(int i) {
  const float base[3][4] = {{200, 30, 90, 255}, {10, 250, 40, 20}, {120, 70, 240, 128}};
  return {base[i][0], base[i][1], base[i][2], base[i][3]};
}

TEST(SpanletWalk, GeneratedChunksEqualThePrebuiltSetups) {
  for (const State &s : kStates) {
    for (const Triangle &t : kTriangles) {
      SCOPED_TRACE(std::string(s.name) + ", " + t.name);
      RasterContext rc;
      rc.SetFlags(s.flags);
      rc.gc()->modes.rgbMode = (s.flags & __GL_SHADE_RGB) ? 1 : 0;
      if (s.doubleStore) rc.UseDoubleStore();
      TestTexture texture(rc.gc(), 6, 5, GL_RGBA, GL_MODULATE);
      GlVertex v[3];
      for (int i = 0; i < 3; i++) {
        v[i] = RasterContext::Vertex(t.v[i][0], t.v[i][1], 0.2 + 0.3 * i, Color(i));
        v[i].texture = {0.1f + 0.4f * float(i), 0.9f - 0.35f * float(i), 0, 1.0f + 0.5f * float(i)};
      }
      const std::vector<Chunk> want = rc.Prebuilt(&v[0], &v[1], &v[2]);
      rc.gc()->vertexBuffer.provoking = nullptr;
      const std::vector<Chunk> got = rc.Generated(&v[0], &v[1], &v[2]);
      ASSERT_FALSE(want.empty());
      EXPECT_EQ(CompareChunks(want, got, s.flags, s.doubleStore, 1, kOneUnit), "");
    }
  }
}

}  // namespace
}  // namespace raster_test
