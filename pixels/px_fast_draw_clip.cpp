// The part of a fast draw inside one rectangle, in every drawing direction.
#include "pixels/px_fast_draw.h"

namespace {

// Steps [first, end) of one axis land inside [lo, hi); step k lands on
// start + k * dir. Sums in 64 bits: far positions cannot wrap.
bool ClipAxis(int64_t start, int32_t dir, int64_t count, int64_t lo, int64_t hi, int32_t *first,
              int32_t *steps) {
  int64_t a = dir > 0 ? lo - start : start - hi + 1;
  int64_t b = dir > 0 ? hi - start : start - lo + 1;
  if (a < 0) a = 0;
  if (b > count) b = count;
  if (a >= b) return false;
  *first = int32_t(a);
  *steps = int32_t(b - a);
  return true;
}

}  // namespace

bool __glClipFastDraw(const GlPixelSpanInfo *info, const GlRect &window, GlFastDrawPart *part) {
  const int32_t rowDir = info->zoomy > 0.0f ? 1 : -1;
  const int32_t colDir = info->endCol > info->startCol ? 1 : -1;
  // Unit zoom: one destination pixel per source pixel; the smaller count
  // keeps the source in bounds should the two ever differ.
  const int64_t span = int64_t(info->endCol) - info->startCol;
  int64_t columns = span < 0 ? -span : span;
  if (columns > info->width) columns = info->width;
  const int64_t rows = info->rows < info->height ? info->rows : info->height;
  if (!ClipAxis(info->startRow, rowDir, rows, window.y0, window.y1, &part->skipRows, &part->rows) ||
      !ClipAxis(info->startCol, colDir, columns, window.x0, window.x1, &part->skipColumns,
                &part->columns))
    return false;
  part->x = int32_t(info->startCol + int64_t(part->skipColumns) * colDir);
  part->y = int32_t(info->startRow + int64_t(part->skipRows) * rowDir);
  return true;
}
