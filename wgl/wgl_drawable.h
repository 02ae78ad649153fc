// Drawables: the window-system layer's record of a window or bitmap that
// contexts render into (WglDrawablePrivate), and the core's view of it
// (GlDrawable) with its five buffer records.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "platform/gdi.h"
#include "platform/kernel.h"
#include "wgl/gl_imports.h"

struct GlContext;
struct GlDrawable;
struct GlDrawableBuffer;
struct WglDrawablePrivate;

// A buffer kind's initialiser: clears the record's size, base and handle,
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

// The drawable's re-entrant lock.
typedef struct WglDrawableMutex {
  CRITICAL_SECTION section;
  uint32_t created;  // 1 from creation on; nothing reads it
  int32_t depth;     // nesting of the owner
  DWORD owner;       // thread id, 0 when free
} WglDrawableMutex;

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

// Swap procedures: true when the window shows the back buffer.
typedef BOOL (*WglSwapProc)(WglDrawablePrivate *drawable);

// The window-system layer's record of a window or memory bitmap, shared by
// every context bound to it. The core clip rectangle lives in the embedded
// GlDrawable, where the core sets it.
typedef struct WglDrawablePrivate {
  WglDrawablePrivate *prev;
  WglDrawablePrivate *next;
  HDC hdc;
  HWND hwnd;  // none for a memory DC, and after the window was destroyed
  int32_t x, y;  // the client area's screen position
  RECT rect;     // the client area on the screen
  int32_t width, height;
  int32_t pixelFormat;  // set once; 0 until then
  // The format as it was described when it was set (main plane): a display
  // change may renumber the list, but the drawable keeps this format.
  uint8_t pixelFormatDescriptor[40];
  // Rectangles the next swap must copy (window coordinates, rows from the
  // top), with room for swapHintCapacity of them.
  RGNDATA *swapHints;
  uint32_t swapHintCapacity;
  void (*freeBuffers)(WglDrawablePrivate *drawable);
  void (*updateDrawablePalette)(WglDrawablePrivate *drawable);
  WglSwapProc swapBuffers;     // in force
  WglSwapProc setSwapBuffers;  // the buffer set's own
  WglSwapProc memSwapBuffers;  // while a DirectDraw buffer fell back to memory
  GlDrawable drawable;
  int32_t refcount;  // the window's own reference plus one per bind
  // Where a buffer whose lock failed draws meanwhile (wgl/wgl_discard.h).
  uint8_t *discard;
  size_t discardBytes;
  // A memory DC's drawable: the bitmap selected in the DC when the size was
  // last read, and the one the buffers were last made for.
  HGDIOBJ bitmap;
  HGDIOBJ bitmapTaken;
} WglDrawablePrivate;

// Locks the drawable a context is bound to, delivering pending window
// changes to the context, and records `line` and `file` in the lock-site
// trace. Nothing when the context is not bound.
void __glLockDrawable(GlContext *gc, int line, const char *file);
void __glUnlockDrawable(GlContext *gc);
#define __GL_LOCK_DRAWABLE(gc, file) __glLockDrawable((gc), __LINE__, (file))
#define __GL_UNLOCK_DRAWABLE(gc) __glUnlockDrawable(gc)

// A new drawable mutex, or null when its record cannot be allocated; and its
// release.
WglDrawableMutex *__wglCreateDrawableMutex(void);
void __wglDestroyDrawableMutex(WglDrawableMutex *mutex);
// The layer's own taking and leaving of a drawable mutex (no notifications).
void __wglLockDrawableMutex(WglDrawableMutex *mutex);
void __wglUnlockDrawableMutex(WglDrawableMutex *mutex);

// Where the layer holds a drawable's mutex: the holder writes its line and
// file at the trace index after taking it and clears both before leaving.
#define WGL_LOCK_SITE(gldrawable, file)                                    \
  do {                                                                   \
    int32_t site_ = (gldrawable)->lockDepth;                             \
    if (site_ >= 0 && site_ < GL_LOCK_TRACE_DEPTH) {                     \
      (gldrawable)->lockLines[site_] = __LINE__;                         \
      (gldrawable)->lockFiles[site_] = (file);                           \
    }                                                                    \
  } while (0)
#define WGL_CLEAR_LOCK_SITE(gldrawable)                                    \
  do {                                                                   \
    int32_t site_ = (gldrawable)->lockDepth;                             \
    if (site_ >= 0 && site_ < GL_LOCK_TRACE_DEPTH) {                     \
      (gldrawable)->lockLines[site_] = 0;                                \
      (gldrawable)->lockFiles[site_] = nullptr;                          \
    }                                                                    \
  } while (0)
// The drawable's lock and unlock procedures. The lock enters the mutex, then
// delivers what the window-system record of gc has pending: a size change
// (notifyChangeBufferSize with the drawable's origin and size), then a
// destroyed window (notifyDestroyBuffers).
void __wglGLLockDrawableMutex(GlDrawable *drawable, GlContext *gc);
void __wglGLUnlockDrawableMutex(GlDrawable *drawable);

// The core's clip rectangle of the drawable: x0 = x, y0 = y, x1 = x + width,
// y1 = y + height, marked as set.
void __wglSetCoreClipRect(GlDrawable *drawable, int32_t x, int32_t y, int32_t width,
                          int32_t height);
