// The scissor stage of lines: the clip box of the fragment store. Both end
// pixels inside the box mean every pixel is, and the run is left alone;
// otherwise each pixel outside is rejected.
#include "core/context.h"
#include "raster/s_line.h"
#include "raster/s_line_walk.h"
#include "raster/s_span_tests.h"

namespace {

struct Box {
  int32_t x0, y0, x1, y1;
  explicit Box(const GlContext *gc)
      : x0(gc->transform.clipBox[0]),
        y0(gc->transform.clipBox[1]),
        x1(gc->transform.clipBox[2]),
        y1(gc->transform.clipBox[3]) {}
  bool Inside(int64_t x, int64_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// How many of the first n steps take the big step: the fraction's carries
// (or, for a falling minor position, its borrows), counted in 64 bits so
// that no product overflows.
int64_t BigSteps(const GlLineMachine &l, int64_t n) {
  const int64_t fraction = l.fraction & 0x7FFFFFFF;
  const int64_t d = l.dfraction;
  if (d >= 0) return (n * d + fraction) >> 31;
  return (n * -d + (0x7FFFFFFF - fraction)) >> 31;
}

// Whether every pixel of the run lies inside: the run lies between the
// start and the pixel an all-big walk would reach, so both inside is
// enough; failing that, the real last pixel decides.
bool AllInside(const GlContext *gc, const Box &box) {
  const GlLineMachine &l = gc->line;
  const int64_t n = gc->polygon.shader.length - 1;
  if (!box.Inside(l.xStart, l.yStart)) return false;
  if (box.Inside(l.xStart + n * l.xBig, l.yStart + n * l.yBig)) return true;
  const int64_t k = BigSteps(l, n);
  return box.Inside(l.xStart + k * l.xBig + (n - k) * l.xLittle,
                    l.yStart + k * l.yBig + (n - k) * l.yLittle);
}

struct ScissorWalker {
  line_walk::Dda dda;
  Box box;
  bool Test() {
    const bool in = box.Inside(dda.x, dda.y);
    dda.Step();
    return in;
  }
  void Skip() { dda.Step(); }
  void EndWord() {}
};

template <bool kStippled>
GLbool8 Scissor(GlContext *gc) {
  const Box box(gc);
  if (gc->polygon.shader.length <= 0 || AllInside(gc, box)) return 0;
  ScissorWalker walker{line_walk::Dda(gc->line), box};
  return span_tests::RunWords<kStippled>(gc, walker);
}

}  // namespace

GLbool8 __glScissorLine(GlContext *gc) { return Scissor<false>(gc); }
GLbool8 __glScissorStippledLine(GlContext *gc) { return Scissor<true>(gc); }
