// The triangle picker: the face state, the render and fill procedures by
// mode and state, the fast rasterizer asked first in GL_RENDER only, the
// trap, and primitive assembly's triangle procedures.
#include <gtest/gtest.h>

#include <cmath>

#include "core/s_pick.h"
#include "raster/s_pgdraw_aa.h"
#include "raster/s_triangle.h"
#include "raster/s_shader.h"
#include "tests/core/pickers/picker_fixture.h"

namespace {

constexpr uint32_t RGB = __GL_SHADE_RGB;
constexpr uint32_t FOG = __GL_SHADE_FOG | __GL_SHADE_ITERATE_COLOR;
constexpr uint32_t SMOOTH = __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR;
constexpr uint32_t CULL = __GL_SHADE_CULL_FACE;

// The face OpenGL gives a triangle from its window-space winding: with y
// running up, counter-clockwise means a positive area; a drawable whose
// rows run top-down shows the mirror image.
int GlFace(double area, GLenum frontFace, bool yInverted) {
  bool counterClockwise = area > 0;
  if (yInverted) counterClockwise = !counterClockwise;
  return counterClockwise == (frontFace == GL_CCW) ? __GL_FRONTFACE_INDEX : __GL_BACKFACE_INDEX;
}

// The signed area as the render procedures compute it (a - c, b - c).
float RenderArea(const float a[2], const float b[2], const float c[2]) {
  float dxAC = a[0] - c[0], dyAC = a[1] - c[1];
  float dxBC = b[0] - c[0], dyBC = b[1] - c[1];
  return dxAC * dyBC - dyAC * dxBC;
}

TEST(TrianglePicker, FacingMatchesOpenGLsWindingRule) {
  struct Triangle {
    float a[2], b[2], c[2];
  } triangles[] = {
      {{0, 0}, {4, 0}, {0, 4}},  // counter-clockwise with y up
      {{0, 0}, {0, 4}, {4, 0}},  // clockwise
      {{10, 10}, {12, 15}, {8, 14}},
      {{10, 10}, {8, 14}, {12, 15}},
  };
  for (GLenum frontFace : {GL_CCW, GL_CW}) {
    for (bool yInverted : {false, true}) {
      RasterPickerContext ctx;
      GlContext *gc = ctx.gc();
      gc->state.polygon.frontFaceDirection = frontFace;
      gc->constants.yInverted = yInverted;
      __glGenericPickTriangleProcs(gc);
      for (const Triangle &t : triangles) {
        float area = RenderArea(t.a, t.b, t.c);
        SCOPED_TRACE(testing::Message() << "front " << std::hex << frontFace << " inverted "
                                        << yInverted << " area " << area);
        int face = gc->polygon.facing[std::signbit(area) ? 0 : 1];
        EXPECT_EQ(face, GlFace(area, frontFace, yInverted));
      }
    }
  }
}

TEST(TrianglePicker, PolygonModesAndTheCulledFace) {
  struct Case {
    const char *name;
    uint32_t flags;
    GLenum cull, frontMode, backMode;
    uint8_t cullFace, mode0, mode1;
  } cases[] = {
      {"culling off", RGB, GL_FRONT, GL_FILL, GL_FILL, __GL_CULL_NONE, 2, 2},
      {"cull the front", RGB | CULL, GL_FRONT, GL_LINE, GL_POINT, __GL_FRONTFACE_INDEX, 1, 0},
      {"cull the back", RGB | CULL, GL_BACK, GL_POINT, GL_LINE, __GL_BACKFACE_INDEX, 0, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(c.flags);
    gc->state.polygon.cull = c.cull;
    gc->state.polygon.frontMode = c.frontMode;
    gc->state.polygon.backMode = c.backMode;
    gc->polygon.cullFace = 7;
    __glGenericPickTriangleProcs(gc);
    EXPECT_EQ(gc->polygon.cullFace, c.cullFace);
    EXPECT_EQ(gc->polygon.mode[0], c.mode0);
    EXPECT_EQ(gc->polygon.mode[1], c.mode1);
  }
}

struct RenderCase {
  const char *name;
  GLenum renderMode;
  uint32_t flags;
  GLenum cull, frontMode, backMode;
  bool polygonSmooth;
  const char *picked, *fill;
  const char *unfogged;  // null: left alone
  // GL_RENDER asks the fast rasterizer first; the fixture's colour buffer
  // has no fast layout, so it declines here and the generic procedures
  // show. What it installs when it takes a state is tested with real
  // buffers beside the fast rasterizer.
  bool asksFastRasterizer;
};

const RenderCase kRenders[] = {
    {"smooth fill", GL_RENDER, RGB | SMOOTH, GL_BACK, GL_FILL, GL_FILL, false,
     "__glRenderSmoothTriangle", "__glFillTriangle", nullptr, true},
    {"flat fill", GL_RENDER, RGB, GL_BACK, GL_FILL, GL_FILL, false, "__glRenderFlatTriangle",
     "__glFillTriangle", nullptr, true},
    {"a face in line mode", GL_RENDER, RGB | SMOOTH, GL_BACK, GL_FILL, GL_LINE, false,
     "__glRenderTriangle", "__glFillTriangle", nullptr, true},
    {"a face in point mode", GL_RENDER, RGB, GL_BACK, GL_POINT, GL_FILL, false,
     "__glRenderTriangle", "__glFillTriangle", nullptr, true},
    {"polygon smoothing", GL_RENDER, RGB | SMOOTH, GL_BACK, GL_FILL, GL_FILL, true,
     "__glRenderSmoothTriangle", "__glFillAntiAliasedTriangle", nullptr, true},
    {"flat fog wraps the fill", GL_RENDER, RGB | FOG, GL_BACK, GL_FILL, GL_FILL, false,
     "__glRenderFlatTriangle", "__glFillFlatFogTriangle", "__glFillTriangle", true},
    {"flat fog wraps the smoothed fill", GL_RENDER, RGB | FOG, GL_BACK, GL_FILL, GL_FILL, true,
     "__glRenderFlatTriangle", "__glFillFlatFogTriangle", "__glFillAntiAliasedTriangle", true},
    {"smooth shading fogs per vertex", GL_RENDER, RGB | FOG | SMOOTH, GL_BACK, GL_FILL, GL_FILL,
     false, "__glRenderSmoothTriangle", "__glFillTriangle", nullptr, true},
    {"per-fragment fog needs no wrapper", GL_RENDER, RGB | FOG | __GL_SHADE_FRAGMENT_FOG, GL_BACK,
     GL_FILL, GL_FILL, false, "__glRenderFlatTriangle", "__glFillTriangle", nullptr, true},
    {"feedback", GL_FEEDBACK, RGB | FOG, GL_BACK, GL_FILL, GL_FILL, false, "__glFeedbackTriangle",
     "__glNopFillTriangle", nullptr, false},
    {"selection", GL_SELECT, RGB | CULL, GL_FRONT, GL_FILL, GL_FILL, false, "__glSelectTriangle",
     "__glNopFillTriangle", nullptr, false},
    {"both faces culled", GL_RENDER, RGB | CULL, GL_FRONT_AND_BACK, GL_FILL, GL_FILL, false,
     "__glDontRenderTriangle", "__glNopFillTriangle", nullptr, false},
    {"both faces culled reports no feedback", GL_FEEDBACK, RGB | CULL, GL_FRONT_AND_BACK, GL_FILL,
     GL_FILL, false, "__glDontRenderTriangle", "__glNopFillTriangle", nullptr, false},
    {"both faces culled reports no hits", GL_SELECT, RGB | CULL, GL_FRONT_AND_BACK, GL_FILL,
     GL_FILL, false, "__glDontRenderTriangle", "__glNopFillTriangle", nullptr, false},
    {"GL_FRONT_AND_BACK without culling draws", GL_RENDER, RGB, GL_FRONT_AND_BACK, GL_FILL, GL_FILL,
     false, "__glRenderFlatTriangle", "__glFillTriangle", nullptr, true},
};

TEST(TrianglePicker, TheRenderProcedureWaitsBehindTheTrapInEveryMode) {
  for (const RenderCase &c : kRenders) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->renderMode = c.renderMode;
    ctx.SetFlags(c.flags);
    gc->state.polygon.cull = c.cull;
    gc->state.polygon.frontMode = c.frontMode;
    gc->state.polygon.backMode = c.backMode;
    if (c.polygonSmooth) gc->state.enables.general |= __GL_POLYGON_SMOOTH_ENABLE;
    GlProcs &p = gc->procs;
    p.fillTriangleUnfogged = __glFillFlatFogTriangle;  // a marker: left alone unless wrapped
    __glGenericPickTriangleProcs(gc);
    EXPECT_EQ(NameOf(p.renderTriangle), "__glRenderTriangleSyncTrap");
    EXPECT_EQ(NameOf(p.renderTriangleTrap), "__glRenderTriangleSyncTrap");
    EXPECT_EQ(NameOf(p.renderTrianglePicked), c.picked);
    EXPECT_EQ(NameOf(p.fillTriangle), c.fill);
    EXPECT_EQ(NameOf(p.fillTriangleUnfogged), c.unfogged ? c.unfogged : "__glFillFlatFogTriangle");
  }
}

TEST(TrianglePicker, TheEmptyFillDoesNothing) {
  RasterPickerContext ctx;
  GlVertex v[3] = {};
  StandInLog log;
  __glNopFillTriangle(ctx.gc(), &v[0], &v[1], &v[2]);
  EXPECT_TRUE(log.calls().empty());
}

TEST(TrianglePicker, PrimitiveAssemblyAlwaysTakesTheLockingForms) {
  for (uint32_t needs : {0u, 0x1u}) {
    RasterPickerContext ctx;
    ctx.gc()->vertexBuffer.frontNeeds = needs;
    __glGenericPickTriangleProcs(ctx.gc());
    const GlProcs &p = ctx.gc()->procs;
    const char *expected[13] = {"null",
                                "null",
                                "null",
                                "null",
                                "null",
                                "__glOtherTFanVertexLock",
                                "__glEvenTStripVertexLock",
                                "__glOddTStripVertexLock",
                                "__glThirdTrianglesVertexLock",
                                "__glFourthQStripVertexLock",
                                "__glFourthQuadsVertexLock",
                                "__glPolygonVertexLock",
                                "__glEndPolygonLock"};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(NameOf(p.primSteady[i]), expected[i]) << i;
  }
}

}  // namespace
