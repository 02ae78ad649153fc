// Drawable records: creation with the device's buffer set, reference
// counting, the drawable list (headed by the sentinel wglPrivListEnd) and
// finding a window's or a memory DC's record.
#pragma once

#include "wgl/wgl_drawable.h"

extern WglDrawablePrivate wglPrivListEnd;

// A new record for the window (or, without one, the memory DC), listed, with
// one reference; none (nothing listed, nothing left allocated) when any
// allocation fails.
WglDrawablePrivate *__wglCreateDrawablePrivate(HDC hdc, HWND hwnd, const GlModes *modes);
// Drops a reference; at 0 unlists and frees the record and its buffers and
// gives true. The caller then destroys the mutex.
bool __wglDestroyDrawablePrivate(WglDrawablePrivate *drawable);
// A record with a window matches by window, one without by DC; hdc (HDC)-1
// matches by window only.
WglDrawablePrivate *__wglFindDrawablePrivate(HDC hdc, HWND hwnd);
// Drops one reference under the record's mutex; the last one frees the
// record and then its mutex. The caller holds the global lock.
void __wglReleaseDrawable(WglDrawablePrivate *drawable);
// Finds the record or creates it.
WglDrawablePrivate *__wglGetDrawablePrivate(HDC hdc, HWND hwnd, const GlModes *modes);
// Frees every record (process detach).
void __wglFreeDrawableList(void);
#define WGL_FIND_BY_WINDOW ((HDC)(intptr_t)-1)
