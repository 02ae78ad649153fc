// glAddSwapHintRectWIN: a rectangle the next buffer swap must copy, kept by
// the window-system layer.
#include <stdint.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"

namespace {

int32_t Clamp(int64_t v, int32_t size) {
  if (v < 0) return 0;
  return v > size ? size : int32_t(v);
}

}  // namespace

void GLENTRY __glim_AddSwapHintRectWIN(GLint x, GLint y, GLsizei width, GLsizei height) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlDrawable *drawable = gc->drawablePrivate;
  // Only a swap copies anything.
  if (!gc->modes.doubleBufferMode || drawable == nullptr || !drawable->addSwapHintRect) return;
  // Rows stay as the caller counts them; the layer flips them if it must.
  const int32_t x0 = Clamp(x, drawable->width);
  const int32_t y0 = Clamp(y, drawable->height);
  const int32_t x1 = Clamp(int64_t(x) + width, drawable->width);
  const int32_t y1 = Clamp(int64_t(y) + height, drawable->height);
  // A rectangle left empty (or given a negative size) has nothing to copy.
  if (x1 <= x0 || y1 <= y0) return;
  drawable->addSwapHintRect(drawable, x0, y0, x1 - x0, y1 - y0);
}
