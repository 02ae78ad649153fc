// The alpha- and index-test tables: one byte per alpha step or colour
// index, 1 where the fragment passes. When the context's allocator cannot
// supply a table the pointer stays null, the test spans compare with the
// state directly (the same answers, more slowly), and the next validation
// tries again.
#include "core/context.h"
#include "raster/s_span.h"
#include "raster/s_span_tests.h"

namespace {

bool IsFunction(GLenum func) { return func >= GL_NEVER && func <= GL_ALWAYS; }

void Fill(uint8_t *table, uint32_t entries, GLenum func, int64_t ref) {
  for (uint32_t i = 0; i < entries; i++) table[i] = span_tests::TablePasses(func, i, ref);
}

}  // namespace

void __glValidateAlphaTest(GlContext *gc) {
  const int32_t size = gc->constants.alphaTestSize;
  if (size <= 0) return;
  if (gc->alphaTestTable == nullptr)
    gc->alphaTestTable = static_cast<uint8_t *>(gc->imports.malloc(gc, size_t(size)));
  const GLenum func = gc->state.raster.alphaFunction;
  if (gc->alphaTestTable == nullptr || !IsFunction(func)) return;
  Fill(gc->alphaTestTable, uint32_t(size), func, span_tests::AlphaReference(gc));
}

void __glValidateIndexTest(GlContext *gc) {
  if (!gc->modes.colorIndexMode) return;
  const uint32_t entries = span_tests::IndexTableEntries(gc);
  if (gc->indexTestTable == nullptr)
    gc->indexTestTable = static_cast<uint8_t *>(gc->imports.malloc(gc, entries));
  const GLenum func = gc->state.raster.indexFunction;
  if (gc->indexTestTable == nullptr || !IsFunction(func)) return;
  Fill(gc->indexTestTable, entries, func, span_tests::IndexReference(gc));
}

// The context's one release point for both tables.
void __glFreeIndexTestTable(GlContext *gc) {
  if (gc->indexTestTable) gc->imports.free(gc, gc->indexTestTable);
  if (gc->alphaTestTable) gc->imports.free(gc, gc->alphaTestTable);
  gc->indexTestTable = nullptr;
  gc->alphaTestTable = nullptr;
}
