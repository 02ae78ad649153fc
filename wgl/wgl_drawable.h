// Drawables: the window-system layer's record of a window or bitmap that
// contexts render into (WglDrawablePrivate), and the core's view of it
// (GlDrawable) with its five buffer records.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "wgl/gl_imports.h"

struct GlContext;
struct GlDrawable;

// One of the drawable's five buffers, as a buffer kind fills it in.
typedef struct GlDrawableBuffer {
  // Filled in with the buffer kinds.
  uint32_t width, height;
} GlDrawableBuffer;

typedef struct GlDrawable {
  // Filled in with the drawables: the fields the core reads are the size,
  // the row order, the clip list, the lock procedures and the lock-site trace.
  int32_t width, height;
  uint8_t yInverted;
} GlDrawable;

// Locks the drawable a context is bound to, delivering pending window
// changes to the context, and records `line` and `file` in the lock-site
// trace. Nothing when the context is not bound.
void __glLockDrawable(GlContext *gc, int line, const char *file);
void __glUnlockDrawable(GlContext *gc);
#define __GL_LOCK_DRAWABLE(gc, file) __glLockDrawable((gc), __LINE__, (file))
#define __GL_UNLOCK_DRAWABLE(gc) __glUnlockDrawable(gc)

// The core's clip rectangle of the drawable: x0 = x, y0 = y, x1 = x + width,
// y1 = y + height, marked as set.
void __wglSetCoreClipRect(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height);
