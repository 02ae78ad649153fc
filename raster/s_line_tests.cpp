// The stencil and depth stages of lines: as the span stages, with each
// buffer's element stepped along the line's DDA instead of along a row.
// Depth is z + k dzdx for pixel k of a word, re-derived at every word from
// z + dzdxBig, and goes through the depth buffer's own conversion.
#include "core/context.h"
#include "raster/s_line.h"
#include "raster/s_line_walk.h"
#include "raster/s_span_depth.h"
#include "raster/s_span_tests.h"

namespace {

using line_walk::Cursor;
using line_walk::Dda;

// The stencil bytes of the run, or none when no stencil memory or maps are
// there (no stencil work then).
struct StencilCursor {
  Dda dda;
  Cursor s;
  explicit StencilCursor(GlContext *gc)
      : dda(gc->line), s(gc, gc->stencilBuffer.buf.drawableBuf, gc->line) {}
  void Step() { s.Step(dda.Step()); }
};

struct StencilTestWalker {
  StencilCursor c;
  const uint8_t *test, *fail;
  explicit StencilTestWalker(GlContext *gc)
      : c(gc), test(gc->stencilBuffer.testMap), fail(gc->stencilBuffer.failMap) {}
  bool Ready() const { return c.s.p && test && fail; }
  bool Test() {
    uint8_t *s = c.s.p;
    const bool passed = test[*s] != 0;
    if (!passed) *s = fail[*s];
    c.Step();
    return passed;
  }
  void Skip() { c.Step(); }
  void EndWord() {}
};

// After each depth compare: nothing, or the stencil's depth-fail and
// depth-pass operations.
struct NoStencil {
  explicit NoStencil(GlContext *) {}
  bool Ready() const { return true; }
  void After(bool) {}
  void Step(bool) {}
};

struct StencilOps {
  Cursor s;
  const uint8_t *fail, *pass;
  explicit StencilOps(GlContext *gc)
      : s(gc, gc->stencilBuffer.buf.drawableBuf, gc->line),
        fail(gc->stencilBuffer.depthFailMap),
        pass(gc->stencilBuffer.depthPassMap) {}
  bool Ready() const { return s.p && fail && pass; }
  void After(bool passed) { *s.p = passed ? pass[*s.p] : fail[*s.p]; }
  void Step(bool big) { s.Step(big); }
};

template <typename Stencil>
struct DepthWalker {
  GlContext *gc;
  Dda dda;
  Cursor z;
  const GlDepthBufferPrivate *rec;
  uint32_t scale;
  Stencil stencil;
  GlDepthTestPixelProc compare;
  uint32_t zWord, dzdx, dzdxBig;
  uint32_t i = 0;

  explicit DepthWalker(GlContext *g)
      : gc(g),
        dda(g->line),
        z(g, g->depthBuffer.buf.drawableBuf, g->line),
        rec(__glDepthPrivate(&g->depthBuffer)),
        scale(g->depthBuffer.scale),
        stencil(g),
        compare(g->procs.depthTestPixel),
        zWord(g->polygon.shader.z),
        dzdx(uint32_t(g->polygon.shader.dzdx)),
        dzdxBig(uint32_t(g->polygon.shader.dzdxBig)) {}
  bool Ready() const { return rec && z.p && compare && stencil.Ready(); }
  void Step() {
    const bool big = dda.Step();
    z.Step(big);
    stencil.Step(big);
  }
  bool Test() {
    const uint32_t depth = zWord + i++ * dzdx;
    const bool passed = compare(gc, z.p, __glDepthStoredValue(rec, scale, depth)) != 0;
    stencil.After(passed);
    Step();
    return passed;
  }
  void Skip() {
    i++;
    Step();
  }
  void EndWord() {
    zWord += dzdxBig;
    i = 0;
  }
};

template <bool kStippled>
GLbool8 StencilTest(GlContext *gc) {
  StencilTestWalker walker(gc);
  if (!walker.Ready()) return 0;
  return span_tests::RunWords<kStippled>(gc, walker);
}

// Without a bound depth buffer nothing is tested or written.
template <bool kStippled, typename Stencil>
GLbool8 DepthTest(GlContext *gc) {
  DepthWalker<Stencil> walker(gc);
  if (!walker.Ready()) return 0;
  return span_tests::RunWords<kStippled>(gc, walker);
}

template <bool kStippled>
GLbool8 DepthPass(GlContext *gc) {
  StencilOps ops(gc);
  if (!ops.Ready()) return 0;
  const GlShader &sh = gc->polygon.shader;
  Dda dda(gc->line);
  for (int32_t k = 0; k < sh.length; k++) {
    if (!kStippled || (sh.stipplePat[k >> 5] & (0x80000000u >> (k & 31)))) ops.After(true);
    ops.Step(dda.Step());
  }
  return 0;
}

}  // namespace

GLbool8 __glStencilTestLine(GlContext *gc) { return StencilTest<false>(gc); }
GLbool8 __glStencilTestStippledLine(GlContext *gc) { return StencilTest<true>(gc); }
GLbool8 __glDepthTestLine(GlContext *gc) { return DepthTest<false, NoStencil>(gc); }
GLbool8 __glDepthTestStippledLine(GlContext *gc) { return DepthTest<true, NoStencil>(gc); }
GLbool8 __glDepthTestStencilLine(GlContext *gc) { return DepthTest<false, StencilOps>(gc); }
GLbool8 __glDepthTestStencilStippledLine(GlContext *gc) {
  return DepthTest<true, StencilOps>(gc);
}
GLbool8 __glDepthPassLine(GlContext *gc) { return DepthPass<false>(gc); }
GLbool8 __glDepthPassStippledLine(GlContext *gc) { return DepthPass<true>(gc); }
