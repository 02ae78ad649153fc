// The fog, clip and render-bitmap pickers.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "raster/s_fog.h"
#include "tests/core/pickers/picker_fixture.h"

namespace {

TEST(FogPicker, ProceduresByEnableHintAndMode) {
  struct Case {
    bool enabled;
    GLenum hint, mode;
    const char *vertex, *fragment, *color;
  } cases[] = {
      {false, GL_DONT_CARE, GL_LINEAR, "null", "null", "null"},
      {false, GL_NICEST, GL_EXP, "null", "null", "null"},
      {true, GL_DONT_CARE, GL_LINEAR, "__glFogVertexLinear", "__glFogFragmentSlow",
       "__glFogColorSlow"},
      {true, GL_FASTEST, GL_EXP, "__glFogVertex", "__glFogFragmentSlow", "__glFogColorSlow"},
      {true, GL_DONT_CARE, GL_EXP2, "__glFogVertex", "__glFogFragmentSlow", "__glFogColorSlow"},
      {true, GL_NICEST, GL_LINEAR, "null", "__glFogFragmentSlow", "__glFogColorSlow"},
      {true, GL_NICEST, GL_EXP, "null", "__glFogFragmentSlow", "__glFogColorSlow"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.enabled << " " << std::hex << c.hint << " " << c.mode);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    if (c.enabled) gc->state.enables.general |= __GL_FOG_ENABLE;
    gc->state.hints.fog = c.hint;
    gc->state.fog.mode = c.mode;
    // Stale procedures of an earlier pick.
    gc->procs.fogVertex = __glFogVertex;
    gc->procs.fogFragment = __glFogFragmentSlow;
    gc->procs.fogColor = __glFogColorSlow;
    __glGenericPickFogProcs(gc);
    EXPECT_EQ(NameOf(gc->procs.fogVertex), c.vertex);
    EXPECT_EQ(NameOf(gc->procs.fogFragment), c.fragment);
    EXPECT_EQ(NameOf(gc->procs.fogColor), c.color);
  }
}

TEST(ClipPicker, AFlatLineClipsWithTheFlatClipper) {
  struct Case {
    GLenum shadeModel;
    const char *clipLine;
  } cases[] = {{GL_FLAT, "__glFastClipFlatLine"}, {GL_SMOOTH, "__glFastClipSmoothLine"}};
  for (const Case &c : cases) {
    RasterPickerContext ctx;
    ctx.gc()->state.light.shadingModel = c.shadeModel;
    __glGenericPickClipProcs(ctx.gc());
    EXPECT_EQ(NameOf(ctx.gc()->procs.clipLine), c.clipLine);
    EXPECT_EQ(NameOf(ctx.gc()->procs.clipTriangle), "__glClipTriangle");
  }
}

TEST(RenderBitmapPicker, InstallsTheGenericBitmap) {
  RasterPickerContext ctx;
  __glGenericPickRenderBitmapProcs(ctx.gc());
  EXPECT_EQ(NameOf(ctx.gc()->procs.renderBitmap), "__glRenderBitmap");
}

}  // namespace
