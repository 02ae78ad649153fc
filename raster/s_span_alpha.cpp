// The alpha- and index-test stages: each pixel's alpha step or colour index
// looked up in its table. Look-ups stay inside the table whatever the
// colour holds: alpha steps are clamped, indexes masked with the buffer's
// index mask; without a table the state's function decides.
#include "core/context.h"
#include "raster/s_span.h"
#include "raster/s_span_tests.h"

namespace {

using span_tests::RunWords;

struct AlphaWalker {
  const GlColor *color;
  const uint8_t *table;
  int32_t last;
  GLfloat conv;
  GLenum func;
  int32_t ref;

  explicit AlphaWalker(GlContext *gc)
      : color(gc->polygon.shader.spanColors),
        table(gc->alphaTestTable),
        last(gc->constants.alphaTestSize - 1),
        conv(gc->constants.alphaTableConv),
        func(gc->state.raster.alphaFunction),
        ref(table ? 0 : span_tests::AlphaReference(gc)) {}
  bool Test() {
    const int32_t i = span_tests::AlphaEntry(color++->a, conv, last);
    return table ? table[i] != 0 : span_tests::TablePasses(func, i, ref);
  }
  void Skip() { color++; }
  void EndWord() {}
};

struct IndexWalker {
  const GlColor *color;
  const uint8_t *table;
  uint32_t mask, entries;
  GLenum func;
  int64_t ref;

  explicit IndexWalker(GlContext *gc)
      : color(gc->polygon.shader.spanColors),
        table(gc->indexTestTable),
        entries(table ? span_tests::IndexTableEntries(gc) : 0),
        func(gc->state.raster.indexFunction),
        ref(span_tests::IndexReference(gc)) {
    const GlColorBuffer *cfb = span_tests::TestBuffer(gc);
    const uint32_t bits = gc->modes.indexBits;
    mask = cfb ? cfb->redMax : bits >= 32 ? ~0u : (1u << bits) - 1;
  }
  bool Test() {
    const uint32_t i = span_tests::IndexEntry(color++->r, mask);
    return i < entries ? table[i] != 0 : span_tests::TablePasses(func, i, ref);
  }
  void Skip() { color++; }
  void EndWord() {}
};

}  // namespace

GLbool8 __glAlphaTestSpan(GlContext *gc) {
  AlphaWalker walker(gc);
  return RunWords<false>(gc, walker);
}

GLbool8 __glAlphaTestStippledSpan(GlContext *gc) {
  AlphaWalker walker(gc);
  return RunWords<true>(gc, walker);
}

GLbool8 __glIndexTestSpan(GlContext *gc) {
  IndexWalker walker(gc);
  return RunWords<false>(gc, walker);
}

GLbool8 __glIndexTestStippledSpan(GlContext *gc) {
  IndexWalker walker(gc);
  return RunWords<true>(gc, walker);
}
