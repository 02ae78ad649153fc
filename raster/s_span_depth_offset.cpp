// The depth stages with polygon offset. The offset depth may leave
// 0 .. scale inside the span, so the span is cut into at most two runs:
// pixels before or after the in-range interval take a constant clamp
// depth, pixels inside it the offset depth stepped by dzdx. A run may end
// inside a word; the next run goes on in the same word.
//
// Depths inside the interval are also held to 0 .. scale pixel by pixel:
// the setup's truncated step can carry the first pixels of a run a little
// outside it, and a depth below 0 must not wrap to the far end.
#include <math.h>

#include "core/context.h"
#include "core/gl_assert.h"
#include "core/s_pick.h"
#include "raster/s_span.h"
#include "raster/s_span_depth.h"
#include "raster/s_span_tests.h"

namespace {

using span_depth::Buffer;

struct Run {
  int32_t count;
  bool constant;  // at `start` throughout
  int64_t start;  // depth of the run's first pixel
  GlDepthTestPixelProc compare;
};

// Toward zero into 0 .. scale; NaN gives 0.
int64_t DepthInRange(double z, uint32_t scale) {
  if (!(z > 0.0)) return 0;
  if (z >= double(scale)) return scale;
  return int64_t(z);
}

// The offset depth's step per pixel. dzdx holds the word the plain walk
// adds; a 16-bit buffer's step may pass 2^31, where only the float gradient
// still says which way and how far.
int64_t PixelStep(const GlShader *sh) {
  const double gradient = sh->dzdxFloat;
  if (fabs(gradient) >= 2147483648.0 && fabs(gradient) < 1099511627776.0)
    return int64_t(gradient);
  return sh->dzdx;
}

int32_t PixelsInSpan(double n, int32_t length) {
  if (!(n > 0.0)) return 0;
  if (n >= double(length)) return length;
  return int32_t(n);
}

// The compare of a pixel held at clamp depth `c`: with GL_LESS a non-zero
// clamp, and with GL_GREATER a clamp of 0, can pass nowhere.
GlDepthTestPixelProc ClampCompare(GlContext *gc, uint32_t c) {
  const GLenum func = gc->state.depth.testFunc;
  const bool never = (func == GL_LESS && c != 0) || (func == GL_GREATER && c == 0);
  return never ? __glCDTPixel[0] : gc->procs.depthTestPixel;
}

Run ClampRun(GlContext *gc, int32_t count, uint32_t c) {
  const uint32_t scale = gc->depthBuffer.scale;
  if (c > scale) c = scale;
  return {count, true, c, ClampCompare(gc, c)};
}

Run SteppedRun(GlContext *gc, int32_t count, double start) {
  return {count, false, DepthInRange(start, gc->depthBuffer.scale), gc->procs.depthTestPixel};
}

void SplitRuns(GlContext *gc, Run runs[2]) {
  const GlShader *sh = &gc->polygon.shader;
  const int32_t length = sh->length;
  const double end = sh->offsetRangeEnd, width = sh->offsetRangeWidth;
  if (!(end > 0.0)) {
    runs[0] = ClampRun(gc, length, sh->offsetClampRight);
    runs[1] = SteppedRun(gc, 0, 0.0);
  } else if (width <= end) {
    // The span starts before the interval.
    const int32_t k = PixelsInSpan(end - width + 1.0, length);
    // k steps of dzdx; the word step dzdx << 5 can overflow 32 bits.
    const int64_t stepped = int64_t(k) * PixelStep(sh);
    runs[0] = ClampRun(gc, k, sh->offsetClampLeft);
    runs[1] = SteppedRun(gc, length - k, double(stepped) + double(sh->offsetZ));
  } else {
    // The span starts inside it.
    const int32_t after = PixelsInSpan(double(length) - end, length);
    runs[0] = SteppedRun(gc, length - after, sh->offsetZ);
    runs[1] = ClampRun(gc, after, sh->offsetClampRight);
  }
  __GL_ASSERT(runs[0].count + runs[1].count == length,
              "w[0] + w[1] == gc->polygon.shader.length", "s_span");
}

template <typename Stencil>
struct OffsetWalker {
  GlContext *gc;
  Buffer buf;
  Stencil stencil;
  Run runs[2];
  int32_t run = 0;
  int32_t j = 0;  // pixel of the run
  int64_t dzdx;
  // A stepped pixel that leaves the interval is held like a clamped one.
  GlDepthTestPixelProc atZero, atScale;

  explicit OffsetWalker(GlContext *g)
      : gc(g),
        buf(g),
        stencil(g),
        dzdx(PixelStep(&g->polygon.shader)),
        atZero(ClampCompare(g, 0)),
        atScale(ClampCompare(g, g->depthBuffer.scale)) {
    SplitRuns(g, runs);
  }
  // Every run's compare is the picked one or NEVER: without the picked one
  // nothing is tested.
  bool Ready() const { return buf.rec && gc->procs.depthTestPixel && stencil.Ready(); }
  // The current run's next pixel.
  const Run &Next() {
    if (j == runs[run].count && run == 0) {
      run = 1;
      j = 0;
    }
    return runs[run];
  }
  // The pixel's depth and its compare.
  uint32_t Depth(const Run &r, GlDepthTestPixelProc *compare) const {
    *compare = r.compare;
    if (r.constant) return uint32_t(r.start);
    const int64_t z = r.start + j * dzdx;
    if (z < 0) {
      *compare = atZero;
      return 0;
    }
    if (z > int64_t(buf.scale)) {
      *compare = atScale;
      return buf.scale;
    }
    return uint32_t(z);
  }
  bool Test() {
    const Run &r = Next();
    GlDepthTestPixelProc compare;
    const uint32_t z = Depth(r, &compare);
    const uint32_t stored = buf.Stored(z);
    CheckDerivation(z, stored);
    const bool passed = compare(gc, buf.z, stored) != 0;
    j++;
    buf.z += buf.stride;
    stencil.After(passed);
    return passed;
  }
  void Skip() {
    Next();
    j++;
    buf.z += buf.stride;
    stencil.Skip();
  }
  void EndWord() {}

  // The word compared is the exactly computed one: floor((z + 0.5) / 2^shift)
  // in the buffer's units, turned and based as the buffer stores it.
  void CheckDerivation(uint32_t z, uint32_t stored) const {
    const GlDepthBufferPrivate *rec = buf.rec;
    const uint32_t top = buf.scale >> rec->shift;
    uint32_t depth = stored - rec->base;
    if (rec->reverse) depth = top - depth;
    const double ztest = double(uint64_t(((double(z) + 0.5) / double(1u << rec->shift))));
    __GL_ASSERT(double(depth) == ztest, "z == (__GLzValue)ztest + cnt", "s_span");
  }
};

template <bool kStippled, typename Stencil>
GLbool8 OffsetTest(GlContext *gc) {
  OffsetWalker<Stencil> walker(gc);
  if (!walker.Ready()) return 0;
  return span_tests::RunWords<kStippled>(gc, walker);
}

}  // namespace

GLbool8 __glDepthTestOffsetSpan(GlContext *gc) {
  return OffsetTest<false, span_depth::NoStencil>(gc);
}
GLbool8 __glDepthTestStippledOffsetSpan(GlContext *gc) {
  return OffsetTest<true, span_depth::NoStencil>(gc);
}
GLbool8 __glDepthTestStencilOffsetSpan(GlContext *gc) {
  return OffsetTest<false, span_depth::StencilOps>(gc);
}
GLbool8 __glDepthTestStencilStippledOffsetSpan(GlContext *gc) {
  return OffsetTest<true, span_depth::StencilOps>(gc);
}
