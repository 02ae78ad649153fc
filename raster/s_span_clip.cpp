// The clip stage: the span against the clip box's columns (the triangle
// walker has already dropped rows outside it).
#include "core/context.h"
#include "core/gl_assert.h"
#include "raster/s_span.h"

namespace {

// The widest span the work arrays hold (the largest viewport).
constexpr int64_t kMaxSpan = 2048;

}  // namespace

GLbool8 __glClipSpan(GlContext *gc) {
  GlShader *sh = &gc->polygon.shader;
  const int32_t x0 = gc->transform.clipBox[0], x1 = gc->transform.clipBox[2];
  const int64_t x = sh->x;
  int64_t w = sh->length;
  GLbool8 result = 0;
  if (x >= x0 && x + w <= x1) {
    // Inside: nothing to do.
  } else if (x + w <= x0 || x >= x1) {
    sh->done = 1;
    return 1;
  } else {
    // The right overhang is cut by shortening; the left one is marked dead
    // in the stipple words, so x stays the first pixel.
    if (x + w > x1) w = x1 - x;
    if (x < x0) {
      const int64_t dead = x0 - x;
      uint32_t *words = sh->stipplePat;
      for (int64_t first = 0; first < w; first += 32, words++) {
        const int64_t deadHere = dead - first;
        *words = deadHere >= 32 ? 0u : deadHere <= 0 ? ~0u : ~0u >> deadHere;
      }
      result = 1;
    }
  }
  __GL_ASSERT(w <= kMaxSpan, "w <= __GL_MAX_MAX_VIEWPORT", "s_span");
  sh->length = int32_t(w);
  return result;
}
