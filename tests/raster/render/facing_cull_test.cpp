// Facing and culling through the picker's face state: every combination of
// front face, drawable orientation and culled face against the face OpenGL
// gives a triangle from its winding, for each render procedure; culling both
// faces draws nothing.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "tests/raster/render/render_bench.h"

namespace {

struct Triangle {
  const char *name;
  float xy[6];  // a, b, c window x, y (y up)
};

// Windings in both senses, small and large, near and far from the origin.
const Triangle kTriangles[] = {
    {"ccw right angle", {10, 10, 14, 10, 10, 14}},
    {"cw right angle", {10, 10, 10, 14, 14, 10}},
    {"ccw slanted", {10, 10, 12, 15, 8, 14}},
    {"cw slanted", {10, 10, 8, 14, 12, 15}},
    {"ccw sliver", {2048.5f, 2048.25f, 2300.75f, 2049.0f, 2048.0f, 2048.5f}},
    {"cw sliver", {2048.5f, 2048.25f, 2048.0f, 2048.5f, 2300.75f, 2049.0f}},
    {"ccw large", {1, 1, 1023, 2, 500, 1000}},
    {"cw large", {1, 1, 500, 1000, 1023, 2}},
};

// Twice the signed area, exact in double for these coordinates.
double ExactArea(const float xy[6]) {
  return (double(xy[2]) - xy[0]) * (double(xy[5]) - xy[1]) -
         (double(xy[4]) - xy[0]) * (double(xy[3]) - xy[1]);
}

// OpenGL's face: counter-clockwise on screen faces front under GL_CCW; a
// drawable whose rows run top-down shows the mirror image.
int GlFace(const float xy[6], GLenum frontFace, bool yInverted) {
  bool counterClockwise = ExactArea(xy) > 0;
  if (yInverted) counterClockwise = !counterClockwise;
  return counterClockwise == (frontFace == GL_CCW) ? __GL_FRONTFACE_INDEX : __GL_BACKFACE_INDEX;
}

struct Procedure {
  const char *name;
  Render render;
  uint32_t shading;
};

const Procedure kProcedures[] = {
    {"general smooth", __glRenderTriangle, __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR},
    {"general flat", __glRenderTriangle, 0},
    {"smooth fill", __glRenderSmoothTriangle, __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR},
    {"flat fill", __glRenderFlatTriangle, 0},
};

TEST(RenderFacing, CullingDropsTheFaceOpenGLGivesTheWinding) {
  const GLenum culls[] = {0, GL_FRONT, GL_BACK};
  for (const Procedure &proc : kProcedures) {
    for (GLenum frontFace : {GL_CCW, GL_CW}) {
      for (bool yInverted : {false, true}) {
        for (GLenum cull : culls) {
          for (const Triangle &t : kTriangles) {
            SCOPED_TRACE(testing::Message() << proc.name << ", " << t.name << ", front "
                                            << (frontFace == GL_CCW ? "ccw" : "cw")
                                            << (yInverted ? ", top-down" : "") << ", cull 0x"
                                            << std::hex << cull);
            RenderBench bench;
            bench.SetFlags(__GL_SHADE_RGB | proc.shading);
            bench.PickFaces(frontFace, yInverted, cull);
            bench.Place(t.xy);
            const RenderBench::Snapshot before = bench.Take();
            proc.render(bench.gc(), bench.a(), bench.b(), bench.c());
            const int face = GlFace(t.xy, frontFace, yInverted);
            const bool culled = (cull == GL_FRONT && face == __GL_FRONTFACE_INDEX) ||
                                (cull == GL_BACK && face == __GL_BACKFACE_INDEX);
            std::vector<std::string> expected;
            if (!culled) expected.push_back("fill a b c");
            EXPECT_EQ(bench.calls(), expected);
            bench.ExpectUnchanged(before);
          }
        }
      }
    }
  }
}

// With one face in GL_LINE the general procedure shows which face it chose.
TEST(RenderFacing, EachFaceTakesItsOwnPolygonMode) {
  for (GLenum frontFace : {GL_CCW, GL_CW}) {
    for (bool yInverted : {false, true}) {
      for (const Triangle &t : kTriangles) {
        SCOPED_TRACE(testing::Message() << t.name << ", front "
                                        << (frontFace == GL_CCW ? "ccw" : "cw")
                                        << (yInverted ? ", top-down" : ""));
        RenderBench bench;
        bench.PickFaces(frontFace, yInverted, 0, GL_LINE, GL_FILL);
        bench.Place(t.xy);
        __glRenderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
        const std::vector<std::string> front = {"line a b", "line b c", "line c a"};
        const std::vector<std::string> back = {"fill a b c"};
        EXPECT_EQ(bench.calls(), GlFace(t.xy, frontFace, yInverted) == __GL_FRONTFACE_INDEX ? front
                                                                                             : back);
      }
    }
  }
}

// GL_FRONT_AND_BACK installs the procedure that draws nothing, with the
// empty fill, in every render mode and polygon mode.
TEST(RenderFacing, CullingBothFacesDrawsNothing) {
  struct Case {
    const char *name;
    GLenum renderMode, frontMode, backMode;
    uint32_t shading;
  } cases[] = {
      {"smooth fill", GL_RENDER, GL_FILL, GL_FILL, __GL_SHADE_SMOOTH_LIGHT},
      {"flat fill", GL_RENDER, GL_FILL, GL_FILL, 0},
      {"lines", GL_RENDER, GL_LINE, GL_LINE, 0},
      {"points and fill", GL_RENDER, GL_POINT, GL_FILL, __GL_SHADE_SMOOTH_LIGHT},
      {"feedback", GL_FEEDBACK, GL_FILL, GL_FILL, 0},
      {"selection", GL_SELECT, GL_LINE, GL_FILL, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RenderBench bench;
    bench.gc()->renderMode = c.renderMode;
    bench.SetFlags(__GL_SHADE_RGB | c.shading);
    bench.PickFaces(GL_CCW, false, GL_FRONT_AND_BACK, c.frontMode, c.backMode);
    GlProcs &p = bench.gc()->procs;
    EXPECT_EQ(p.renderTrianglePicked, &__glDontRenderTriangle);
    EXPECT_EQ(p.renderTriangle, &__glRenderTriangleSyncTrap);
    // The picker left its empty fill; the bench put its recorder back.
    for (const Triangle &t : kTriangles) {
      bench.Place(t.xy);
      const RenderBench::Snapshot before = bench.Take();
      p.renderTriangle(bench.gc(), bench.a(), bench.b(), bench.c());
      bench.ExpectUnchanged(before);
    }
    EXPECT_TRUE(bench.calls().empty());
    EXPECT_EQ(bench.waits(), 1);
  }
}

}  // namespace
