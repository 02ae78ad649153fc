// Lazy validation before drawing: which vertices are completed, with which
// mask, through which size class's procedure, and in which order.
#include <gtest/gtest.h>

#include <vector>

#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "tests/raster/render/render_bench.h"

namespace {

constexpr uint32_t FRONT = __GL_HAS_FRONT_COLOR;
constexpr uint32_t BACK = __GL_HAS_BACK_COLOR;
constexpr uint32_t TEX = __GL_HAS_TEXTURE;
constexpr uint32_t NORMAL = __GL_HAS_NORMAL;
constexpr uint32_t EYE = __GL_HAS_EYE;
constexpr uint32_t FOG = __GL_HAS_FOG;
constexpr uint32_t S2 = __GL_HAS_SIZE2, S3 = __GL_HAS_SIZE3, S4 = __GL_HAS_SIZE4;

struct Case {
  const char *name;
  Render render;
  uint32_t flags;
  bool back;
  char provoking;
  uint32_t baseNeeds, frontNeeds, backNeeds;
  uint32_t has[4];  // a, b, c, p (the edge flag is added)
  std::vector<std::string> calls;
};

const Case kCases[] = {
    {"smooth: base and face needs, only what is missing",
     __glRenderSmoothTriangle, SMOOTH, false, 'c', TEX, TEX | FRONT | NORMAL, TEX | BACK | NORMAL,
     {S3, S4 | TEX | FRONT | NORMAL, 0, S2},
     {"validate<2> a 0xd", "validate<0> c 0xd", "fill a b c"}},
    {"smooth two-sided back face: the back needs",
     __glRenderSmoothTriangle, SMOOTH | TWO, true, 'c', 0, FRONT | NORMAL, BACK | NORMAL | EYE,
     {S4 | FRONT | NORMAL, S4 | BACK | NORMAL | EYE, S2 | FRONT, 0},
     {"validate<3> a 0x1a", "validate<1> c 0x1a", "fill a b c"}},
    {"smooth one-sided back face: the front needs",
     __glRenderSmoothTriangle, SMOOTH, true, 'c', 0, FRONT | NORMAL, BACK | NORMAL | EYE,
     {S4 | FRONT | NORMAL, S4 | BACK | NORMAL | EYE, S2 | FRONT, 0},
     {"validate<3> b 0x9", "validate<1> c 0x9", "fill a b c"}},
    {"flat: the provoking vertex first with its lighting needs, then the base",
     __glRenderFlatTriangle, FLAT, false, 'p', TEX | FOG, TEX | FOG | FRONT | NORMAL | EYE, 0,
     {S4, S4 | TEX | FOG, S3, S2},
     {"validate<1> p 0x19", "validate<3> a 0x44", "validate<2> c 0x44", "fill a b c"}},
    {"flat two-sided back: the back lighting needs",
     __glRenderFlatTriangle, FLAT | TWO, true, 'c', EYE, FRONT | EYE, BACK | NORMAL | EYE | TEX,
     {S4 | EYE, S4 | EYE, S4, 0},
     {"validate<3> c 0x1a", "fill a b c"}},
    {"flat: the provoking vertex completed already needs no second call",
     __glRenderFlatTriangle, FLAT, false, 'a', NORMAL, FRONT | NORMAL, 0,
     {S2, S2 | NORMAL, S2 | NORMAL, 0},
     {"validate<1> a 0x9", "fill a b c"}},
    {"flat: the provoking vertex again when the base asks for more",
     __glRenderFlatTriangle, FLAT, false, 'a', TEX, FRONT | TEX, 0,
     {S2, S2 | TEX, S2 | TEX, 0},
     {"validate<1> a 0x1", "validate<1> a 0x4", "fill a b c"}},
    {"flat: nothing missing",
     __glRenderFlatTriangle, FLAT, false, 'c', TEX, FRONT | TEX, 0,
     {S4 | TEX, S3 | TEX, S2 | TEX | FRONT, 0},
     {"fill a b c"}},
    {"general smooth",
     __glRenderTriangle, SMOOTH, false, 'c', TEX, FRONT | NORMAL, 0,
     {S4, S4 | TEX | FRONT | NORMAL, S4 | TEX, 0},
     {"validate<3> a 0xd", "validate<3> c 0xd", "fill a b c"}},
    {"general flat, clipped",
     __glRenderTriangle, FLAT | TWO, true, 'p', TEX, FRONT | NORMAL, BACK | NORMAL | FOG, 
     {S4, S4 | TEX, S3, S2},
     {"validate<1> p 0xa", "validate<3> a 0x4", "validate<2> c 0x4", "fill a b c"}},
    {"general smooth lines: validated before the first edge",
     __glRenderTriangle, SMOOTH, false, 'c', 0, FRONT, 0,
     {S4, S4 | FRONT, S4, 0},
     {"validate<3> a 0x1", "validate<3> c 0x1", "line a b", "line b c", "line c a"}},
};

TEST(RenderValidation, MasksOrderAndSizeClass) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    RenderBench bench;
    bench.SetFlags(__GL_SHADE_RGB | c.flags);
    const bool lines = c.calls.back().rfind("line", 0) == 0;
    bench.PickFaces(GL_CCW, false, 0, lines ? GL_LINE : GL_FILL, lines ? GL_LINE : GL_FILL);
    GlVertexBuffer &vb = bench.gc()->vertexBuffer;
    vb.baseNeeds = c.baseNeeds;
    vb.frontNeeds = c.frontNeeds;
    vb.backNeeds = c.backNeeds;
    vb.provoking = bench.vertex(c.provoking);
    for (int i = 0; i < 4; ++i) bench.vertex("abcp"[i])->has = c.has[i] | __GL_HAS_EDGEFLAG_BOUNDARY;
    bench.Place(c.back ? kBack : kFront);
    const RenderBench::Snapshot before = bench.Take();
    c.render(bench.gc(), bench.a(), bench.b(), bench.c());
    EXPECT_EQ(bench.calls(), c.calls);
    bench.ExpectUnchanged(before);
  }
}

// A culled triangle is not validated.
TEST(RenderValidation, CulledTrianglesAreNotCompleted) {
  for (Render render : {__glRenderTriangle, __glRenderSmoothTriangle, __glRenderFlatTriangle}) {
    RenderBench bench;
    bench.PickFaces(GL_CCW, false, GL_BACK);
    bench.gc()->vertexBuffer.baseNeeds = TEX;
    bench.gc()->vertexBuffer.frontNeeds = bench.gc()->vertexBuffer.backNeeds = FRONT | NORMAL;
    bench.Place(kBack);
    render(bench.gc(), bench.a(), bench.b(), bench.c());
    EXPECT_TRUE(bench.calls().empty());
  }
}

}  // namespace
