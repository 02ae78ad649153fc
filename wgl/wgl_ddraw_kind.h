// What the DirectDraw buffer kinds share between their files: the bound on
// lock attempts, the primary kind's private record, the kinds' procedures
// that other DirectDraw files call, and holding the drawable's mutex.
#pragma once

#include <stddef.h>

#include "geometry/s_xform.h"
#include "wgl/wgl_ddraw.h"

// A lock that keeps failing is tried this many times, then given up: the
// buffer draws into the drawable's discard block, which nobody sees.
#define WGL_LOCK_RETRIES 64

// The primary kind's private record. The lock address comes first, where the
// colour and depth kinds keep their one word, so one unlock serves all three.
struct WglDDrawPrimaryPrivate {
  void *lockAddress;
  LPDIRECTDRAWCLIPPER clipper;
  // What of the window lay on the screen at the last lock, in window
  // coordinates: the memory swap writes nowhere else.
  RECT visible;
};
static_assert(offsetof(WglDDrawPrimaryPrivate, lockAddress) == 0,
              "the primary's lock address sits where the surface kinds keep theirs");

// Locks `rect` of the buffer's surface (null: all of it) into `desc`:
// lost surfaces are restored and tried again, busy ones tried again, any
// other failure is reported with `prefix` and tried again; after
// WGL_LOCK_RETRIES attempts the last code is given back.
HRESULT __wglDDrawLockSurface(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                              RECT *rect, DDSURFACEDESC *desc, const char *prefix);
// The lock of the colour and depth kinds: the whole surface, base and
// pitches from it, the address in the private word. False when the lock
// gave up (base stays 0).
bool __wglDDrawLockWhole(GlDrawableBuffer *buffer, GlDrawable *drawable);
// The unlock of all three kinds: ends the lock kept in the private word.
void __wglDDrawUnlock(GlDrawableBuffer *buffer, GlDrawable *drawable);
// The colour kind's fill; the primary's fill calls it on the screen.
void __wglDDrawFill(GlDrawableBuffer *buffer, GlDrawable *drawable, uint32_t value, int32_t x,
                    int32_t y, int32_t width, int32_t height);

// The kinds' update procedures, by which a buffer's kind is known.
uint32_t __wglDDrawUpdate(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                          int32_t height, GlDrawable *drawable, uint32_t bufferBit);
uint32_t __wglDDrawDepthUpdate(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                               int32_t height, GlDrawable *drawable, uint32_t bufferBit);
uint32_t __wglDDrawPrimaryUpdate(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                                 int32_t height, GlDrawable *drawable, uint32_t bufferBit);

// The free of the colour and depth kinds: the surface (unlocked first) and
// the private word.
void __wglDDrawFree(GlDrawableBuffer *buffer, GlDrawable *drawable);
// Releases the buffer's surface (ending its lock first); false, reported
// with `prefix`, when the surface stays.
bool __wglDDrawReleaseSurface(GlDrawableBuffer *buffer, GlDrawable *drawable, const char *prefix);
// Creates a surface from `desc` into the buffer's handle; 0 and the code
// when it cannot.
uint32_t __wglDDrawCreateSurface(GlDrawableBuffer *buffer, DDSURFACEDESC *desc, HRESULT *error);

// What the colour and depth kinds set alike: an empty buffer of `depth`
// with the shared unlock and free, `own` and `fallback` as its initialisers,
// and the private word. The caller sets update, lock and fill.
void __wglDDrawInitSurfaceKind(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable,
                               uint32_t depth, WglSurfaceInitProc own,
                               WglBufferInitProc fallback);
// The update the colour and depth kinds share once `desc` has its flags,
// caps and z depth: the old surface goes, a new one of surfaceWidth x height
// (0 becomes 1) is made, or the buffer falls back to memory at width x
// height (reported with `message`). The stored size follows.
uint32_t __wglDDrawMakeSurface(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                               int32_t height, GlDrawable *drawable, uint32_t bufferBit,
                               DDSURFACEDESC *desc, int32_t surfaceWidth, const char *message);
// A colour or depth fill blit of the rectangle on the buffer's surface.
HRESULT __wglDDrawFillBlt(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                          int32_t height, uint32_t value, bool depth);

// After a surface could not be created: the buffer becomes the memory kind
// at the same depth and is updated with the same arguments. Gives
// kFallbackResult, or 0 when that fails too (reported with `message` and
// `error`).
constexpr uint32_t kFallbackResult = 16;
uint32_t __wglDDrawFallBack(GlDrawableBuffer *buffer, int32_t x, int32_t y, int32_t width,
                            int32_t height, GlDrawable *drawable, uint32_t bufferBit,
                            HRESULT error, const char *message);
// The swap in force follows the back buffer: the blit while it is a
// surface, the memory swap while it fell back to memory.
void __wglDDrawSelectSwap(WglDrawablePrivate *drawable);
// Whether the buffer is served by a DirectDraw surface now (a buffer that
// fell back to memory is not).
bool __wglDDrawHasSurface(const GlDrawableBuffer *buffer);
bool __wglDDrawIsPrimary(const GlDrawableBuffer *buffer);
// The buffer's bit (1 front, 4 back, 16 accumulation, 32 depth, 64 stencil).
uint32_t __wglDDrawBufferBit(const GlDrawableBuffer *buffer, const WglDrawablePrivate *drawable);
// Where a surface goes: video memory when the device puts the buffer's bit
// there, else system memory.
DWORD __wglDDrawMemoryCaps(uint32_t bufferBit);
// A front buffer whose primary surface another drawable re-created takes
// the new one; taking a primary surface reads the screen's size anew.
void __wglDDrawFollowPrimary(GlDrawableBuffer *buffer);
void __wglDDrawTakePrimary(GlDrawableBuffer *buffer, LPDIRECTDRAWSURFACE surface);

// A private block from the drawable's allocators (none when they are
// missing or fail), and its release.
void *__wglDDrawAllocPrivate(WglDrawablePrivate *drawable, size_t size);
void __wglDDrawFreePrivate(GlDrawableBuffer *buffer, GlDrawable *drawable);
