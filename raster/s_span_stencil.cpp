// The stencil-test stage: a pixel whose stored value fails the test is
// rejected and takes the fail operation; passing pixels wait for the depth
// stage's operations.
#include "core/context.h"
#include "raster/s_span.h"
#include "raster/s_span_tests.h"

namespace {

struct StencilWalker {
  uint8_t *s;
  const uint8_t *test, *fail;

  explicit StencilWalker(GlContext *gc)
      : s(gc->polygon.shader.sbuf),
        test(gc->stencilBuffer.testMap),
        fail(gc->stencilBuffer.failMap) {}
  bool Test() {
    if (test[*s]) {
      s++;
      return true;
    }
    *s = fail[*s];
    s++;
    return false;
  }
  void Skip() { s++; }
  void EndWord() {}
};

// Maps not built yet mean no stencil work: every pixel passes.
bool HaveMaps(const GlContext *gc) {
  const GlStencilBuffer &sfb = gc->stencilBuffer;
  return sfb.testMap && sfb.failMap && gc->polygon.shader.sbuf;
}

}  // namespace

GLbool8 __glStencilTestSpan(GlContext *gc) {
  if (!HaveMaps(gc)) return 0;
  StencilWalker walker(gc);
  return span_tests::RunWords<false>(gc, walker);
}

GLbool8 __glStencilTestStippledSpan(GlContext *gc) {
  if (!HaveMaps(gc)) return 0;
  StencilWalker walker(gc);
  return span_tests::RunWords<true>(gc, walker);
}
