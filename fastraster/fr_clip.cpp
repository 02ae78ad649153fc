// The clip-box and polygon-stipple spanlets: a mask in screen order (bit 31
// the chunk's leftmost column), mirrored for right-to-left chunks.
#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"
#include "fastraster/fr_tables.h"

namespace {

// The window column of the chunk's leftmost pixel, unbiased.
int32_t LeftColumn(const FrSpan *span) { return span->direction < 0 ? -span->x - 31 : span->x; }

uint32_t InWalkOrder(const FrSpan *span, uint32_t screen) {
  return span->direction < 0 ? __glFRMirrorMask(screen) : screen;
}

}  // namespace

void GLFASTCALL __glGenMask(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  const int32_t *box = gc->transform.clipBox;  // x0, y0, x1, y1 (exclusive)
  const int32_t y = span->y + gc->constants.viewportYAdjust;
  if (y < box[1] || y >= box[3]) return;
  const int32_t left = LeftColumn(span) + gc->constants.viewportXAdjust;
  const int32_t right = left + 31;
  if (right < box[0] || left >= box[2]) return;
  uint32_t clip = 0xFFFFFFFFu;
  if (box[0] > left) clip &= 0xFFFFFFFFu >> (box[0] - left);
  if (box[2] <= right) clip &= 0xFFFFFFFFu << (right - box[2] + 1);
  mask &= InWalkOrder(span, clip);
  if (mask) gc->procs.afterMask(mask, span);
}

void GLFASTCALL __glGenStipple(uint32_t mask, FrSpan *span) {
  if (!mask) return;
  GlContext *gc = span->gc;
  // Rows count from the window's bottom whichever way the drawable is stored.
  const int32_t row = gc->constants.yInverted ? gc->constants.height - span->y - 1 : span->y;
  const uint32_t word = gc->polygon.stipple[row & 31];
  const uint32_t turn = uint32_t(LeftColumn(span)) & 31;
  const uint32_t pattern = turn ? (word << turn) | (word >> (32 - turn)) : word;
  mask &= InWalkOrder(span, pattern);
  if (mask) gc->procs.afterStipple(mask, span);
}
