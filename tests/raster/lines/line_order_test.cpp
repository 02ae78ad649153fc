// With the alpha test on, the line picker puts the depth and stencil stages
// after it: pixels the alpha stage rejects leave depth and stencil as they
// were, on plain and wide lines.
#include <gtest/gtest.h>

#include "raster/s_line.h"
#include "raster/s_line_walk.h"
#include "tests/raster/fragment_stages/stage_fixture.h"

namespace fragment_stages {
namespace {

// Rejects every second pixel of the run, as an alpha test would.
GLbool8 RejectOdd(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  for (int32_t w = 0; w < (sh.length + 31) / 32; w++) sh.stipplePat[w] = 0xAAAAAAAAu;
  return 1;
}
GLbool8 RejectOddStippled(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  for (int32_t w = 0; w < (sh.length + 31) / 32; w++) sh.stipplePat[w] &= 0xAAAAAAAAu;
  return 0;
}
GLbool8 Nothing(GlContext *) { return 0; }

TEST(LineStageOrder, PixelsTheAlphaTestRejectsKeepTheirDepthAndStencil) {
  for (int32_t width : {1, 3}) {
    SpanContext ctx(32, 40, 20);
    GlContext *gc = ctx.gc();
    ctx.SetDepth(GL_ALWAYS, true);
    ctx.SetStencil(GL_ALWAYS, 0, 0xFF, GL_KEEP, GL_KEEP, GL_INVERT);
    GlLineProcs &p = gc->procs.line;
    p = GlLineProcs{};
    p.lineFuncs[0] = __glScissorLine, p.stippledLineFuncs[0] = __glScissorStippledLine;
    p.lineFuncs[1] = RejectOdd, p.stippledLineFuncs[1] = RejectOddStippled;
    p.lineFuncs[2] = __glDepthTestStencilLine;
    p.stippledLineFuncs[2] = __glDepthTestStencilStippledLine;
    p.count = p.storeIndex = 3;
    p.lineFinal = p.stippledLineFinal = Nothing;
    p.startReplicate = width > 1 ? 0 : 3;
    p.lineEnd = width > 1 ? __glWideLineRep : Nothing;
    p.stippledLineEnd = width > 1 ? __glWideStippleLineRep : Nothing;
    int32_t *box = gc->transform.clipBox;
    box[0] = box[1] = kBias, box[2] = kBias + 40, box[3] = kBias + 20;
    std::vector<uint32_t> words(GL_SPAN_STIPPLE_WORDS);
    gc->polygon.shader.stipplePat = words.data();
    gc->polygon.shader.z = 1000;
    gc->polygon.shader.dzdx = gc->polygon.shader.dzdxBig = 0;
    gc->state.line.aliasedWidth = width;
    GlVertex a{}, b{};
    a.window = {float(kBias) + 2.7f, float(kBias) + 9.5f, 0, 1};
    b.window = {float(kBias) + 37.7f, float(kBias) + 12.5f, 0, 1};
    __glInitLineData(gc, &a, &b);
    const GlLineMachine start = gc->line;
    gc->polygon.shader.length = gc->line.pixelCount;
    const std::vector<uint8_t> before = ctx.Snapshot();
    __glProcessLine(gc);
    const std::vector<uint8_t> after = ctx.Snapshot();
    // Every pixel of every row: odd ones untouched, even ones written.
    gc->line = start;
    int changedEven = 0;
    for (int32_t row = 0; row < width; row++, gc->line.yStart++) {
      line_walk::Dda dda(gc->line);
      for (int32_t k = 0; k < gc->line.pixelCount; k++, dda.Step()) {
        const size_t s = size_t(before.size() - 40 * 20) + size_t((dda.y - kBias) * 40 + dda.x - kBias);
        if (k & 1)
          EXPECT_EQ(after[s], before[s]) << "stencil of rejected pixel " << k << " row " << row;
        else
          changedEven += after[s] != before[s];
      }
    }
    EXPECT_EQ(changedEven, width * ((gc->line.pixelCount + 1) / 2));
  }
}

}  // namespace
}  // namespace fragment_stages
