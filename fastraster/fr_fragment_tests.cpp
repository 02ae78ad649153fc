// The alpha and colour-index test spanlets. Validation builds their tables;
// while the allocator refuses one, the GL state decides, as in the generic
// path.
#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"
#include "raster/s_span_tests.h"

namespace {

// Walks the live pixels of the chunk, clearing those `passes` rejects; the
// walk stops after the last live pixel.
template <typename Passes>
uint32_t Survivors(uint32_t mask, const FrSpan *span, Passes passes) {
  uint32_t result = mask;
  const uint32_t *color = span->colors;
  for (uint32_t bit = 0x80000000u; mask; mask <<= 1, bit >>= 1, color++) {
    if ((mask & 0x80000000u) && !passes(*color)) result &= ~bit;
  }
  return result;
}

}  // namespace

void GLFASTCALL __glFRAlphaTest(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  const uint8_t *table = gc->alphaTestTable;
  const uint32_t last = uint32_t(gc->constants.alphaTestSize - 1);
  const GLenum func = gc->state.raster.alphaFunction;
  const int32_t ref = table ? 0 : span_tests::AlphaReference(gc);
  mask = Survivors(mask, span, [&](uint32_t color) {
    uint32_t a = color >> 24;
    if (a > last) a = last;
    return table ? table[a] != 0 : span_tests::TablePasses(func, a, ref);
  });
  if (mask) gc->procs.afterAlphaTest(mask, span);
}

void GLFASTCALL __glFRIndexTest(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  const uint8_t *table = gc->indexTestTable;
  const uint32_t entries = table ? span_tests::IndexTableEntries(gc) : 0;
  const GLenum func = gc->state.raster.indexFunction;
  const int64_t ref = span_tests::IndexReference(gc);
  mask = Survivors(mask, span, [&](uint32_t color) {
    const uint32_t i = (color >> 16) & 0xFF;  // the index the store writes
    return i < entries ? table[i] != 0 : span_tests::TablePasses(func, i, ref);
  });
  if (mask) gc->procs.afterIndexTest(mask, span);
}
