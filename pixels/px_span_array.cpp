// The run array of a row: how many source pixels a span steps over between
// the sampled ones (zoom shrinks), or how many destination columns each
// source pixel covers (zoom magnifies). Sums are single-precision floats
// and conversions truncate, like the clip that placed the row.
#include "core/context.h"
#include "core/gl_convert.h"
#include "pixels/px_span_procs.h"

void __glComputeSpanPixelArray(GlContext *gc, GlPixelSpanInfo *info) {
  const GLfloat z = info->zoomx;
  int16_t *run = info->pixelArray;
  const int32_t width = info->width;
  info->spanWidth = width;
  if (z == 1.0f || z == -1.0f || width <= 0) return;
  GLfloat x = info->x;
  if (z > -1.0f && z < 1.0f) {
    // A source pixel is sampled where its far edge first passes a new
    // column: its footprint holds that column's centre.
    x += z;
    int32_t previous = __glTruncateToInt(x), begun = 0, n = 0;
    for (int32_t i = 1; i < width; i++) {
      x += z;
      const int32_t column = __glTruncateToInt(x);
      if (column == previous) continue;
      run[n++] = int16_t(i - begun);
      begun = i;
      previous = column;
    }
    run[n++] = 1;
    info->spanWidth = n;
    return;
  }
  int32_t previous = info->startCol;
  for (int32_t k = 0; k < width - 1; k++) {
    x += z;
    const int32_t t = __glTruncateToInt(x);
    run[k] = int16_t(t - previous);
    previous = t;
  }
  run[width - 1] = int16_t(info->coladd > 0 ? info->columns - (previous - info->startCol)
                                            : (info->startCol - previous) - info->columns);
}
