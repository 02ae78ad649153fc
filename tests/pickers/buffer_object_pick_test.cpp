// The buffer objects' own picks, as their initialisers install them: the
// stencil buffer rebuilds its tables only when they are dirty; the colour
// and depth picks are stand-ins that report their call.
#include <gtest/gtest.h>

#include "raster/s_buffers.h"
#include "tests/pickers/picker_fixture.h"

namespace {

TEST(StencilBufferPick, RebuildsTheTablesOnlyWhenTheyAreDirty) {
  struct Case {
    uint32_t tableDirty;
    bool validates;
  } cases[] = {{0x0, false}, {0x1, false}, {0x8, false}, {0x9, false},
               {0x2, true},  {0x4, true},  {0x6, true},  {0xFFFFFFFF, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.tableDirty);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    __glInitStencil8(&gc->stencilBuffer, gc);
    ASSERT_NE(gc->stencilBuffer.pick, nullptr);
    gc->tableDirtyMask = c.tableDirty;
    StandInLog log;
    gc->stencilBuffer.pick(gc, &gc->stencilBuffer);
    EXPECT_EQ(log.Saw("__glValidateStencil"), c.validates);
    EXPECT_EQ(gc->tableDirtyMask, c.tableDirty) << "the pass clears the word, not the pick";
  }
}

TEST(ColourAndDepthBufferPicks, EveryInitialiserInstallsAPick) {
  RasterPickerContext ctx;
  GlContext *gc = ctx.gc();
  gc->modes.redBits = gc->modes.blueBits = 5;
  gc->modes.greenBits = 6;
  gc->modes.indexBits = 8;
  gc->modes.depthBits = 16;
  StandInLog log;
  __glInitRGB(&gc->frontBuffer, gc);
  ASSERT_NE(gc->frontBuffer.pick, nullptr);
  gc->frontBuffer.pick(gc, &gc->frontBuffer);
  __glInitCI(&gc->backBuffer, gc);
  ASSERT_NE(gc->backBuffer.pick, nullptr);
  gc->backBuffer.pick(gc, &gc->backBuffer);
  __glInitDepth(&gc->depthBuffer, gc);
  ASSERT_NE(gc->depthBuffer.pick, nullptr);
  gc->depthBuffer.pick(gc, &gc->depthBuffer, 3);
  EXPECT_EQ(log.calls(), (std::vector<std::string>{"RGB Pick", "CI Pick", "Depth Pick"}));
}

}  // namespace
