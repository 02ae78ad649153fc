// The colour clear both colour-buffer kinds run under their own names.
#pragma once

#include <stdint.h>

struct GlColorBuffer;
struct GlColor;

// Locks the drawable (tracing `line` and `file`), the buffer's drawable buffer and the
// device; clears the front buffer's visible rectangles cut to the clip box,
// or any other buffer's clip box: through the back end's colour clear when
// `backEndClear` (it packs an RGB colour), else directly; unlocks in the
// reverse order. Nothing while the buffer is unbound.
void __glClearColorBufferLocked(GlColorBuffer *cfb, bool backEndClear, int line,
                                const char *file);

// Stores `color` (an index in its first float) at every pixel of [x0, x1) x
// [y0, y1) through the buffer's fragment store: dithering, ownership and the
// write masks apply as for drawing, blending and the logic op do not.
void __glClearRectThroughStore(GlColorBuffer *cfb, const GlColor &color, int32_t x0, int32_t y0,
                               int32_t x1, int32_t y1);
