// The choice of the per-vertex colour procedures (ComputeLightProcs): state
// in, the three colour slots out.
#include <gtest/gtest.h>

#include <string>

#include "core/s_nop.h"
#include "geometry/s_light_calc.h"
#include "geometry/s_light_fog.h"
#include "geometry/s_lighting.h"
#include "raster/s_shader.h"
#include "tests/geometry/lighting/light_fixture.h"

namespace {

const GlCalcColorProc kNop = __glNopProc<GlCalcColorProc>();

std::string Name(GlCalcColorProc p) {
  struct Known {
    GlCalcColorProc proc;
    const char *name;
  } known[] = {
      {kNop, "nop"},
      {__glFastCalcRGBColor, "__glFastCalcRGBColor"},
      {__glK3DFastCalcRGBColor, "__glK3DFastCalcRGBColor"},
      {__glI386CalcRGBColor, "__glI386CalcRGBColor"},
      {__glK3DCalcRGBColor, "__glK3DCalcRGBColor"},
      {__glFastCalcCIColor, "__glFastCalcCIColor"},
      {__glFastCalcCIColor_ShiftOffset, "__glFastCalcCIColor_ShiftOffset"},
      {__glCalcCIColor, "__glCalcCIColor"},
      {__glFogRGBColor, "__glFogRGBColor"},
      {__glFogCIColor, "__glFogCIColor"},
      {__glFogLitRGBColor, "__glFogLitRGBColor"},
      {__glFogLitCIColor, "__glFogLitCIColor"},
  };
  for (const Known &k : known)
    if (k.proc == p) return k.name;
  return p ? "unknown" : "null";
}

// Light 0 is always a fast light; light 3 is what the row says.
enum class Lights { kNone, kFast, kPositional, kSpot, kLocalViewer };

constexpr GlRasterModeFlags kFog = __GL_SHADE_FOG;
constexpr GlRasterModeFlags kSmooth = __GL_SHADE_SMOOTH_LIGHT;
constexpr GlRasterModeFlags kNicest = __GL_SHADE_FRAGMENT_FOG;

struct Row {
  const char *what;
  bool lighting, colorIndex;
  Lights lights;
  GlCpuFlags cpu;
  GlRasterModeFlags flags;
  GLenum renderMode;
  bool indexMaterial;
  GLfloat frontShift, backOffset;
  GlCalcColorProc color, lit, rasterPos;
};

const Row kRows[] = {
    {"unlit", false, false, Lights::kFast, 0, kSmooth, GL_RENDER, false, 0, 0, kNop, kNop, kNop},
    {"unlit, smooth fog", false, false, Lights::kFast, 0, kFog | kSmooth, GL_RENDER, false, 0, 0,
     __glFogRGBColor, kNop, kNop},
    {"unlit index, smooth fog", false, true, Lights::kFast, 0, kFog | kSmooth, GL_RENDER, false, 0,
     0, __glFogCIColor, kNop, kNop},
    {"unlit, flat fog", false, false, Lights::kFast, 0, kFog, GL_RENDER, false, 0, 0, kNop, kNop,
     kNop},
    {"unlit, smooth fog in feedback", false, false, Lights::kFast, 0, kFog | kSmooth, GL_FEEDBACK,
     false, 0, 0, kNop, kNop, kNop},
    {"unlit, fog per fragment", false, false, Lights::kFast, 0, kFog | kSmooth | kNicest, GL_RENDER,
     false, 0, 0, kNop, kNop, kNop},
    {"fast", true, false, Lights::kFast, 0, kSmooth, GL_RENDER, false, 0, 0, __glFastCalcRGBColor,
     __glFastCalcRGBColor, __glFastCalcRGBColor},
    {"no light enabled", true, false, Lights::kNone, 0, 0, GL_RENDER, false, 0, 0,
     __glFastCalcRGBColor, __glFastCalcRGBColor, __glFastCalcRGBColor},
    {"fast, 3DNow!", true, false, Lights::kFast, __GL_CPU_K3D, 0, GL_RENDER, false, 0, 0,
     __glK3DFastCalcRGBColor, __glK3DFastCalcRGBColor, __glK3DFastCalcRGBColor},
    {"one positional light", true, false, Lights::kPositional, 0, 0, GL_RENDER, false, 0, 0,
     __glI386CalcRGBColor, __glI386CalcRGBColor, __glI386CalcRGBColor},
    {"one spot, 3DNow!", true, false, Lights::kSpot, __GL_CPU_K3D | __GL_CPU_MMX, 0, GL_RENDER,
     false, 0, 0, __glK3DCalcRGBColor, __glK3DCalcRGBColor, __glK3DCalcRGBColor},
    {"local viewer", true, false, Lights::kLocalViewer, __GL_CPU_MMX, 0, GL_RENDER, false, 0, 0,
     __glI386CalcRGBColor, __glI386CalcRGBColor, __glI386CalcRGBColor},
    {"fast, smooth fog", true, false, Lights::kFast, 0, kFog | kSmooth, GL_RENDER, false, 0, 0,
     __glFogLitRGBColor, __glFastCalcRGBColor, __glFastCalcRGBColor},
    {"full, 3DNow!, smooth fog", true, false, Lights::kSpot, __GL_CPU_K3D, kFog | kSmooth,
     GL_RENDER, false, 0, 0, __glFogLitRGBColor, __glK3DCalcRGBColor, __glK3DCalcRGBColor},
    {"fast, smooth fog in selection", true, false, Lights::kFast, 0, kFog | kSmooth, GL_SELECT,
     false, 0, 0, __glFastCalcRGBColor, __glFastCalcRGBColor, __glFastCalcRGBColor},
    {"fast, fog per fragment", true, false, Lights::kFast, 0, kFog | kSmooth | kNicest, GL_RENDER,
     false, 0, 0, __glFastCalcRGBColor, __glFastCalcRGBColor, __glFastCalcRGBColor},
    {"index, fast", true, true, Lights::kFast, 0, 0, GL_RENDER, false, 0, 0, __glFastCalcCIColor,
     __glFastCalcCIColor, __glFastCalcCIColor},
    {"index, fast, 3DNow! changes nothing", true, true, Lights::kFast, __GL_CPU_K3D, 0, GL_RENDER,
     false, 0, 0, __glFastCalcCIColor, __glFastCalcCIColor, __glFastCalcCIColor},
    {"index, front shift", true, true, Lights::kFast, 0, 0, GL_RENDER, false, 1, 0,
     __glFastCalcCIColor_ShiftOffset, __glFastCalcCIColor_ShiftOffset,
     __glFastCalcCIColor_ShiftOffset},
    {"index, back offset", true, true, Lights::kFast, 0, 0, GL_RENDER, false, 0, -2,
     __glFastCalcCIColor_ShiftOffset, __glFastCalcCIColor_ShiftOffset,
     __glFastCalcCIColor_ShiftOffset},
    {"index material", true, true, Lights::kFast, 0, 0, GL_RENDER, true, 0, 0,
     __glFastCalcCIColor_ShiftOffset, __glFastCalcCIColor_ShiftOffset,
     __glFastCalcCIColor_ShiftOffset},
    {"index, positional", true, true, Lights::kPositional, 0, 0, GL_RENDER, true, 1, 1,
     __glCalcCIColor, __glCalcCIColor, __glCalcCIColor},
    {"index, fast, smooth fog", true, true, Lights::kFast, 0, kFog | kSmooth, GL_RENDER, false, 0,
     0, __glFogLitCIColor, __glFastCalcCIColor, __glFastCalcCIColor},
    {"index, fast, fog per fragment", true, true, Lights::kFast, 0, kFog | kSmooth | kNicest,
     GL_RENDER, false, 0, 0, __glFastCalcCIColor, __glFastCalcCIColor, __glFastCalcCIColor},
    {"no light enabled, 3DNow!", true, false, Lights::kNone, __GL_CPU_K3D, 0, GL_RENDER, false, 0,
     0, __glK3DFastCalcRGBColor, __glK3DFastCalcRGBColor, __glK3DFastCalcRGBColor},
    {"fast, 3DNow!, smooth fog", true, false, Lights::kFast, __GL_CPU_K3D, kFog | kSmooth,
     GL_RENDER, false, 0, 0, __glFogLitRGBColor, __glK3DFastCalcRGBColor,
     __glK3DFastCalcRGBColor},
    {"one positional light, smooth fog", true, false, Lights::kPositional, __GL_CPU_MMX,
     kFog | kSmooth, GL_RENDER, false, 0, 0, __glFogLitRGBColor, __glI386CalcRGBColor,
     __glI386CalcRGBColor},
    {"local viewer, 3DNow!", true, false, Lights::kLocalViewer, __GL_CPU_K3D, 0, GL_RENDER, false,
     0, 0, __glK3DCalcRGBColor, __glK3DCalcRGBColor, __glK3DCalcRGBColor},
    {"index, spot, 3DNow! changes nothing", true, true, Lights::kSpot, __GL_CPU_K3D, 0, GL_RENDER,
     false, 0, 0, __glCalcCIColor, __glCalcCIColor, __glCalcCIColor},
    {"index, local viewer, no shift or offset", true, true, Lights::kLocalViewer, 0, 0, GL_RENDER,
     false, 0, 0, __glCalcCIColor, __glCalcCIColor, __glCalcCIColor},
    {"index, positional, smooth fog", true, true, Lights::kPositional, 0, kFog | kSmooth,
     GL_RENDER, false, 0, 0, __glFogLitCIColor, __glCalcCIColor, __glCalcCIColor},
};

LightSetup SetupFor(const Row &row) {
  LightSetup setup;
  setup.colorIndex = row.colorIndex;
  setup.cpu = row.cpu;
  return setup;
}

void Apply(LightContext &ctx, const Row &row) {
  GlContext *gc = ctx.gc();
  ctx.setEnable(__GL_LIGHTING_ENABLE, row.lighting);
  ctx.setEnable(__GL_INDEX_MATERIAL_ENABLE, row.indexMaterial);
  ctx.setLights(row.lights == Lights::kNone ? 0 : 0x9);
  GlLight &special = ctx.light(3);
  special.positionEye.w = row.lights == Lights::kPositional ? 1.0f : 0.0f;
  special.spotLightCutOffAngle = row.lights == Lights::kSpot ? 60.0f : 180.0f;
  gc->state.light.model.localViewer = row.lights == Lights::kLocalViewer;
  gc->state.light.front.indexShift = row.frontShift;
  gc->state.light.back.indexOffset = row.backOffset;
  gc->polygon.shader.modeFlags = row.flags;
  gc->renderMode = row.renderMode;
}

void ExpectProcs(const GlContext *gc, const Row &row) {
  EXPECT_EQ(Name(gc->procs.calcColor), Name(row.color));
  EXPECT_EQ(Name(gc->procs.calcLitColor), Name(row.lit));
  EXPECT_EQ(Name(gc->procs.calcRasterPosColor), Name(row.rasterPos));
}

TEST(LightProcs, ChosenByStateOnValidation) {
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.what);
    LightContext ctx(SetupFor(row));
    Apply(ctx, row);
    ctx.validate();
    ExpectProcs(ctx.gc(), row);
  }
}

// Fog, shading and render mode mark only the generic bit: the choice must
// follow them through a validation that leaves the light caches alone.
TEST(LightProcs, FollowTheRasterModeWithoutLightingChanges) {
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.what);
    LightContext ctx(SetupFor(row));
    Apply(ctx, row);
    const GlRasterModeFlags flags = row.flags;
    const GLenum mode = row.renderMode;
    ctx.gc()->polygon.shader.modeFlags = 0;
    ctx.gc()->renderMode = GL_RENDER;
    ctx.validate();
    ctx.gc()->polygon.shader.modeFlags = flags;
    ctx.gc()->renderMode = mode;
    ctx.gc()->dirtyMask = __GL_DIRTY_GENERIC;
    __glValidateLighting(ctx.gc());
    ExpectProcs(ctx.gc(), row);
  }
}

// glMaterial marks nothing, yet an index shift or offset chooses between the
// colour-index procedures: the material validation must choose again.
TEST(LightProcs, IndexShiftFromMaterialChoosesAgainAtOnce) {
  struct Case {
    const char *what;
    GLfloat shift, offset;
    GlCalcColorProc want;
  } cases[] = {
      {"shift", 2.0f, 0.0f, __glFastCalcCIColor_ShiftOffset},
      {"offset", 0.0f, 3.0f, __glFastCalcCIColor_ShiftOffset},
      {"both back to 0", 0.0f, 0.0f, __glFastCalcCIColor},
  };
  LightSetup setup;
  setup.colorIndex = true;
  LightContext ctx(setup);
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.validate();
  ASSERT_EQ(Name(ctx.gc()->procs.calcColor), "__glFastCalcCIColor");
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ctx.material(__GL_BACKFACE).indexShift = c.shift;
    ctx.material(__GL_BACKFACE).indexOffset = c.offset;
    __glValidateMaterial(ctx.gc(), 0, __GL_MATERIAL_COLORINDEXES);
    EXPECT_EQ(Name(ctx.gc()->procs.calcColor), Name(c.want));
  }
}

}  // namespace
