// Triangles without area and triangles whose window coordinates are NaN or
// infinite. A zero area still has a sign bit: -0.0 takes the face of
// negative areas. Zero-area triangles are dropped in fill mode only; NaN
// areas are faced by their sign bit and handed to the fill like any other.
#include <gtest/gtest.h>
#include <string.h>

#include <cmath>
#include <vector>

#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "tests/raster/render/render_bench.h"

namespace {

const std::vector<std::string> kLines = {"line a b", "line b c", "line c a"};
const std::vector<std::string> kPoints = {"point a", "point b", "point c"};
const std::vector<std::string> kNothing = {};

// Collinear a, b, c whose single-precision area comes out -0.0 or +0.0.
const float kVerticalMinus[6] = {5, 7, 5, 1, 5, 3};    // 0 * -2 - 4 * 0
const float kVerticalPlus[6] = {5, 1, 5, 7, 5, 3};     // 0 * 4 - (-2) * 0
const float kHorizontalMinus[6] = {3, 5, 9, 5, 7, 5};  // -4 * 0 - 0 * 2
const float kHorizontalPlus[6] = {9, 5, 3, 5, 7, 5};   // 2 * 0 - 0 * (-4)
const float kSlanted[6] = {1, 1, 3, 3, 2, 2};          // -1 - (-1)
const float kOnePoint[6] = {4, 4, 4, 4, 4, 4};

struct ZeroCase {
  const char *name;
  const float *xy;
  GLenum frontFace, cull, mode;
  const std::vector<std::string> *calls;
};

const ZeroCase kZeroCases[] = {
    {"-0 fill", kVerticalMinus, GL_CCW, 0, GL_FILL, &kNothing},
    {"+0 fill", kVerticalPlus, GL_CCW, 0, GL_FILL, &kNothing},
    {"one point fill", kOnePoint, GL_CCW, 0, GL_FILL, &kNothing},
    {"slanted fill", kSlanted, GL_CCW, 0, GL_FILL, &kNothing},
    {"-0 lines", kVerticalMinus, GL_CCW, 0, GL_LINE, &kLines},
    {"-0 lines, back culled (-0 is back under GL_CCW)", kVerticalMinus, GL_CCW, GL_BACK, GL_LINE,
     &kNothing},
    {"-0 lines, front culled", kVerticalMinus, GL_CCW, GL_FRONT, GL_LINE, &kLines},
    {"+0 lines, back culled", kVerticalPlus, GL_CCW, GL_BACK, GL_LINE, &kLines},
    {"+0 lines, front culled", kVerticalPlus, GL_CCW, GL_FRONT, GL_LINE, &kNothing},
    {"-0 horizontal points, back culled", kHorizontalMinus, GL_CCW, GL_BACK, GL_POINT, &kNothing},
    {"-0 horizontal points, front culled", kHorizontalMinus, GL_CCW, GL_FRONT, GL_POINT,
     &kPoints},
    {"+0 horizontal points, back culled", kHorizontalPlus, GL_CCW, GL_BACK, GL_POINT, &kPoints},
    {"-0 under GL_CW is front", kVerticalMinus, GL_CW, GL_FRONT, GL_LINE, &kNothing},
    {"+0 under GL_CW is back", kVerticalPlus, GL_CW, GL_FRONT, GL_LINE, &kLines},
    {"slanted +0 points, front culled", kSlanted, GL_CCW, GL_FRONT, GL_POINT, &kNothing},
    {"one point, lines", kOnePoint, GL_CCW, GL_BACK, GL_LINE, &kLines},
};

TEST(RenderZeroArea, DroppedInFillOnlyAndFacedBySignBit) {
  for (const ZeroCase &c : kZeroCases) {
    for (bool smooth : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.name << (smooth ? ", smooth" : ", flat"));
      RenderBench bench;
      bench.SetFlags(__GL_SHADE_RGB | (smooth ? SMOOTH : FLAT));
      bench.PickFaces(c.frontFace, false, c.cull, c.mode, c.mode);
      bench.Place(c.xy);
      const RenderBench::Snapshot before = bench.Take();
      __glRenderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
      EXPECT_EQ(bench.calls(), *c.calls);
      bench.ExpectUnchanged(before);
      bench.ExpectFrontColors();
    }
  }
}

// The fill-only procedures return before facing, culling or validating.
TEST(RenderZeroArea, TheFillOnlyProceduresDropItFirst) {
  for (Render render : {__glRenderSmoothTriangle, __glRenderFlatTriangle}) {
    for (const float *xy : {kVerticalMinus, kVerticalPlus, kHorizontalMinus, kHorizontalPlus,
                            kSlanted, kOnePoint}) {
      RenderBench bench;
      bench.PickFaces(GL_CCW, false, 0);
      GlVertexBuffer &vb = bench.gc()->vertexBuffer;
      vb.baseNeeds = __GL_HAS_TEXTURE;
      vb.frontNeeds = vb.backNeeds = __GL_HAS_FRONT_COLOR | __GL_HAS_NORMAL;
      bench.Place(xy);
      const RenderBench::Snapshot before = bench.Take();
      render(bench.gc(), bench.a(), bench.b(), bench.c());
      EXPECT_TRUE(bench.calls().empty());
      bench.ExpectUnchanged(before);
    }
  }
}

float Bits(uint32_t bits) {
  float f;
  memcpy(&f, &bits, 4);
  return f;
}

struct OddCase {
  const char *name;
  char vertex, axis;  // the coordinate replaced
  float value;
  char vertex2, axis2;  // a second one, or 0
  float value2;
  int face;  // by the sign bit of the area, front face GL_CCW
};

const float kInf = INFINITY;

// On x86 a NaN operand comes through a subtraction or product with its sign
// and payload as they were; inf - inf makes the default NaN, sign bit set.
const OddCase kOddCases[] = {
    {"a.x NaN", 'a', 'x', Bits(0x7FC01234), 0, 0, 0, __GL_FRONTFACE_INDEX},
    {"a.x NaN, sign set", 'a', 'x', Bits(0xFFC01234), 0, 0, 0, __GL_BACKFACE_INDEX},
    {"a.y NaN, sign set", 'a', 'y', Bits(0xFFC00001), 0, 0, 0, __GL_BACKFACE_INDEX},
    {"b.x NaN", 'b', 'x', Bits(0x7FC00000), 0, 0, 0, __GL_FRONTFACE_INDEX},
    {"b.y NaN, sign set", 'b', 'y', Bits(0xFFC00000), 0, 0, 0, __GL_BACKFACE_INDEX},
    {"c.x NaN, sign set", 'c', 'x', Bits(0xFFC00000), 0, 0, 0, __GL_BACKFACE_INDEX},
    {"c.y NaN", 'c', 'y', Bits(0x7FC00000), 0, 0, 0, __GL_FRONTFACE_INDEX},
    {"a.x infinite", 'a', 'x', kInf, 0, 0, 0, __GL_BACKFACE_INDEX},        // -inf - (-100)
    {"a.y infinite", 'a', 'y', kInf, 0, 0, 0, __GL_BACKFACE_INDEX},        // -0 - inf
    {"a.y minus infinity", 'a', 'y', -kInf, 0, 0, 0, __GL_FRONTFACE_INDEX},  // -0 + inf
    {"inf - inf", 'a', 'x', kInf, 'c', 'x', kInf, __GL_BACKFACE_INDEX},
};

TEST(RenderOddCoordinates, NaNAndInfiniteAreasAreFacedBySignBitAndReachTheFill) {
  const Render renders[] = {__glRenderTriangle, __glRenderSmoothTriangle, __glRenderFlatTriangle};
  for (const OddCase &c : kOddCases) {
    for (Render render : renders) {
      for (GLenum cull : {GLenum(0), GLenum(GL_FRONT), GLenum(GL_BACK)}) {
        SCOPED_TRACE(testing::Message() << c.name << ", cull 0x" << std::hex << cull);
        RenderBench bench;
        bench.PickFaces(GL_CCW, false, cull);
        bench.Place(kFront);
        float &first = c.axis == 'x' ? bench.vertex(c.vertex)->window.x
                                     : bench.vertex(c.vertex)->window.y;
        first = c.value;
        if (c.vertex2) {
          float &second = c.axis2 == 'x' ? bench.vertex(c.vertex2)->window.x
                                         : bench.vertex(c.vertex2)->window.y;
          second = c.value2;
        }
        const RenderBench::Snapshot before = bench.Take();
        render(bench.gc(), bench.a(), bench.b(), bench.c());
        const bool culled = (cull == GL_FRONT && c.face == __GL_FRONTFACE_INDEX) ||
                            (cull == GL_BACK && c.face == __GL_BACKFACE_INDEX);
        EXPECT_EQ(bench.calls(), culled ? kNothing : std::vector<std::string>{"fill a b c"});
        bench.ExpectUnchanged(before);
      }
    }
  }
}

// In GL_LINE and GL_POINT modes the odd vertices go on to the line and
// point slots unchanged.
TEST(RenderOddCoordinates, PolygonModesHandThemOn) {
  for (GLenum mode : {GL_LINE, GL_POINT}) {
    RenderBench bench;
    bench.PickFaces(GL_CCW, false, 0, mode, mode);
    bench.Place(kFront);
    bench.a()->window.x = Bits(0xFFC00000);
    bench.b()->window.y = kInf;
    const RenderBench::Snapshot before = bench.Take();
    __glRenderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
    EXPECT_EQ(bench.calls(), mode == GL_LINE ? kLines : kPoints);
    bench.ExpectUnchanged(before);
  }
}

}  // namespace
