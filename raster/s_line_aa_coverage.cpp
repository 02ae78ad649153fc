// The antialiased line's coverage stage: each pixel of a run weighed by its
// distance across the line and past its ends, and by the line stipple
// blended between neighbouring pattern bits.
#include <math.h>

#include "core/context.h"
#include "raster/s_line_aa.h"
#include "raster/s_point.h"
#include "raster/s_span_tests.h"

namespace {

struct CoverageWalker {
  GlContext *gc;
  GlLineMachine &l;
  GlShader &sh;
  uint32_t fraction;
  GLfloat along, across;
  GLfloat hw, end;
  bool stipple;
  uint32_t pattern;
  int32_t k = 0;

  CoverageWalker(GlContext *g)
      : gc(g),
        l(g->line),
        sh(g->polygon.shader),
        fraction(uint32_t(g->line.fraction)),
        along(g->line.lStart),
        across(g->line.dStart) {
    const GLfloat half = gc->constants.half;
    hw = half * gc->state.line.smoothWidth - half;
    end = l.lineLength - half;
    stipple = (sh.modeFlags & __GL_SHADE_LINE_STIPPLE) != 0;
    pattern = gc->state.line.stipple;
  }

  GLfloat Coverage() const {
    const GLfloat half = gc->constants.half, one = gc->constants.one;
    GLfloat c = one;
    if (across > hw)
      c = hw - across + one;
    else if (across < -hw)
      c = one + across + hw;
    if (c < 0) return 0;
    if (along < half)
      c = (half + along) * c;
    else if (along > end)
      c = (end - along + one) * c;
    if (c < 0) return 0;
    if (stipple) {
      const GLfloat p = (along > half ? along : half) + l.stippleStart;
      const GLfloat f = floorf(p);
      const uint32_t i0 = uint32_t(int32_t(l.oneOverRepeat * f)) & 15;
      const uint32_t i1 = uint32_t(int32_t(l.oneOverRepeat * (f + one))) & 15;
      const GLfloat b0 = GLfloat((pattern >> i0) & 1), b1 = GLfloat((pattern >> i1) & 1);
      const GLfloat frac = p - f;
      c = ((one - frac) * b0 + b1 * frac) * c;
    }
    return c;
  }

  void Next() {
    fraction += uint32_t(l.dfraction);
    const bool big = (fraction & 0x80000000u) != 0;
    fraction &= 0x7FFFFFFFu;
    along += big ? l.dlBig : l.dlLittle;
    across += big ? l.ddBig : l.ddLittle;
    k++;
  }

  bool Test() {
    const GLfloat c = Coverage();
    GlColor &color = sh.spanColors[k];
    Next();
    if (!(c > 0)) return false;
    if (sh.modeFlags & __GL_SHADE_RGB)
      color.a *= c;
    else
      color.r = __glBuildAntiAliasIndex(color.r, c);
    return true;
  }
  void Skip() { Next(); }
  void EndWord() {}
};

}  // namespace

GLbool8 __glAntiAliasLine(GlContext *gc) {
  CoverageWalker walker(gc);
  return span_tests::RunWords<false>(gc, walker);
}

GLbool8 __glAntiAliasStippledLine(GlContext *gc) {
  CoverageWalker walker(gc);
  return span_tests::RunWords<true>(gc, walker);
}
