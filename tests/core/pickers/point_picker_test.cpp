// The point picker: the render procedure, its fog wrapper and its trap in
// every render mode; primitive assembly's point procedure.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "raster/s_shader.h"
#include "tests/core/pickers/picker_fixture.h"

namespace {

constexpr uint32_t RGB = __GL_SHADE_RGB;
constexpr uint32_t FOG = __GL_SHADE_FOG | __GL_SHADE_ITERATE_COLOR;
constexpr uint32_t SMOOTH = __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR;

struct PointCase {
  const char *name;
  GLenum renderMode;
  uint32_t flags;
  bool smooth;
  int32_t size;
  const char *picked;
  const char *unfogged;  // null: the slot is left alone
};

const PointCase kCases[] = {
    {"one pixel, untextured", GL_RENDER, RGB, false, 1, "__glRenderAliasedPoint1_NoTex", nullptr},
    {"one pixel, textured", GL_RENDER, RGB | __GL_SHADE_TEXTURE, false, 1,
     "__glRenderAliasedPoint1", nullptr},
    {"larger", GL_RENDER, RGB | __GL_SHADE_TEXTURE, false, 3, "__glRenderAliasedPointN", nullptr},
    {"size 0 is not the one-pixel case", GL_RENDER, RGB, false, 0, "__glRenderAliasedPointN",
     nullptr},
    {"antialiased RGBA", GL_RENDER, RGB, true, 3, "__glRenderAntiAliasedRGBPoint", nullptr},
    {"antialiased colour index", GL_RENDER, 0, true, 1, "__glRenderAntiAliasedCIPoint", nullptr},
    {"flat fog wraps the point", GL_RENDER, RGB | FOG, false, 1, "__glRenderFlatFogPoint",
     "__glRenderAliasedPoint1_NoTex"},
    {"smooth shading fogs per vertex", GL_RENDER, RGB | FOG | SMOOTH, false, 1,
     "__glRenderAliasedPoint1_NoTex", nullptr},
    {"per-fragment fog takes the wrapper even when smooth", GL_RENDER,
     RGB | FOG | SMOOTH | __GL_SHADE_FRAGMENT_FOG, true, 1, "__glRenderFlatFogPoint",
     "__glRenderAntiAliasedRGBPoint"},
    {"feedback", GL_FEEDBACK, RGB | FOG, false, 1, "__glFeedbackPoint", nullptr},
    {"selection", GL_SELECT, RGB | FOG | __GL_SHADE_FRAGMENT_FOG, true, 1, "__glSelectPoint",
     nullptr},
};

TEST(PointPicker, TheRenderProcedureWaitsBehindTheTrapInEveryMode) {
  for (const PointCase &c : kCases) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->renderMode = c.renderMode;
    ctx.SetFlags(c.flags);
    if (c.smooth) gc->state.enables.general |= __GL_POINT_SMOOTH_ENABLE;
    gc->state.point.aliasedSize = c.size;
    GlProcs &p = gc->procs;
    p.renderPointUnfogged = __glFeedbackPoint;  // a marker: left alone unless wrapped
    __glGenericPickPointProcs(gc);
    EXPECT_EQ(NameOf(p.renderPoint), "__glRenderPointSyncTrap");
    EXPECT_EQ(NameOf(p.renderPointTrap), "__glRenderPointSyncTrap");
    EXPECT_EQ(NameOf(p.renderPointPicked), c.picked);
    EXPECT_EQ(NameOf(p.renderPointUnfogged), c.unfogged ? c.unfogged : "__glFeedbackPoint");
    EXPECT_EQ(NameOf(p.renderTrianglePoints), "__glRenderPointTriangle");
  }
}

TEST(PointPicker, PointsValidateOnlyWhenTheFrontFaceNeedsSomething) {
  for (uint32_t needs : {0u, 0x1u, 0x8u}) {
    SCOPED_TRACE(needs);
    RasterPickerContext ctx;
    ctx.gc()->vertexBuffer.frontNeeds = needs;
    __glGenericPickPointProcs(ctx.gc());
    const GlProcs &p = ctx.gc()->procs;
    EXPECT_EQ(NameOf(p.primSteady[0]), needs ? "__glPointLock" : "__glPointFastLock");
    for (int i = 1; i < 13; ++i) EXPECT_EQ(p.primSteady[i], nullptr) << i;
  }
}

}  // namespace
