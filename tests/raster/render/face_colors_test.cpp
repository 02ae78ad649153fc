// The colour set a triangle is drawn with: the back set only for a back
// face under two-sided lighting, on every vertex in smooth shading and
// through the provoking vertex in flat shading; the pointers seen while the
// fill, line or point slot runs, and the front sets afterwards.
#include <gtest/gtest.h>

#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "tests/raster/render/render_bench.h"

namespace {

struct Case {
  const char *name;
  Render render;
  uint32_t flags;
  bool back;              // draw the clockwise triangle
  char provoking;         // 'c' or the clipper-made 'p'
  GLenum polygonMode;     // both faces
  const char *firstCall;  // the first draw call
  const char *during;     // colour pointers of a b c p during it
};

const Case kCases[] = {
    // The general procedure, smooth shading: every vertex its own set.
    {"smooth front", __glRenderTriangle, SMOOTH | TWO, false, 'c', GL_FILL, "fill a b c",
     "a0 b0 c0 p0"},
    {"smooth back two-sided", __glRenderTriangle, SMOOTH | TWO, true, 'c', GL_FILL, "fill a b c",
     "a1 b1 c1 p0"},
    {"smooth back one-sided", __glRenderTriangle, SMOOTH, true, 'c', GL_FILL, "fill a b c",
     "a0 b0 c0 p0"},
    {"smooth back two-sided, lines", __glRenderTriangle, SMOOTH | TWO, true, 'c', GL_LINE,
     "line a b", "a1 b1 c1 p0"},
    // The general procedure, flat shading: everything points at the
    // provoking vertex's set.
    {"flat front", __glRenderTriangle, FLAT | TWO, false, 'c', GL_FILL, "fill a b c",
     "c0 c0 c0 p0"},
    {"flat back two-sided", __glRenderTriangle, FLAT | TWO, true, 'c', GL_FILL, "fill a b c",
     "c1 c1 c1 p0"},
    {"flat back one-sided", __glRenderTriangle, FLAT, true, 'c', GL_FILL, "fill a b c",
     "c0 c0 c0 p0"},
    {"flat back two-sided, clipped", __glRenderTriangle, FLAT | TWO, true, 'p', GL_FILL,
     "fill a b c", "p1 p1 p1 p1"},
    {"flat back two-sided, points", __glRenderTriangle, FLAT | TWO, true, 'p', GL_POINT,
     "point a", "p1 p1 p1 p1"},
    {"flat front, clipped, lines", __glRenderTriangle, FLAT | TWO, false, 'p', GL_LINE,
     "line a b", "p0 p0 p0 p0"},
    // The fill-only procedures.
    {"smooth fill front", __glRenderSmoothTriangle, SMOOTH | TWO, false, 'c', GL_FILL,
     "fill a b c", "a0 b0 c0 p0"},
    {"smooth fill back two-sided", __glRenderSmoothTriangle, SMOOTH | TWO, true, 'p', GL_FILL,
     "fill a b c", "a1 b1 c1 p0"},
    {"smooth fill back one-sided", __glRenderSmoothTriangle, SMOOTH, true, 'c', GL_FILL,
     "fill a b c", "a0 b0 c0 p0"},
    {"flat fill back two-sided", __glRenderFlatTriangle, FLAT | TWO, true, 'c', GL_FILL,
     "fill a b c", "a0 b0 c1 p0"},
    {"flat fill back two-sided, clipped", __glRenderFlatTriangle, FLAT | TWO, true, 'p', GL_FILL,
     "fill a b c", "a0 b0 c0 p1"},
    {"flat fill back one-sided, clipped", __glRenderFlatTriangle, FLAT, true, 'p', GL_FILL,
     "fill a b c", "a0 b0 c0 p0"},
    {"flat fill front, clipped", __glRenderFlatTriangle, FLAT | TWO, false, 'p', GL_FILL,
     "fill a b c", "a0 b0 c0 p0"},
};

TEST(RenderFaceColors, FaceSetDuringTheCallFrontSetsAfterIt) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    RenderBench bench;
    bench.SetFlags(__GL_SHADE_RGB | c.flags);
    bench.PickFaces(GL_CCW, false, 0, c.polygonMode, c.polygonMode);
    bench.gc()->vertexBuffer.provoking = bench.vertex(c.provoking);
    bench.Place(c.back ? kBack : kFront);
    const RenderBench::Snapshot before = bench.Take();
    c.render(bench.gc(), bench.a(), bench.b(), bench.c());
    ASSERT_FALSE(bench.calls().empty());
    EXPECT_EQ(bench.calls()[0], c.firstCall);
    EXPECT_EQ(bench.colors()[0], c.during);
    // Every later line or point of the triangle sees the same pointers.
    for (const std::string &seen : bench.colors()) EXPECT_EQ(seen, c.during);
    bench.ExpectFrontColors();
    bench.ExpectUnchanged(before);
  }
}

// A vertex left pointing at its back set by an earlier primitive is put
// back on its front set by the general procedure, whatever it drew.
TEST(RenderFaceColors, TheGeneralProcedureLeavesEveryVertexOnItsFrontSet) {
  for (uint32_t shading : {SMOOTH, FLAT}) {
    for (GLenum mode : {GL_POINT, GL_LINE, GL_FILL}) {
      SCOPED_TRACE(testing::Message() << "shading 0x" << std::hex << shading << " mode 0x"
                                      << mode);
      RenderBench bench;
      bench.SetFlags(__GL_SHADE_RGB | TWO | shading);
      bench.PickFaces(GL_CCW, false, 0, mode, mode);
      bench.gc()->vertexBuffer.provoking = bench.p();
      for (char name : {'a', 'b', 'c', 'p'}) {
        GlVertex *v = bench.vertex(name);
        v->color = &v->colors[__GL_BACKFACE];
      }
      bench.Place(kFront);
      __glRenderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
      EXPECT_FALSE(bench.calls().empty());
      bench.ExpectFrontColors();
    }
  }
}

}  // namespace
