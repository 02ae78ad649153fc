// The row loop the fast draw-pixels kernels share: the parts of a draw
// inside each visible rectangle of the window, handed row by row to a
// converter, so every kernel clips and steps its source the same way.
#pragma once

#include <stdint.h>
#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "pixels/px_fast_draw.h"
#include "raster/s_buffers.h"

namespace fast_draw {

inline int32_t Moved(int32_t v, int32_t by) {
  const int64_t sum = int64_t(v) + by;
  return sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : int32_t(sum);
}

// The draw buffer's memory, or none while it has no pixels.
inline const GlDrawableBuffer *DrawnMemory(const GlContext *gc) {
  const GlDrawableBuffer *buffer = gc->drawBuffer ? gc->drawBuffer->buf.drawableBuf : nullptr;
  return buffer && buffer->base ? buffer : nullptr;
}

// Calls row(dst, src, x, y, columns, dir) for each row of the part of the
// draw that lands in `buffer`.
template <typename Row>
void DrawPart(const GlContext *gc, const GlPixelSpanInfo *info, const GlDrawableBuffer *buffer,
              const GlFastDrawPart &part, Row row) {
  const int32_t rowDir = info->zoomy > 0.0f ? 1 : -1;
  const int32_t colDir = info->endCol > info->startCol ? 1 : -1;
  const uint8_t *src = static_cast<const uint8_t *>(info->srcCurrent) +
                       int64_t(part.skipRows) * info->srcRowIncrement +
                       int64_t(part.skipColumns) * info->srcGroupIncrement;
  for (int32_t r = 0; r < part.rows; r++) {
    const int32_t y = part.y + r * rowDir;
    row(__glPixelAddress(gc, buffer, part.x, y), src, part.x, y, part.columns, colDir);
    src += info->srcRowIncrement;
  }
}

// The parts inside each visible rectangle of the window (the drawable's
// clip list moved by the window bias), written into `buffer`.
template <typename Row>
void DrawVisibleInto(const GlContext *gc, const GlPixelSpanInfo *info,
                     const GlDrawableBuffer *buffer, Row row) {
  const GlDrawable *drawable = gc->drawablePrivate;
  if (!buffer || !buffer->base || !drawable || !drawable->clipRects) return;
  const int32_t dx = gc->constants.viewportXAdjust, dy = gc->constants.viewportYAdjust;
  for (int32_t i = 0; i < drawable->clipCount; i++) {
    const GlRect &r = drawable->clipRects[i];
    const GlRect window = {Moved(r.x0, dx), Moved(r.y0, dy), Moved(r.x1, dx), Moved(r.y1, dy)};
    GlFastDrawPart part;
    if (__glClipFastDraw(info, window, &part)) DrawPart(gc, info, buffer, part, row);
  }
}

// One row of 8-bit indexes, copied as they are in either direction.
inline void CopyIndexRow(uint8_t *dst, const uint8_t *src, int32_t, int32_t, int32_t columns,
                         int32_t dir) {
  if (dir > 0) {
    memcpy(dst, src, size_t(columns));
    return;
  }
  for (int32_t c = 0; c < columns; c++) *dst-- = *src++;
}

template <typename Row>
void DrawVisible(const GlContext *gc, const GlPixelSpanInfo *info, Row row) {
  DrawVisibleInto(gc, info, DrawnMemory(gc), row);
}

}  // namespace fast_draw
