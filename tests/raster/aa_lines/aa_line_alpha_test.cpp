// A smooth line through the real line stages with the alpha test, stencil
// and depth: a pixel whose coverage takes its alpha below the reference
// runs no stencil operation and writes no depth.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <utility>

#include "core/s_pick.h"
#include "raster/s_line_aa.h"
#include "raster/s_line_walk.h"
#include "raster/s_span.h"
#include "tests/raster/aa_lines/aa_line_formula.h"
#include "tests/raster/fragment_stages/stage_fixture.h"

namespace {

using fragment_stages::kBias;
using Pixel = std::pair<int32_t, int32_t>;

std::set<Pixel> gStored;

// Takes the store's place: records the pixels that reached it.
template <bool Stippled>
GLbool8 RecordStore(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  line_walk::Dda dda(gc->line);
  for (int32_t k = 0; k < sh.length; k++, dda.Step())
    if (!Stippled || (sh.stipplePat[k >> 5] & (0x80000000u >> (k & 31))))
      gStored.insert({dda.x - kBias, dda.y - kBias});
  return 0;
}

TEST(AALineAlphaTest, RejectedPixelsLeaveDepthAndStencilAlone) {
  fragment_stages::SpanContext ctx(16, 40, 20);
  GlContext *gc = ctx.gc();
  GlConstants &k = gc->constants;
  k.half = 0.5f, k.one = 1.0f;
  k.redRescale = k.greenRescale = k.blueRescale = k.alphaRescale = 1.0f;
  k.alphaScale = 255.0f;
  k.alphaTestSize = 256;
  k.alphaTableConv = 255.0f / k.alphaScale;
  k.depthMax = float(gc->depthBuffer.scale);
  gc->state.raster.alphaFunction = GL_GREATER;
  gc->state.raster.alphaReference = 0.5f;
  __glValidateAlphaTest(gc);
  ctx.SetDepth(GL_ALWAYS, true);
  ctx.SetStencil(GL_ALWAYS, 1, 0xFF, GL_KEEP, GL_KEEP, GL_REPLACE);
  std::vector<GlColor> colors[2] = {std::vector<GlColor>(GL_SPAN_PIXELS),
                                    std::vector<GlColor>(GL_SPAN_PIXELS)};
  gc->spanColors[0] = colors[0].data(), gc->spanColors[1] = colors[1].data();
  gc->spanStipple = ctx.words().data();
  gc->transform.viewportInside = 1;
  int32_t *box = gc->transform.clipBox;
  box[0] = box[1] = kBias, box[2] = kBias + 40, box[3] = kBias + 20;
  gc->state.enables.general |= __GL_LINE_SMOOTH_ENABLE;
  gc->state.line.smoothWidth = 3.0f;
  gc->state.line.stippleRepeat = 1;
  ctx.sh().modeFlags = __GL_SHADE_RGB | __GL_SHADE_ALPHA_TEST | __GL_SHADE_DEPTH_TEST |
                       __GL_SHADE_DEPTH_ITER | __GL_SHADE_STENCIL_TEST;
  __glGenericPickLineProcs(gc);
  GlLineProcs &line = gc->procs.line;
  ASSERT_GT(line.count, 0);
  line.lineFuncs[line.count - 1] = RecordStore<false>;
  line.stippledLineFuncs[line.count - 1] = RecordStore<true>;

  const GlDrawableBuffer *stencil = ctx.stencilMemory().buffer();
  const GlDrawableBuffer *depth = ctx.depth().memory().buffer();
  const std::vector<uint8_t> stencilBefore(stencil->base, stencil->base + stencil->size);
  const std::vector<uint8_t> depthBefore(depth->base, depth->base + depth->size);
  gStored.clear();
  GlVertex a{}, b{};
  a.window = {float(kBias + 3.3), float(kBias + 4.6), 0.25f, 1.0f};
  b.window = {float(kBias + 35.8), float(kBias + 14.1), 0.25f, 1.0f};
  a.colors[0] = b.colors[0] = {200, 100, 50, 255};
  a.color = &a.colors[0], b.color = &b.colors[0];
  __glRenderAntiAliasLine(gc, &a, &b);
  ASSERT_FALSE(gStored.empty());

  int rejectedSomewhere = 0;
  for (int32_t y = 0; y < 20; y++) {
    for (int32_t x = 0; x < 40; x++) {
      const bool stored = gStored.count({x, y}) != 0;
      const size_t si = size_t(y * stencil->pitch + x), di = size_t(y * depth->pitch + x) * 2;
      EXPECT_EQ(stencil->base[si], stored ? 1 : stencilBefore[si]) << x << "," << y;
      uint16_t z, zBefore;
      memcpy(&z, depth->base + di, 2);
      memcpy(&zBefore, depthBefore.data() + di, 2);
      if (stored)
        EXPECT_NEAR(double(z), 0.25 * 65535, 2.0) << x << "," << y;
      else
        EXPECT_EQ(z, zBefore) << x << "," << y;
      // The alpha test passes alpha 255 x coverage above 128 only.
      const double c = aa_model::LineCoverage(3.3, 4.6, 35.8, 14.1, 3.0, x, y);
      if (c > 0.55) {
        EXPECT_TRUE(stored) << x << "," << y;
      }
      if (c < 0.45) {
        EXPECT_FALSE(stored) << x << "," << y;
      }
      rejectedSomewhere += c > 0.05 && c < 0.45;
    }
  }
  EXPECT_GT(rejectedSomewhere, 0);
}

}  // namespace
