// The line, triangle, point and array pickers: the fallback flag of each
// kind for every state the chip cannot draw, the hardware procedures
// behind the traps otherwise, and the generic ones kept where they fall
// back.
#include <gtest/gtest.h>

#include <functional>

#include "core/drawable.h"
#include "core/s_backend.h"
#include "core/s_pick.h"
#include "geometry/s_pgclip.h"
#include "raster/s_triangle.h"
#include "sis/sis_context_ops.h"
#include "sis/sis_hw.h"
#include "sis/sis_primitives.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "tests/sis/pickers/picker_fixture.h"
#include "tests/support/counting_imports.h"

namespace picker_test {
namespace {

using PrimitivePick = PickerTest;

TEST_F(PrimitivePick, FallbackFlagsByState) {
  const struct {
    const char *name;
    std::function<void(GlDispatchState &)> set;
    Flags expected;
  } rows[] = {
      {"default state", [](GlDispatchState &) {}, {0, 0, 0}},
      {"line width 1.9", [](GlDispatchState &d) { d.LineWidth(1.9f); }, {0, 0, 0}},
      {"line width 2.0", [](GlDispatchState &d) { d.LineWidth(2.0f); }, {0, 1, 0}},
      {"line smooth", [](GlDispatchState &d) { d.Enable(GL_LINE_SMOOTH); }, {0, 1, 0}},
      {"polygon smooth", [](GlDispatchState &d) { d.Enable(GL_POLYGON_SMOOTH); }, {1, 0, 0}},
      {"polygon stipple", [](GlDispatchState &d) { d.Enable(GL_POLYGON_STIPPLE); }, {1, 0, 1}},
      {"polygon offset",
       [](GlDispatchState &d) {
         d.Enable(GL_DEPTH_TEST);
         d.Enable(GL_POLYGON_OFFSET_FILL);
         d.PolygonOffset(1.0f, 1.0f);
       },
       {1, 0, 0}},
      {"point smooth", [](GlDispatchState &d) { d.Enable(GL_POINT_SMOOTH); }, {0, 0, 1}},
      {"point size 2", [](GlDispatchState &d) { d.PointSize(2.0f); }, {0, 0, 1}},
      {"partial colour mask",
       [](GlDispatchState &d) { d.ColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE); },
       {1, 1, 1}},
      {"draw buffer GL_NONE", [](GlDispatchState &d) { d.DrawBuffer(GL_NONE); }, {1, 1, 1}},
      {"draw buffer GL_FRONT_AND_BACK", [](GlDispatchState &d) { d.DrawBuffer(GL_FRONT_AND_BACK); },
       {1, 1, 1}},
      // Front-buffer points would cover overlapping windows.
      {"draw buffer GL_FRONT", [](GlDispatchState &d) { d.DrawBuffer(GL_FRONT); }, {0, 0, 1}},
      {"fog under GL_NICEST",
       [](GlDispatchState &d) {
         d.Enable(GL_FOG);
         d.Hint(GL_FOG_HINT, GL_NICEST);
       },
       {1, 1, 1}},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.name);
    gl().PushAttrib(GL_ALL_ATTRIB_BITS);
    r.set(gl());
    Validate();
    EXPECT_EQ(Fallbacks(), r.expected);
    EXPECT_EQ(gc->fogInHardware, r.expected == (Flags{0, 0, 0}) ? 1 : 0);
    gl().PopAttrib();
    Validate();
    EXPECT_EQ(Fallbacks(), (Flags{0, 0, 0})) << "the flags follow the state back";
  }
}

TEST_F(PrimitivePick, TheStencilTestKeepsEveryKindInSoftware) {
  Reopen(TestModes(true, true, 16, 8, false));
  gl().Enable(GL_STENCIL_TEST);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
}

// The chip cannot read the 24-bit buffer's words, which carry clear epochs.
TEST_F(PrimitivePick, TheTwentyFourBitDepthBufferKeepsDepthTestedKindsInSoftware) {
  Reopen(TestModes(true, true, 24, 0, false));
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{0, 0, 0}));
  gl().Enable(GL_DEPTH_TEST);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
}

TEST_F(PrimitivePick, FeedbackKeepsEveryKindInSoftware) {
  GLfloat buffer[16];
  gl().FeedbackBuffer(16, GL_2D, buffer);
  gl().RenderMode(GL_FEEDBACK);
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
  gl().RenderMode(GL_RENDER);
}

TEST_F(PrimitivePick, HardwareProceduresByShadingAndDepth) {
  using Fill = void(GLFASTCALL *)(GlContext *, GlVertex *, GlVertex *, GlVertex *);
  const struct {
    GLenum shading;
    bool depth;
    Fill fill;
    GlLineProc line;
    GlTriangleProc render;
  } rows[] = {
      {GL_FLAT, false, __glSiSRenderFlatTriangle, __glSiSRenderFlatLine, __glRenderFlatTriangle},
      {GL_SMOOTH, false, __glSiSRenderSmoothTriangle, __glSiSRenderSmoothLine,
       __glRenderSmoothTriangle},
      {GL_FLAT, true, __glSiSRenderFlatDepthTriangle, __glSiSRenderFlatDepthLine,
       __glRenderFlatTriangle},
      {GL_SMOOTH, true, __glSiSRenderSmoothDepthTriangle, __glSiSRenderSmoothDepthLine,
       __glRenderSmoothTriangle},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << r.shading << (r.depth ? " depth" : ""));
    gl().ShadeModel(r.shading);
    if (r.depth)
      gl().Enable(GL_DEPTH_TEST);
    else
      gl().Disable(GL_DEPTH_TEST);
    Validate();
    const GlProcs &p = gc->procs;
    EXPECT_EQ(p.fillTriangle, r.fill);
    EXPECT_EQ(p.renderTrianglePicked, r.render);
    EXPECT_EQ(p.renderTriangle, __glRenderTriangleSyncTrap);
    EXPECT_EQ(p.renderLinePicked, r.line);
    EXPECT_EQ(p.renderLine, __glRenderLineSyncTrap);
    EXPECT_EQ(p.renderPointPicked, __glSiSRenderAliasedPoint1_NoTex);
    EXPECT_EQ(p.renderPoint, __glRenderPointSyncTrap);
    EXPECT_EQ(sis()->work.mode & 0x400, 0u);
  }
}

TEST_F(PrimitivePick, FrontBufferTrianglesAreClippedToTheWindowFirst) {
  gl().DrawBuffer(GL_FRONT);
  gl().ShadeModel(GL_FLAT);
  Validate();
  const GlProcs &p = gc->procs;
  EXPECT_EQ(p.renderTrianglePicked, __glClipAndRenderTriangle);
  EXPECT_EQ(p.renderClippedTriangle, __glRenderFlatTriangle);
  EXPECT_EQ(p.fillTriangle, __glSiSRenderFlatTriangle);
}

// Whether `fill` is one of the chip's triangle fills: a fallback keeps what
// the core's picker chose (the generic fill or the fast path's set-up).
bool IsChipFill(GlFillTriangleProc fill) {
  for (GlFillTriangleProc chip :
       {__glSiSRenderFlatTriangle, __glSiSRenderSmoothTriangle, __glSiSRenderFlatDepthTriangle,
        __glSiSRenderSmoothDepthTriangle, __glSiSTexFlatTriangle, __glSiSTexSmoothTriangle,
        __glSiSTexFlatDepthTriangle, __glSiSTexSmoothDepthTriangle})
    if (fill == chip) return true;
  return false;
}

TEST_F(PrimitivePick, FallingBackKeepsTheGenericProcedures) {
  gl().Enable(GL_POLYGON_STIPPLE);
  gl().LineWidth(3.0f);
  gl().PointSize(3.0f);
  Validate();
  const GlProcs &p = gc->procs;
  EXPECT_NE(p.fillTriangle, nullptr);
  EXPECT_FALSE(IsChipFill(p.fillTriangle));
  EXPECT_NE(p.renderLinePicked, __glSiSRenderFlatLine);
  EXPECT_NE(p.renderPointPicked, __glSiSRenderAliasedPoint1_NoTex);
  EXPECT_NE(p.renderPointPicked, __glSiSRenderAliasedPoint1);
}

// Culling both faces draws nothing: the picker keeps the empty fill.
TEST_F(PrimitivePick, CullingBothFacesKeepsTheEmptyFill) {
  gl().Enable(GL_CULL_FACE);
  gl().CullFace(GL_FRONT_AND_BACK);
  Validate();
  EXPECT_EQ(gc->procs.fillTriangle, __glNopFillTriangle);
  EXPECT_EQ(gc->procs.renderTrianglePicked, __glDontRenderTriangle);
  EXPECT_EQ(sis()->triangleFallback, 0u);
}

// Array drawing of every mode keeps the render lock, which takes the device
// lock: hardware primitives are never sent without it.
TEST_F(PrimitivePick, ArrayDrawingKeepsTheRenderLock) {
  Validate();
  EXPECT_EQ(gc->vertexArray.lockModes, ~0u);
  EXPECT_EQ(gc->procs.pickVertexArrayProcs, __glSiSPickVertexArrayProcs);
}

// A memory bitmap is drawn in software, also by a context first bound to a
// window, and the device lock of such a context is the empty one.
TEST_F(PrimitivePick, ABitmapDrawableKeepsEverythingInSoftware) {
  GlModes *modes = gc->drawablePrivate->modes;
  ASSERT_NE(modes, nullptr);
  ASSERT_EQ(gc->lockDevice, sis::LockDevice);
  modes->isBitmap = 1;
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{1, 1, 1}));
  EXPECT_EQ(gc->lockDevice, core::LockDevice);
  EXPECT_EQ(gc->unlockDevice, core::UnlockDevice);
  EXPECT_EQ(gc->procs.waitIdle, core::WaitIdle);
  EXPECT_NE(gc->procs.fillTriangle, nullptr);
  EXPECT_FALSE(IsChipFill(gc->procs.fillTriangle));
  EXPECT_NE(gc->procs.renderLinePicked, __glSiSRenderFlatLine);
  Registers();
  gc->lockRenderBuffers(gc);
  gc->unlockRenderBuffers(gc);
  EXPECT_EQ(sistest::TakeLog().size(), 0u) << "nothing reaches the chip";
  modes->isBitmap = 0;
  Validate();
  EXPECT_EQ(Fallbacks(), (Flags{0, 0, 0}));
  EXPECT_EQ(gc->lockDevice, sis::LockDevice);
  EXPECT_EQ(gc->procs.waitIdle, sis::WaitIdle);
}

}  // namespace
}  // namespace picker_test
