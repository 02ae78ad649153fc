// The buffer objects' own picks, as their initialisers install them: the
// stencil buffer rebuilds its tables only when they are dirty (or missing);
// the colour buffers install their own picks; the depth pick installs the
// store of its index.
#include <gtest/gtest.h>

#include <string.h>

#include "raster/s_buffers.h"
#include "raster/s_ci.h"
#include "raster/s_depth.h"
#include "raster/s_rgb.h"
#include "raster/s_stencil.h"
#include "tests/core/pickers/picker_fixture.h"

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
    gc->modes.stencilBits = 8;
    gc->state.stencil.testFunc = GL_ALWAYS;
    GlStencilBuffer *sfb = &gc->stencilBuffer;
    __glInitStencil8(sfb, gc);
    ASSERT_NE(sfb->pick, nullptr);
    gc->tableDirtyMask = 0;
    sfb->pick(gc, sfb);
    ASSERT_NE(sfb->testMap, nullptr) << "a buffer without maps builds them";
    // Marked, so that a rebuild shows.
    memset(sfb->testMap, 0xEE, __GL_STENCIL_MAP_SIZE);
    gc->tableDirtyMask = c.tableDirty;
    sfb->pick(gc, sfb);
    EXPECT_EQ(sfb->testMap[0] != 0xEE, c.validates);
    EXPECT_EQ(gc->tableDirtyMask, c.tableDirty) << "the pass clears the word, not the pick";
    sfb->buf.free(&sfb->buf, gc);
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
  ASSERT_EQ(gc->frontBuffer.pick, rgb::Pick16) << "16-bit pixels";
  gc->frontBuffer.pick(gc, &gc->frontBuffer);
  __glInitCI(&gc->backBuffer, gc);
  ASSERT_EQ(gc->backBuffer.pick, ci::Pick);
  gc->backBuffer.pick(gc, &gc->backBuffer);
  __glInitDepth(&gc->depthBuffer, gc);
  ASSERT_EQ(gc->depthBuffer.pick, depth::Pick);
  gc->depthBuffer.pick(gc, &gc->depthBuffer, 3);
  EXPECT_EQ(gc->depthBuffer.store, __glStoreProcs[3]);
  EXPECT_TRUE(log.calls().empty());
}

}  // namespace
