// Hardware triangles against the generic fill, through the drawing model:
// flat and smooth (dithered too), depth-tested into a 16-bit depth buffer,
// on a chip that takes the given order and on one that sorts, with
// vertices on and off the 1/16-pixel grid and triangles that overlap in
// depth.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "core/context.h"
#include "raster/s_triangle.h"
#include "sis/sis_primitives.h"
#include "tests/sis/hw_compare/hw_compare_fixture.h"

namespace {


struct Corner {
  double x, y, z;
  GlColor color;
};
using Triangle = std::array<Corner, 3>;

// Fixed triangles: both orientations, thin, large, and some that cross in
// depth. The generic fill relies on the clipper to keep vertices inside the
// window, so they all lie inside.
const std::vector<Triangle> kTriangles = {
    {{{4, 4, 0.5, {255, 0, 0, 255}}, {28, 6, 0.5, {0, 255, 0, 255}}, {10, 30, 0.5, {0, 0, 255, 255}}}},
    {{{40.25, 3.5, 0.2, {200, 100, 50, 255}}, {33.75, 20.125, 0.8, {20, 40, 60, 255}},
      {60.5, 17.0625, 0.4, {255, 255, 255, 255}}}},
    {{{2.3, 40.7, 0.3, {10, 200, 30, 255}}, {61.9, 35.1, 0.6, {250, 5, 128, 255}},
      {30.45, 46.2, 0.1, {128, 128, 0, 255}}}},
    {{{0.5, 10, 0.7, {255, 255, 0, 255}}, {20, 0.25, 0.7, {0, 255, 255, 255}},
      {15, 25, 0.2, {255, 0, 255, 255}}}},
    {{{5, 20, 0.9, {90, 90, 90, 255}}, {60, 22, 0.1, {200, 10, 10, 255}},
      {35, 45, 0.5, {10, 10, 200, 255}}}},
    {{{12.1, 1.2, 0.05, {1, 2, 3, 255}}, {13.3, 46.8, 0.95, {250, 251, 252, 255}},
      {14.2, 24.1, 0.5, {100, 150, 200, 255}}}},
};

using TriangleAgainstSoftware = hwcompare::OnEachChip;

TEST_P(TriangleAgainstSoftware, FramesAgreeWithinTheTolerances) {
  Open(GetParam());
  struct State {
    const char *name;
    bool smooth, dither;
  } const states[] = {{"flat", false, false}, {"smooth", true, false}, {"smooth dithered", true, true}};
  for (const State &state : states) {
    SCOPED_TRACE(state.name);
    const bool smooth = state.smooth;
    UseState(smooth, true, state.dither);
    ExpectAgree(state.name, [&](bool hardware) {
      for (const Triangle &t : kTriangles) {
        GlVertex v[3];
        for (int i = 0; i < 3; ++i) {
          v[i] = hwcompare::Vertex(gc, t[i].x, t[i].y, t[i].z, t[i].color);
          v[i].color = &v[i].colors[__GL_FRONTFACE];
        }
        gc->vertexBuffer.provoking = &v[2];
        if (hardware)
          (smooth ? __glSiSRenderSmoothDepthTriangle : __glSiSRenderFlatDepthTriangle)(
              gc, &v[0], &v[1], &v[2]);
        else
          __glFillTriangle(gc, &v[0], &v[1], &v[2]);
      }
      gc->vertexBuffer.provoking = nullptr;
    });
  }
}

// The generic fill steps its edges with slopes rounded to single precision,
// so a pixel centre exactly on an edge may fall either way even for corners
// on the 1/16-pixel grid: such pixels are edge pixels, nothing else differs.
TEST_P(TriangleAgainstSoftware, AFanOfGridTrianglesDiffersOnlyOnEdges) {
  Open(GetParam());
  UseState(false, false);
  const SiS6326Comparison c = ExpectAgree("fan", [&](bool hardware) {
    // A fan of flat triangles with corners on the 1/16-pixel grid.
    const double cx = 31.5625, cy = 23.4375;
    for (int k = 0; k < 8; ++k) {
      const double a = k * 0.785398163, b = (k + 1) * 0.785398163;
      GlVertex v[3] = {
          hwcompare::Vertex(gc, cx, cy, 0.5, {255, 255, 255, 255}),
          hwcompare::Vertex(gc, cx + std::round(20 * std::cos(a) * 16) / 16,
                            cy + std::round(20 * std::sin(a) * 16) / 16, 0.5, {255, 255, 255, 255}),
          hwcompare::Vertex(gc, cx + std::round(20 * std::cos(b) * 16) / 16,
                            cy + std::round(20 * std::sin(b) * 16) / 16, 0.5,
                            {GLfloat(30 * k), 255, 0, 255})};
      for (GlVertex &x : v) x.color = &x.colors[__GL_FRONTFACE];
      gc->vertexBuffer.provoking = &v[2];
      if (hardware)
        __glSiSRenderFlatTriangle(gc, &v[0], &v[1], &v[2]);
      else
        __glFillTriangle(gc, &v[0], &v[1], &v[2]);
    }
    gc->vertexBuffer.provoking = nullptr;
  });
  EXPECT_EQ(c.differing, c.allowed[SIS6326_ALLOWED_EDGE]) << hwcompare::Describe(c);
}

INSTANTIATE_TEST_SUITE_P(Chips, TriangleAgainstSoftware,
                         ::testing::Values(hwcompare::kRevisionPlain, hwcompare::kRevisionOrdered),
                         hwcompare::ChipName);

}  // namespace
