// Drawables: the window-system layer's record of a window or bitmap that
// contexts render into (WglDrawablePrivate), which embeds the core's view of
// it (core/drawable.h), and the drawable's lock.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/drawable.h"
#include "platform/gdi.h"
#include "platform/kernel.h"

struct GlContext;

// The drawable's re-entrant lock.
typedef struct WglDrawableMutex {
  CRITICAL_SECTION section;
  uint32_t created;  // 1 from creation on; nothing reads it
  int32_t depth;     // nesting of the owner
  DWORD owner;       // thread id, 0 when free
} WglDrawableMutex;

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
  // A window whose size could not be read at the last update: the next
  // drawing lock reads it again.
  uint8_t sizeUnread;
} WglDrawablePrivate;

// A new drawable mutex, or null when its record cannot be allocated; and its
// release.
WglDrawableMutex *__wglCreateDrawableMutex(void);
void __wglDestroyDrawableMutex(WglDrawableMutex *mutex);
// The layer's own taking and leaving of a drawable mutex (no notifications).
void __wglLockDrawableMutex(WglDrawableMutex *mutex);
void __wglUnlockDrawableMutex(WglDrawableMutex *mutex);

// The drawable's lock and unlock procedures. The lock enters the mutex, then
// delivers what the window-system record of gc has pending: a size change
// (notifyChangeBufferSize with the drawable's origin and size), then a
// destroyed window (notifyDestroyBuffers).
void __wglGLLockDrawableMutex(GlDrawable *drawable, GlContext *gc);
void __wglGLUnlockDrawableMutex(GlDrawable *drawable);
