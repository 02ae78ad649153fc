// Keeping a drawable in step with its window: size and buffers, swap hints,
// the clip list, the palette.
#pragma once

#include "wgl/wgl_drawable.h"

// Origin, screen rectangle and size from the window. A memory bitmap's
// drawable takes the size of the bitmap selected in its DC (origin 0, 0).
void __wglUpdateDrawableSize(WglDrawablePrivate *drawable);
// Brings the size up to date and, when it changed or is 0 x 0, the buffers.
bool __wglUpdateDrawableBuffers(WglDrawablePrivate *drawable);
// Updates each present buffer under the drawable's mutex; false at the first
// failure. changedBuffers gets the bits of the buffers that changed.
bool __wglUpdateBuffers(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                        int32_t height);
// Frees each buffer that has a free procedure, front to stencil.
void __wglFreeBuffers(WglDrawablePrivate *drawable);
void __wglUpdateDrawablePalette(WglDrawablePrivate *drawable);
// Appends a rectangle in GL coordinates (origin at the lower left) to the
// swap hints, under the global lock; when the list cannot grow, nothing
// changes.
void __wglAddSwapHintRect(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height);
// The hints' count and bounding rectangle, and emptying the list.
uint32_t __wglSwapHintCount(const WglDrawablePrivate *drawable);
void __wglClearSwapHints(WglDrawablePrivate *drawable);
// Rebuilds the clip list from a region in screen coordinates (none: the core
// clip rectangle), each rectangle clamped to the core clip rectangle.
void __wglUpdateOwnershipRegion(WglDrawablePrivate *drawable, const RGNDATA *region);
