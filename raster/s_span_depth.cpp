// The depth stages without polygon offset: the depth test with and without
// the stencil operations, and the stencil-only stage of depth-pass
// operations when the depth test is off.
//
// Each pixel's depth is z + k dzdx in depth-buffer units, re-derived from
// the span's start at every word, and goes through the depth buffer's own
// conversion, so a span stores exactly what per-fragment stores would.
#include "core/context.h"
#include "raster/s_span.h"
#include "raster/s_span_depth.h"
#include "raster/s_span_tests.h"

namespace {

using span_depth::Buffer;

template <typename Stencil>
struct DepthWalker {
  GlContext *gc;
  Buffer buf;
  Stencil stencil;
  GlDepthTestPixelProc compare;
  uint32_t zWord;  // depth of the word's first pixel
  uint32_t dzdx, dzdxBig;
  uint32_t i = 0;  // pixel of the word

  explicit DepthWalker(GlContext *g)
      : gc(g),
        buf(g),
        stencil(g),
        compare(g->procs.depthTestPixel),
        zWord(g->polygon.shader.z),
        dzdx(uint32_t(g->polygon.shader.dzdx)),
        dzdxBig(uint32_t(g->polygon.shader.dzdxBig)) {}
  bool Ready() const { return buf.rec && compare && stencil.Ready(); }
  bool Test() {
    const uint32_t z = zWord + i++ * dzdx;
    const bool passed = compare(gc, buf.z, buf.Stored(z)) != 0;
    buf.z += buf.stride;
    stencil.After(passed);
    return passed;
  }
  void Skip() {
    i++;
    buf.z += buf.stride;
    stencil.Skip();
  }
  void EndWord() {
    zWord += dzdxBig;
    i = 0;
  }
};

// Without a bound depth buffer nothing is tested or written.
template <bool kStippled, typename Stencil>
GLbool8 DepthTest(GlContext *gc) {
  DepthWalker<Stencil> walker(gc);
  if (!walker.Ready()) return 0;
  return span_tests::RunWords<kStippled>(gc, walker);
}

template <bool kStippled>
GLbool8 DepthPass(GlContext *gc) {
  span_depth::StencilOps ops(gc);
  if (!ops.Ready()) return 0;
  const GlShader *sh = &gc->polygon.shader;
  for (int32_t k = 0; k < sh->length; k++) {
    if (kStippled && !(sh->stipplePat[k >> 5] & (0x80000000u >> (k & 31))))
      ops.Skip();
    else
      ops.After(true);
  }
  return 0;
}

}  // namespace

GLbool8 __glDepthTestSpan(GlContext *gc) { return DepthTest<false, span_depth::NoStencil>(gc); }
GLbool8 __glDepthTestStippledSpan(GlContext *gc) {
  return DepthTest<true, span_depth::NoStencil>(gc);
}
GLbool8 __glDepthTestStencilSpan(GlContext *gc) {
  return DepthTest<false, span_depth::StencilOps>(gc);
}
GLbool8 __glDepthTestStencilStippledSpan(GlContext *gc) {
  return DepthTest<true, span_depth::StencilOps>(gc);
}
GLbool8 __glDepthPassSpan(GlContext *gc) { return DepthPass<false>(gc); }
GLbool8 __glDepthPassStippledSpan(GlContext *gc) { return DepthPass<true>(gc); }
