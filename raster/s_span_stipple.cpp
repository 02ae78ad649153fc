// The polygon-stipple stage: one pattern row, turned so that its bits line
// up with the span's columns, governs every word of the span.
#include "core/context.h"
#include "raster/s_span.h"

namespace {

// The row's word for the span, pixel 0 in the most significant bit; rows
// count from the window's bottom whichever way the drawable is stored.
uint32_t StippleWord(const GlContext *gc) {
  const GlShader *sh = &gc->polygon.shader;
  const int32_t y = sh->y - gc->constants.viewportYAdjust;
  const int32_t row = gc->constants.yInverted ? (gc->constants.height - y - 1) & 31 : y & 31;
  const uint32_t word = gc->polygon.stipple[row];
  const uint32_t turn = uint32_t(sh->x - gc->constants.viewportXAdjust) & 31;
  return turn ? (word << turn) | (word >> (32 - turn)) : word;
}

// Whether a pixel of the span is alive in the words.
bool AnyAlive(const GlShader *sh) {
  for (int32_t first = 0; first < sh->length; first += 32) {
    const int32_t count = sh->length - first;
    const uint32_t inSpan = count >= 32 ? ~0u : ~(~0u >> count);
    if (sh->stipplePat[first >> 5] & inSpan) return true;
  }
  return false;
}

}  // namespace

// A short span can miss every set bit of a row that is not all zeros: it
// then ends like a zero row.
GLbool8 __glStippleSpan(GlContext *gc) {
  GlShader *sh = &gc->polygon.shader;
  const uint32_t word = StippleWord(gc);
  const int32_t words = (sh->length + 31) >> 5;
  for (int32_t i = 0; i < words; i++) sh->stipplePat[i] = word;
  if (word == 0 || !AnyAlive(sh)) sh->done = 1;
  return 1;
}

GLbool8 __glStippleStippledSpan(GlContext *gc) {
  GlShader *sh = &gc->polygon.shader;
  const uint32_t word = StippleWord(gc);
  const int32_t words = (sh->length + 31) >> 5;
  for (int32_t i = 0; i < words; i++) sh->stipplePat[i] &= word;
  return !AnyAlive(sh);
}
