// The core's view of a drawable: the record a window or bitmap's buffers
// are reached through (GlDrawable) with its five buffer records. The
// window-system layer embeds it in its own record and fills it in; the
// rasterizer writes through it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/imports.h"

struct GlContext;
struct GlDrawable;
struct GlDrawableBuffer;
struct WglDrawableMutex;
struct WglDrawablePrivate;

// A buffer kind's initialiser (the window-system layer's buffer kinds): clears the record's size, base and handle,
// sets the depth, the element size and the kind's procedures. The
// DirectDraw kinds also take the kind they fall back to when a surface
// cannot be had (the memory kind).
typedef void (*WglBufferInitProc)(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                                  uint32_t depth);
typedef void (*WglSurfaceInitProc)(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                                   uint32_t depth, WglBufferInitProc fallback);

// One of the drawable's five buffers, as a buffer kind fills it in. Pixel
// (x, y) of the window lies at base + ((y - y bias) * pitch + x - x bias) *
// elementSize; 3-byte rows are pitchBytes apart (rounded up to 4 bytes).
typedef struct GlDrawableBuffer {
  uint32_t width, height;
  uint32_t depth;  // bits per pixel
  // The pixel at the window's origin; valid while locked (memory kinds:
  // always).
  uint8_t *base;
  uint32_t size;  // bytes (memory kind)
  uint32_t elementSize;  // bytes per pixel; the accumulation buffer's are 8
  uint32_t elementSizeLog2;
  int32_t pitch;       // pixels
  int32_t pitchBytes;  // read by generated set-up code at run time
  void *handle;        // the kind's allocation, surface or state record
  // The kind's procedures (any may be none): update gives 0 on failure, 16
  // when the buffer did not change, anything else when it did.
  uint32_t (*update)(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                     int32_t height, GlDrawable *drawable, uint32_t bufferBit);
  // Begin and end direct access to the pixels.
  void (*lock)(GlDrawableBuffer *buffer, GlDrawable *drawable);
  void (*unlock)(GlDrawableBuffer *buffer, GlDrawable *drawable);
  void (*fill)(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t value, int32_t x,
               int32_t y, int32_t width, int32_t height);
  void (*free)(GlDrawableBuffer *buffer, GlDrawable *drawable);
  void *kindPrivate;
  // Owned by the core: the depth buffer hangs its per-drawable record here,
  // and freePrivate gives it back when the drawable goes.
  void *corePrivate;
  void (*freePrivate)(GlDrawableBuffer *buffer, GlDrawable *drawable);
  // DirectDraw kinds only: their own initialiser, and the one they fall back
  // to when no surface can be created.
  WglSurfaceInitProc ownInit;
  WglBufferInitProc fallbackInit;
} GlDrawableBuffer;

// A rectangle of the drawable, x1 and y1 exclusive.
typedef struct GlRect {
  int32_t x0, y0, x1, y1;
} GlRect;

#define GL_LOCK_TRACE_DEPTH 10

typedef struct GlDrawable {
  GlModes *modes;  // the drawable's own copy
  // Size and screen origin as of the last buffer update.
  int32_t width, height;
  int32_t x, y;
  uint8_t yInverted;        // rows run from the top of the window down
  uint32_t changedBuffers;  // buffer bits changed by the last update
  GlDrawableBuffer front, back, accum, depth, stencil;
  // Visible parts of the window, in drawable coordinates.
  int32_t clipCount;
  GlRect *clipRects;
  WglDrawableMutex *mutex;
  // Who holds the lock: each holder writes its source line and file at
  // index lockDepth after taking it (the core's holders also move the index).
  int32_t lockDepth;
  int32_t lockLines[GL_LOCK_TRACE_DEPTH];
  const char *lockFiles[GL_LOCK_TRACE_DEPTH];
  // The layer's allocators (the depth buffer's per-drawable record comes
  // from these); any may be none until the layer fills them.
  void *(*malloc)(size_t size);
  void *(*calloc)(size_t count, size_t size);
  void *(*realloc)(void *block, size_t size);
  void (*free)(void *block);
  // Records a rectangle (window coordinates, rows as the caller gives them)
  // that the next swap must copy.
  void (*addSwapHintRect)(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height);
  void (*setCoreClipRect)(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height);
  void (*updateClipList)(GlDrawable *drawable);
  // Takes the lock and delivers the window changes pending for the context.
  void (*lock)(GlDrawable *drawable, GlContext *gc);
  void (*unlock)(GlDrawable *drawable);
  // The rectangle the core draws into, set through setCoreClipRect. The
  // flag stays set until a clip-list update has used the rectangle.
  GlRect coreClipRect;
  uint8_t coreClipRectValid;
  // The window-system record this view is embedded in.
  WglDrawablePrivate *wglPrivate;
  // Set by the core when it keeps data with the drawable; called when the
  // drawable is freed. The word after it is the core's.
  void (*freePrivate)(GlDrawable *drawable);
  void *corePrivate;
} GlDrawable;

// Defined by the window-system layer.
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
